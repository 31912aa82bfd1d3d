// SPDX-License-Identifier: GPL-3.0-or-later
// velno-panel-sim: a door-entry panel on a pseudo-terminal or serial line,
// for trying the velno program without the hardware.

#include "parameterrules.h"
#include "signalwatcher.h"
#include "simulator.h"
#include "statefile.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>

#include <algorithm>
#include <cstdio>
#include <optional>

#ifndef VELNO_PANEL_SIM_VERSION
#define VELNO_PANEL_SIM_VERSION "0.0"
#endif

namespace {

constexpr int kUsageError = 2;

// The words of --dial-result, in the order the help lists them.
const QList<QPair<QString, DialResult>> kDialResults = {
    {QStringLiteral("connect"), DialResult::Connect},
    {QStringLiteral("busy"), DialResult::Busy},
    {QStringLiteral("no-dialtone"), DialResult::NoDialtone},
    {QStringLiteral("no-carrier"), DialResult::NoCarrier},
};

void complain(const QString& message)
{
    std::fprintf(stderr, "velno-panel-sim: %s\n", qPrintable(message));
}

// A command line that cannot be followed: the reason, then the usage.
int refuse(const QCommandLineParser& parser, const QString& message)
{
    complain(message);
    std::fputs(qPrintable(parser.helpText()), stderr);
    return kUsageError;
}

void addOptions(QCommandLineParser& parser)
{
    parser.setApplicationDescription(
        QStringLiteral("Simulates a door-entry panel on a 1200 bit/s line. Prints the line's path, "
                       "then serves it until SIGINT or SIGTERM."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOptions({
        {QStringLiteral("device"), QStringLiteral("Use serial device <path> instead of a pseudo-terminal."),
         QStringLiteral("path")},
        {QStringLiteral("master-code"),
         QStringLiteral(
             "Master code, 1 to 6 digits (default 1234); when given, it overrides the state file."),
         QStringLiteral("code"), QStringLiteral("1234")},
        {QStringLiteral("modem"), QStringLiteral("Put a Hayes-style modem in front of the panel.")},
        {QStringLiteral("connect-delay"),
         QStringLiteral("With --modem: a dial takes <seconds>, 0 to 255, decimals allowed (default 3)."),
         QStringLiteral("seconds"), QStringLiteral("3")},
        {QStringLiteral("dial-result"),
         QStringLiteral("With --modem: every dial ends in <result>: connect (default), busy, "
                        "no-dialtone (at once) or no-carrier."),
         QStringLiteral("result"), QStringLiteral("connect")},
        {QStringLiteral("state"), QStringLiteral("Load the panel from <file> and save changes back to it."),
         QStringLiteral("file")},
        {QStringLiteral("no-save"), QStringLiteral("With --state: load only, never write the file.")},
        {QStringLiteral("rate-limit"),
         QStringLiteral("Send at most 120 bytes a second, as a 1200 bit/s line.")},
        {QStringLiteral("verbose"), QStringLiteral("Log the line traffic on stderr.")},
    });
}

// The panel to start with, or nothing after telling why not.
std::optional<PanelState> initialState(const QCommandLineParser& parser)
{
    PanelState state;
    const QString path = parser.value(QStringLiteral("state"));
    if (!path.isEmpty() && QFileInfo::exists(path)) {
        QString error;
        const std::optional<PanelState> loaded = StateFile::load(path, &error);
        if (!loaded) {
            complain(QStringLiteral("bad state file %1").arg(error));
            return std::nullopt;
        }
        state = *loaded;
    } else if (!path.isEmpty()) {
        complain(QStringLiteral("%1 does not exist yet; starting with an empty panel").arg(path));
    }
    const QString code = parser.value(QStringLiteral("master-code"));
    if (!ParameterRules::isValidMasterCode(code)) {
        complain(QStringLiteral("the master code must be 1 to 6 digits"));
        return std::nullopt;
    }
    if (parser.isSet(QStringLiteral("master-code")) || path.isEmpty() || !QFileInfo::exists(path))
        state.setMasterCode(code);
    return state;
}

// The time a dial takes, or nothing after telling why not.
std::optional<int> connectDelayMs(const QCommandLineParser& parser)
{
    bool ok = false;
    const double seconds = parser.value(QStringLiteral("connect-delay")).toDouble(&ok);
    if (!ok || !(seconds >= 0 && seconds * 1000 <= DialSettings::kMaxDelayMs)) {
        complain(QStringLiteral("the connect delay must be 0 to %1 seconds")
                     .arg(DialSettings::kMaxDelayMs / 1000));
        return std::nullopt;
    }
    return qRound(seconds * 1000);
}

// How every dial ends, or nothing after telling why not.
std::optional<DialResult> dialResult(const QCommandLineParser& parser)
{
    const QString word = parser.value(QStringLiteral("dial-result"));
    const auto found = std::find_if(kDialResults.cbegin(), kDialResults.cend(),
                                    [&word](const auto& known) { return known.first == word; });
    if (found == kDialResults.cend()) {
        complain(QStringLiteral("the dial result must be connect, busy, no-dialtone or no-carrier"));
        return std::nullopt;
    }
    return found->second;
}

std::optional<DialSettings> dialSettings(const QCommandLineParser& parser)
{
    const std::optional<int> delayMs = connectDelayMs(parser);
    const std::optional<DialResult> result = delayMs ? dialResult(parser) : std::nullopt;
    if (!result)
        return std::nullopt;
    DialSettings dial;
    dial.delayMs = *delayMs;
    dial.result = *result;
    return dial;
}

SimulatorOptions simulatorOptions(const QCommandLineParser& parser, const DialSettings& dial)
{
    SimulatorOptions options;
    options.devicePath = parser.value(QStringLiteral("device"));
    options.statePath = parser.value(QStringLiteral("state"));
    options.saveState = !parser.isSet(QStringLiteral("no-save"));
    options.modem = parser.isSet(QStringLiteral("modem"));
    options.dial = dial;
    options.rateLimit = parser.isSet(QStringLiteral("rate-limit"));
    options.verbose = parser.isSet(QStringLiteral("verbose"));
    return options;
}

}   // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("velno-panel-sim"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VELNO_PANEL_SIM_VERSION));

    QCommandLineParser parser;
    addOptions(parser);
    if (!parser.parse(QCoreApplication::arguments()))
        return refuse(parser, parser.errorText());
    if (parser.isSet(QStringLiteral("help")))
        parser.showHelp(0);
    if (parser.isSet(QStringLiteral("version")))
        parser.showVersion();
    if (!parser.positionalArguments().isEmpty())
        return refuse(parser,
                      QStringLiteral("unexpected argument %1").arg(parser.positionalArguments().first()));

    const std::optional<DialSettings> dial = dialSettings(parser);
    if (!dial)
        return kUsageError;
    const std::optional<PanelState> state = initialState(parser);
    if (!state)
        return kUsageError;

    SignalWatcher signalWatcher;
    Simulator simulator(simulatorOptions(parser, *dial), *state);
    QObject::connect(&signalWatcher, &SignalWatcher::stopRequested, &app, &QCoreApplication::quit);
    QObject::connect(&simulator, &Simulator::failed, &app, [&app](const QString& message) {
        complain(message);
        app.exit(1);
    });
    QString error;
    if (!simulator.start(&error)) {
        complain(error);
        return 1;
    }
    const int code = app.exec();
    return simulator.finish() ? code : 1;
}
