// SPDX-License-Identifier: GPL-3.0-or-later
#include "benchsetup.h"

#include "programprocess.h"

namespace {
constexpr int kTimeoutMs = 600000;
constexpr double kOpenGoalMs = 300;
constexpr int kEntries = 100000;
constexpr int kSendLines = 10000;

std::string ms(double value)
{
    return FigureTable::number(value, value < 10 ? 3 : 1) + " ms";
}
} // namespace

void benchJournal(BenchSetup& setup)
{
    FigureTable& table = setup.table;
    table.heading("Journal (median of " + std::to_string(setup.runs) + " runs)");
    ProgramProcess program(setup.program, {"journal", setup.workDir, std::to_string(setup.runs)},
                           setup.logPath());
    if (!program.finish(kTimeoutMs) || !program.has("journal_send_ms")) {
        setup.failed = true;
        table.row("journal", "the run did not complete (see the log)", {}, FigureTable::Verdict::Missed);
        return;
    }
    const double load = program.figure("journal_load_ms");
    table.row("journal: read 100,000 entries", ms(load), "< 300 ms", FigureTable::atMost(load, kOpenGoalMs));
    const double view = program.figure("journal_view_ms");
    table.row("journal: window shown with 100,000 entries", ms(view), "< 300 ms",
              FigureTable::atMost(view, kOpenGoalMs));
    if (program.figure("journal_entries") != kEntries)
        table.note("warning: " + FigureTable::whole(program.figure("journal_entries"))
                   + " entries read, expected " + FigureTable::whole(kEntries));
    const double send = program.figure("journal_send_ms");
    table.row("journal: 10,000 lines of a file send recorded", ms(send));
    table.row("journal: per line", FigureTable::number(send * 1000 / kSendLines, 1) + " us");
}
