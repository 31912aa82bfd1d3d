// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>

// The program's command line, read before the window system is touched, so
// that --help, --version, --journal and --team-setup answer without a display. Qt's own options for
// the window system (-platform, -style, -display, ...) are let through for
// QApplication to take; anything else is refused.
struct ProgramArguments {
    enum class Action { Run, ShowHelp, ShowVersion, ExportJournal, SetUpTeam, Refuse };
    Action action = Action::Run;
    std::string error;   // why a refused command line is refused

    // --journal: which entries, and as CSV or text.
    struct JournalOptions {
        std::optional<std::string> site;
        std::optional<std::string> operatorName;
        std::optional<std::string> since;   // YYYY-MM-DD, local, inclusive
        std::optional<std::string> until;
        bool csv = false;
        bool local = false;   // this computer's journal, not the team's
    };
    JournalOptions journal{};
    // --team-setup: the team database's URI.
    std::optional<std::string> teamUri{};
};

ProgramArguments readProgramArguments(int argc, const char* const argv[]);

// Prints what a command line that does not start the program asks for:
// help or version on stdout, a refusal with the usage on stderr. Returns the
// exit status: 0, or 2 for a refusal.
int answerProgramArguments(const ProgramArguments& arguments);
