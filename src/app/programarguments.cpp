// SPDX-License-Identifier: GPL-3.0-or-later
#include "programarguments.h"

#include <cstdio>
#include <cstring>

namespace {

constexpr int kUsageError = 2;

const char* const kUsage =
    "Usage: velno [options]\n"
    "Manages a door-entry and access-control panel over a 1200 bit/s serial line.\n"
    "\n"
    "Options:\n"
    "  -h, --help     Displays help on commandline options.\n"
    "  -v, --version  Displays version information.\n"
    "\n"
    "Qt's options for the window system are passed on, for example\n"
    "-platform NAME, -display DISPLAY, -style NAME and -reverse.\n";

// Qt's own options: those of QGuiApplication and QApplication, with one or
// two leading dashes. The ones taking a value take the next argument, or the
// text after "=".
const char* const kQtOptionsWithValue[] = {
    "platform", "platformpluginpath", "platformtheme", "plugin", "qwindowgeometry",
    "qwindowicon", "qwindowtitle", "session", "display", "geometry", "style", "stylesheet"};
const char* const kQtFlags[] = {"reverse", "widgetcount"};

template <std::size_t N>
bool isOneOf(const std::string& name, const char* const (&names)[N])
{
    for (const char* candidate : names) {
        if (name == candidate)
            return true;
    }
    return false;
}

ProgramArguments refused(const std::string& error) { return {ProgramArguments::Action::Refuse, error}; }

} // namespace

ProgramArguments readProgramArguments(int argc, const char* const argv[])
{
    ProgramArguments result;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "-h" || arg == "--help")
            return {ProgramArguments::Action::ShowHelp, {}};
        if (arg == "-v" || arg == "--version") {
            result.action = ProgramArguments::Action::ShowVersion;
            continue;
        }
        if (arg.size() < 2 || arg[0] != '-')
            return refused("unexpected argument " + arg);
        const std::string option = arg.substr(arg[1] == '-' ? 2 : 1);
        const std::size_t equals = option.find('=');
        const std::string name = option.substr(0, equals);
        if (isOneOf(name, kQtFlags) && equals == std::string::npos)
            continue;
        if (!isOneOf(name, kQtOptionsWithValue))
            return refused("Unknown option '" + arg + "'.");
        if (equals == std::string::npos && ++i == argc)
            return refused("Missing value after '" + arg + "'.");
    }
    return result;
}

int answerProgramArguments(const ProgramArguments& arguments)
{
    switch (arguments.action) {
    case ProgramArguments::Action::ShowHelp:
        std::fputs(kUsage, stdout);
        return 0;
    case ProgramArguments::Action::ShowVersion:
        std::printf("velno %s\n", VELNO_VERSION);
        return 0;
    case ProgramArguments::Action::Refuse:
        std::fprintf(stderr, "velno: %s\n%s", arguments.error.c_str(), kUsage);
        return kUsageError;
    case ProgramArguments::Action::Run:
        break;
    }
    return 0;
}
