// SPDX-License-Identifier: GPL-3.0-or-later
#include "benchsetup.h"

#include "median.h"
#include "programprocess.h"

#include <sys/stat.h>

namespace {
constexpr int kTimeoutMs = 60000;
constexpr double kGoalSeconds = 1.0;
}   // namespace

void benchStartup(BenchSetup& setup)
{
    FigureTable& table = setup.table;
    table.heading("Start-up (offscreen): process start to the main window usable, splash and its 20001 event "
                  "loop passes included; and closing it to the process gone (median of "
                  + std::to_string(setup.runs) + " runs)");
    std::vector<double> usable, exiting;
    for (int i = 0; i < setup.runs; ++i) {
        const std::string settings = setup.path("settings-" + std::to_string(i));
        mkdir(settings.c_str(), 0755);
        ProgramProcess program(setup.program, {"startup", settings}, setup.logPath());
        if (!program.finish(kTimeoutMs) || !program.has("usable_ns")) {
            setup.failed = true;
            continue;
        }
        usable.push_back((program.figure("usable_ns") - double(program.spawnNs())) / 1e9);
        exiting.push_back((double(program.exitNs()) - program.figure("close_ns")) / 1e9);
    }
    if (usable.empty()) {
        table.row("main window usable", "no run completed (see the log)", {}, FigureTable::Verdict::Missed);
        return;
    }
    table.row("main window usable", FigureTable::number(median(usable) * 1000, 0) + " ms", "<= 1000 ms",
              FigureTable::atMost(median(usable), kGoalSeconds));
    table.row("close to exit", FigureTable::number(median(exiting) * 1000, 0) + " ms");
}
