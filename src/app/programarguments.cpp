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
    "  --journal      Prints the journal, oldest entry first, and exits:\n"
    "                 TIME OPERATOR@HOST SITE > LINE SENT, or SITE * EVENT.\n"
    "                 In a team, the team's journal: OPERATOR@HOST (ROLE), the\n"
    "                 server's role, or (not shipped) for this computer's entries\n"
    "                 not on the server yet; exit status 3 when the server cannot\n"
    "                 be reached, with this computer's journal printed instead.\n"
    "    --site NAME        only the entries made at the site (\"-\": none)\n"
    "    --operator NAME    only the entries of that login name\n"
    "    --since YYYY-MM-DD from that local date on\n"
    "    --until YYYY-MM-DD up to and including that local date\n"
    "    --csv              as CSV: time,operator,host,site,kind,text\n"
    "                       (in a team: ...,text,role,shipped)\n"
    "    --local            this computer's journal, not the team's\n"
    "  --team-setup URI  Makes the tables of the team database, or brings them\n"
    "                 up to date, and exits; URI as postgresql://OWNER@HOST/DATABASE,\n"
    "                 the password in ~/.pgpass.\n"
    "\n"
    "Qt's options for the window system are passed on, for example\n"
    "-platform NAME, -display DISPLAY, -style NAME and -reverse.\n";

// Qt's own options: those of QGuiApplication and QApplication, with one or
// two leading dashes. The ones taking a value take the next argument, or the
// text after "=".
const char* const kQtOptionsWithValue[] = {
    "platform",        "platformpluginpath", "platformtheme", "plugin",
    "qwindowgeometry", "qwindowicon",        "qwindowtitle",  "session",
    "display",         "geometry",           "style",         "stylesheet"};
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

ProgramArguments refused(const std::string& error)
{
    return {ProgramArguments::Action::Refuse, error, {}};
}

// A day of the calendar written YYYY-MM-DD.
bool isDate(const std::string& text)
{
    if (text.size() != 10 || text[4] != '-' || text[7] != '-')
        return false;
    for (std::size_t i : {0, 1, 2, 3, 5, 6, 8, 9}) {
        if (text[i] < '0' || text[i] > '9')
            return false;
    }
    const int year = std::stoi(text.substr(0, 4));
    const int month = std::stoi(text.substr(5, 2));
    const int day = std::stoi(text.substr(8, 2));
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    const int days[] = {31, leap ? 29 : 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month >= 1 && month <= 12 && day >= 1 && day <= days[month - 1];
}

// The options with a value: where the value goes.
std::optional<std::string>* valueOption(ProgramArguments& result, const std::string& name)
{
    ProgramArguments::JournalOptions& j = result.journal;
    if (name == "team-setup")
        return &result.teamUri;
    if (name == "site")
        return &j.site;
    if (name == "operator")
        return &j.operatorName;
    if (name == "since")
        return &j.since;
    if (name == "until")
        return &j.until;
    return nullptr;
}

// The options without a value: what each sets.
bool* journalFlag(ProgramArguments& result, const std::string& arg, bool* journalAsked)
{
    if (arg == "--journal")
        return journalAsked;
    if (arg == "--csv")
        return &result.journal.csv;
    if (arg == "--local")
        return &result.journal.local;
    return nullptr;
}

// Why the journal's options cannot stand; empty when they can.
std::string journalProblem(const ProgramArguments& result, bool journalAsked)
{
    const ProgramArguments::JournalOptions& j = result.journal;
    const bool narrowed = j.site || j.operatorName || j.since || j.until || j.csv || j.local;
    if (narrowed && !journalAsked)
        return "--site, --operator, --since, --until, --csv and --local go with --journal.";
    for (const auto* date : {&j.since, &j.until}) {
        if (*date && !isDate(**date))
            return "'" + **date + "' is not a date as YYYY-MM-DD.";
    }
    return {};
}

}   // namespace

ProgramArguments readProgramArguments(int argc, const char* const argv[])
{
    ProgramArguments result;
    bool journalAsked = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "-h" || arg == "--help")
            return {ProgramArguments::Action::ShowHelp, {}, {}};
        if (arg == "-v" || arg == "--version") {
            result.action = ProgramArguments::Action::ShowVersion;
            continue;
        }
        if (bool* flag = journalFlag(result, arg, &journalAsked)) {
            *flag = true;
            continue;
        }
        if (arg.size() < 2 || arg[0] != '-')
            return refused("unexpected argument " + arg);
        const std::string option = arg.substr(arg[1] == '-' ? 2 : 1);
        const std::size_t equals = option.find('=');
        const std::string name = option.substr(0, equals);
        if (std::optional<std::string>* value = arg[1] == '-' ? valueOption(result, name) : nullptr) {
            if (equals == std::string::npos && i + 1 == argc)
                return refused("Missing value after '" + arg + "'.");
            *value = equals == std::string::npos ? std::string(argv[++i]) : option.substr(equals + 1);
            continue;
        }
        if (isOneOf(name, kQtFlags) && equals == std::string::npos)
            continue;
        if (!isOneOf(name, kQtOptionsWithValue))
            return refused("Unknown option '" + arg + "'.");
        if (equals == std::string::npos && ++i == argc)
            return refused("Missing value after '" + arg + "'.");
    }
    const std::string problem = journalProblem(result, journalAsked);
    if (!problem.empty())
        return refused(problem);
    if (journalAsked && result.teamUri)
        return refused("--journal and --team-setup go one at a time.");
    if (result.action == ProgramArguments::Action::Run) {
        if (journalAsked)
            result.action = ProgramArguments::Action::ExportJournal;
        else if (result.teamUri)
            result.action = ProgramArguments::Action::SetUpTeam;
    }
    return result;
}

int answerProgramArguments(const ProgramArguments& arguments)
{
    switch (arguments.action) {
    case ProgramArguments::Action::ShowHelp: std::fputs(kUsage, stdout); return 0;
    case ProgramArguments::Action::ShowVersion: std::printf("velno %s\n", VELNO_VERSION); return 0;
    case ProgramArguments::Action::Refuse:
        std::fprintf(stderr, "velno: %s\n%s", arguments.error.c_str(), kUsage);
        return kUsageError;
    case ProgramArguments::Action::Run:
    case ProgramArguments::Action::ExportJournal:
    case ProgramArguments::Action::SetUpTeam: break;
    }
    return 0;
}
