// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

// The program's command line, read before the window system is touched, so
// that --help and --version answer without a display. Qt's own options for
// the window system (-platform, -style, -display, ...) are let through for
// QApplication to take; anything else is refused.
struct ProgramArguments {
    enum class Action { Run, ShowHelp, ShowVersion, Refuse };
    Action action = Action::Run;
    std::string error;   // why a refused command line is refused
};

ProgramArguments readProgramArguments(int argc, const char* const argv[]);

// Prints what a command line that does not start the program asks for:
// help or version on stdout, a refusal with the usage on stderr. Returns the
// exit status: 0, or 2 for a refusal.
int answerProgramArguments(const ProgramArguments& arguments);
