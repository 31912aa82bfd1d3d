#include "benchsetup.h"

#include "median.h"
#include "programprocess.h"
#include "ptyline.h"

namespace {

constexpr int kSeconds = 10;
constexpr int kWaitRuns = 3;
constexpr int kMarginMs = 30000;
constexpr double kGoalPercent = 0.1;

struct WaitRun {
    bool ok = false;
    double percent = 0;   // of one core
    double linesSent = 0;
};

WaitRun waitOnce(BenchSetup& setup, const std::string& mode)
{
    PtyLine line;
    std::vector<std::string> args{mode, line.slavePath(), std::to_string(kSeconds)};
    if (mode == "paced")
        args.push_back(setup.workDir);
    ProgramProcess program(setup.program, args, setup.logPath());
    WaitRun run;
    run.ok = line.isValid() && program.finish(kSeconds * 1000 + kMarginMs) && program.has("cpu_s");
    setup.failed = setup.failed || !run.ok;
    line.drain();
    if (run.ok) {
        run.percent = program.figure("cpu_s") / program.figure("wall_s") * 100;
        run.linesSent = program.figure("lines_sent");
    }
    return run;
}

void printWait(BenchSetup& setup, const std::string& mode, const std::string& what, int runs)
{
    std::vector<double> percents, lines;
    for (int i = 0; i < runs; ++i) {
        const WaitRun run = waitOnce(setup, mode);
        if (run.ok) {
            percents.push_back(run.percent);
            lines.push_back(run.linesSent);
        }
    }
    if (percents.empty()) {
        setup.table.row(what, "no run completed (see the log)", {}, FigureTable::Verdict::Missed);
        return;
    }
    const double percent = median(percents);
    setup.table.row(what, FigureTable::number(percent, 4) + " % of one core",
                    "<= " + FigureTable::number(kGoalPercent, 1) + " %",
                    FigureTable::atMost(percent, kGoalPercent));
    if (mode == "paced")
        setup.table.row("  lines sent meanwhile", FigureTable::number(median(lines), 0));
}

} // namespace

void benchWaits(BenchSetup& setup)
{
    const int runs = std::min(setup.runs, kWaitRuns);
    setup.table.heading("Idle and waiting: CPU share of the program's process over " +
                        std::to_string(kSeconds) + " s, connected on a pseudo-terminal (median of " +
                        std::to_string(runs) + " runs)");
    printWait(setup, "idle", "idle, waiting for the panel", runs);
    printWait(setup, "paced", "paced file send, 1000 ms tick", runs);
}
