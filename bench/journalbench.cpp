// SPDX-License-Identifier: GPL-3.0-or-later
#include "benchsetup.h"

#include "programprocess.h"

namespace {
constexpr int kTimeoutMs = 600000;
constexpr double kOpenGoalMs = 300;
constexpr double kMemoryGoalMb = 150;
constexpr int kSendLines = 10000;

std::string ms(double value)
{
    return FigureTable::number(value, value < 10 ? 3 : 1) + " ms";
}
}   // namespace

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
    for (const std::string size : {"100000", "10000000"}) {
        if (!program.has("journal_view_ms_" + size))
            continue;
        const std::string n = size == "100000" ? "100,000" : "10,000,000";
        table.row("journal: " + n + " entries written in bulk",
                  program.has("journal_fill_ms_" + size) ? ms(program.figure("journal_fill_ms_" + size))
                                                         : std::string("kept from an earlier run"));
        for (const auto& [key, what] :
             {std::pair{"journal_view_ms_", "viewer opened (newest page)"},
              {"journal_end_ms_", "Ctrl+End"},
              {"journal_home_ms_", "Ctrl+Home"},
              {"journal_search_ms_", "search matching half, newest shown"},
              {"journal_search_end_ms_", "search: Ctrl+End"},
              {"journal_search_home_ms_", "search: Ctrl+Home"},
              {"journal_search_page_ms_", "search: a page read past the top of the list"}}) {
            const double figure = program.figure(key + size);
            table.row("journal, " + n + ": " + what, ms(figure), "< 300 ms",
                      FigureTable::atMost(figure, kOpenGoalMs));
        }
        table.row("journal, " + n + ": search, all its "
                      + FigureTable::number(program.figure("journal_found_" + size), 0)
                      + " entries counted (off the window's thread)",
                  ms(program.figure("journal_search_counted_ms_" + size)));
        table.row("journal, " + n + ": one site's entries", ms(program.figure("journal_site_ms_" + size)));
        const double rss = program.figure("journal_rss_mb_" + size);
        table.row("journal, " + n + ": peak memory", FigureTable::number(rss, 1) + " MB", "< 150 MB",
                  FigureTable::atMost(rss, kMemoryGoalMb));
    }
    for (const std::string size : {"1000000", "10000000"}) {
        if (!program.has("team_view_ms_" + size))
            continue;
        const std::string n = "team, " + std::string(size == "1000000" ? "1,000,000" : "10,000,000");
        if (program.has("team_fill_ms_" + size))
            table.row("journal, " + n + ": filled on the test server",
                      ms(program.figure("team_fill_ms_" + size)));
        for (const auto& [key, what] : {std::pair{"team_view_ms_", "viewer opened, first rows shown (TLS)"},
                                        {"team_home_ms_", "Ctrl+Home"},
                                        {"team_end_ms_", "Ctrl+End"}}) {
            const double figure = program.figure(key + size);
            table.row("journal, " + n + ": " + what, ms(figure), "< 300 ms",
                      FigureTable::atMost(figure, kOpenGoalMs));
        }
        table.row("journal, " + n + ": counted on the server (off the window's thread)",
                  ms(program.figure("team_counted_ms_" + size)));
        const double rss = program.figure("team_rss_mb_" + size);
        table.row("journal, " + n + ": peak memory", FigureTable::number(rss, 1) + " MB", "< 150 MB",
                  FigureTable::atMost(rss, kMemoryGoalMb));
    }
    if (program.has("team_ship_10000_ms"))
        table.row("journal: 10,000 entries shipped to the team after a day offline",
                  ms(program.figure("team_ship_10000_ms")));
    const double send = program.figure("journal_send_ms");
    table.row("journal: 10,000 lines of a file send handed to the writer", ms(send));
    table.row("journal: per line handed over", FigureTable::number(send * 1000 / kSendLines, 1) + " us");
    const double durable = program.figure("journal_send_durable_ms");
    table.row("journal: 10,000 lines until all are durable", ms(durable));
    table.row("journal: per line, durable, written in batches",
              FigureTable::number(durable * 1000 / kSendLines, 1) + " us");
    table.row("journal: one line written alone until durable",
              ms(program.figure("journal_send_one_durable_ms")));
}
