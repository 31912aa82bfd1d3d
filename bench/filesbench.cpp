// SPDX-License-Identifier: GPL-3.0-or-later
#include "benchsetup.h"

#include "programprocess.h"

namespace {
constexpr int kTimeoutMs = 600000;
constexpr double kEditorGoalMs = 200;
constexpr int kEditorRecords = 10000;
constexpr int kSendLines = 100000;

std::string ms(double value)
{
    return FigureTable::number(value, value < 10 ? 3 : 1) + " ms";
}

// A count the program side saw, beside the one it should have seen.
void checkCount(FigureTable& table, const std::string& what, double seen, double expected)
{
    if (seen != expected)
        table.note("warning: " + what + " " + FigureTable::number(seen, 0) + ", expected "
                   + FigureTable::number(expected, 0));
}
}   // namespace

void benchFiles(BenchSetup& setup)
{
    FigureTable& table = setup.table;
    table.heading("Files (median of " + std::to_string(setup.runs) + " runs)");
    ProgramProcess program(setup.program, {"files", setup.workDir, std::to_string(setup.runs)},
                           setup.logPath());
    if (!program.finish(kTimeoutMs) || !program.has("par_write_ms")) {
        setup.failed = true;
        table.row("files", "the run did not complete (see the log)", {}, FigureTable::Verdict::Missed);
        return;
    }
    const double editor = program.figure("tenant_open_ms");
    table.row("tenant editor: open 10,000 records", ms(editor), "< 200 ms",
              FigureTable::atMost(editor, kEditorGoalMs));
    checkCount(table, "lines shown", program.figure("tenant_lines_shown"), kEditorRecords + 0.0);
    table.row("Open Tenant File: column detection", ms(program.figure("column_detection_ms")));
    checkCount(table, "digits detected", program.figure("column_detection_digits"), 4);
    const double pass = program.figure("first_pass_ms");
    table.row("file send: first pass, 100,000 lines", ms(pass));
    checkCount(table, "lines counted", program.figure("first_pass_lines"), kSendLines);
    table.row("parameter file: read", ms(program.figure("par_read_ms")));
    table.row("parameter file: write", ms(program.figure("par_write_ms")));
}
