// SPDX-License-Identifier: GPL-3.0-or-later
#include "benchsetup.h"

#include "median.h"
#include "programprocess.h"
#include "ptyline.h"

#include <algorithm>

namespace {

constexpr int kBlinkSeconds = 10;   // the text cursor blinks this long after a key press
constexpr int kIdleSeconds = 60;   // long enough for the figure not to move with the CPU's clock
constexpr int kPacedSeconds = 10;
constexpr int kMarginMs = 40000;
constexpr double kGoalPercent = 0.1;

struct WaitRun {
    bool ok = false;
    double steadyPercent = 0;   // of one core, untouched long enough for a steady cursor
    double blinkPercent = 0;   // of one core, right after the last key press
    double linesSent = 0;
};

double percentOfCore(const ProgramProcess& program, const std::string& prefix)
{
    return program.figure(prefix + "cpu_s") / program.figure(prefix + "wall_s") * 100;
}

int spanSeconds(const std::string& mode)
{
    return mode == "paced" ? kPacedSeconds : kIdleSeconds;
}

WaitRun waitOnce(BenchSetup& setup, const std::string& mode)
{
    PtyLine line;
    const int seconds = spanSeconds(mode);
    std::vector<std::string> args{mode, line.slavePath(), std::to_string(seconds)};
    if (mode == "paced")
        args.push_back(setup.workDir);
    ProgramProcess program(setup.program, args, setup.logPath());
    const int runMs = (kBlinkSeconds + seconds) * 1000 + kMarginMs;   // the blinking, then the span
    WaitRun run;
    run.ok = line.isValid() && program.finish(runMs) && program.has("cpu_s") && program.has("blink_cpu_s");
    setup.failed = setup.failed || !run.ok;
    line.drain();
    if (run.ok) {
        run.steadyPercent = percentOfCore(program, "");
        run.blinkPercent = percentOfCore(program, "blink_");
        run.linesSent = program.figure("lines_sent");
    }
    return run;
}

// "0.0612 % of one core (runs 0.0551 to 0.0710)"
std::string shareText(const std::vector<double>& percents)
{
    const auto [low, high] = std::minmax_element(percents.begin(), percents.end());
    return FigureTable::number(median(percents), 4) + " % of one core (runs " + FigureTable::number(*low, 4)
        + " to " + FigureTable::number(*high, 4) + ")";
}

void printWait(BenchSetup& setup, const std::string& mode, const std::string& what, int runs)
{
    std::vector<double> steady, blink, lines;
    for (int i = 0; i < runs; ++i) {
        const WaitRun run = waitOnce(setup, mode);
        if (run.ok) {
            steady.push_back(run.steadyPercent);
            blink.push_back(run.blinkPercent);
            lines.push_back(run.linesSent);
        }
    }
    if (steady.empty()) {
        setup.table.row(what, "no run completed (see the log)", {}, FigureTable::Verdict::Missed);
        return;
    }
    const double percent = median(steady);
    setup.table.row(what + ", " + std::to_string(spanSeconds(mode)) + " s", shareText(steady),
                    "<= " + FigureTable::number(kGoalPercent, 1) + " %",
                    FigureTable::atMost(percent, kGoalPercent));
    setup.table.row("  first " + std::to_string(kBlinkSeconds) + " s after a key press", shareText(blink));
    if (mode == "paced")
        setup.table.row("  lines sent in the untouched span", FigureTable::number(median(lines), 0));
}

// What this machine charges any Qt program for a window whose one label
// shows the time each second, as the program's clock panel does.
void printClockReference(BenchSetup& setup, int runs)
{
    std::vector<double> percents;
    for (int i = 0; i < runs; ++i) {
        ProgramProcess program(setup.program, {"clock", std::to_string(kPacedSeconds)}, setup.logPath());
        if (program.finish(kPacedSeconds * 1000 + kMarginMs) && program.has("cpu_s"))
            percents.push_back(percentOfCore(program, ""));
        else
            setup.failed = true;
    }
    if (!percents.empty())
        setup.table.row("reference: a bare Qt clock label", shareText(percents));
}

}   // namespace

void benchWaits(BenchSetup& setup)
{
    const int runs = setup.runs;
    setup.table.heading("Idle and waiting: CPU share of the program's process, connected on a "
                        "pseudo-terminal, nobody at the keyboard long enough"
                        " for the text cursor to stop blinking; median of "
                        + std::to_string(runs) + " runs");
    printWait(setup, "idle", "idle, waiting for the panel", runs);
    printWait(setup, "paced", "paced file send, 1000 ms tick", runs);
    printClockReference(setup, runs);
}
