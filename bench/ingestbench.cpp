// SPDX-License-Identifier: GPL-3.0-or-later
#include "benchsetup.h"

#include "loadend.h"
#include "loads.h"
#include "median.h"
#include "monotonic.h"
#include "programprocess.h"
#include "ptyline.h"

#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr double kMB = 1e6;   // megabytes of 1,000,000 bytes throughout
constexpr double kLineRate = 120;   // bytes a second at 1200 bit/s
constexpr size_t kIngestBytes = 8'000'000;
constexpr size_t kMemoryBytes = 100'000'000;
constexpr int kMemoryRuns = 3;
constexpr int kStallMs = 30000;
constexpr int kStartMs = 30000;

struct IngestRun {
    bool ok = false;
    double seconds = 0;
    double cpuSeconds = 0;
    double peakRssMb = 0;
    double startRssMb = 0;
    double paintsPerSecond = 0;   // of the receive pane while the load came in
    long long captured = -1;   // bytes in the capture file; -1 without one
};

long long fileSize(const std::string& path)
{
    struct stat s {};
    return stat(path.c_str(), &s) == 0 ? s.st_size : -1;
}

// One program side on a fresh line: the load written as fast as the line
// takes it, timed from the first byte to the pane showing the end of it.
IngestRun ingestOnce(BenchSetup& setup, const std::string& load, bool capture)
{
    PtyLine line;
    std::vector<std::string> args{"ingest", line.slavePath()};
    const std::string capturePath = setup.path("capture.log");
    if (capture) {
        unlink(capturePath.c_str());
        args.push_back(capturePath);
    }
    ProgramProcess program(setup.program, args, setup.logPath());
    IngestRun run;
    if (!line.isValid() || !program.waitFor("ready", kStartMs)) {
        setup.failed = true;
        return run;
    }
    const long long start = monotonicNs();
    const int finishMs = int(double(load.size()) / 200e3 * 1000) + kStartMs;   // at 0.2 MB/s or better
    run.ok = line.writeAll(load, kStallMs) && line.writeAll(kLoadEnd, kStallMs) && program.finish(finishMs);
    setup.failed = setup.failed || !run.ok;
    run.seconds = (program.figure("end_ns") - double(start)) / 1e9;
    run.cpuSeconds = program.figure("cpu_s");
    run.peakRssMb = program.figure("peak_rss_kb") * 1024 / kMB;
    run.startRssMb = program.figure("start_peak_rss_kb") * 1024 / kMB;
    run.paintsPerSecond = program.figure("pane_paints") / program.figure("wall_s");
    if (capture)
        run.captured = fileSize(capturePath);
    return run;
}

std::vector<IngestRun> ingestRuns(BenchSetup& setup, const std::string& load, bool capture, int runs)
{
    std::vector<IngestRun> done;
    for (int i = 0; i < runs; ++i) {
        const IngestRun run = ingestOnce(setup, load, capture);
        if (run.ok)
            done.push_back(run);
    }
    return done;
}

std::string times(double value)
{
    return FigureTable::whole(value) + " x the line";
}

void printIngest(FigureTable& table, const std::string& what, const std::vector<IngestRun>& runs,
                 size_t bytes, double goalMBs, double goalCpu)
{
    if (runs.empty()) {
        table.row(what, "no run completed (see the log)", {}, FigureTable::Verdict::Missed);
        return;
    }
    std::vector<double> rates, cpus, paints;
    for (const IngestRun& run : runs) {
        rates.push_back(double(bytes) / run.seconds);
        cpus.push_back(run.cpuSeconds / (double(bytes) / kMB));
        paints.push_back(run.paintsPerSecond);
    }
    const double rate = median(rates);
    const double cpu = median(cpus);
    table.row(what, FigureTable::number(rate / kMB, 2) + " MB/s = " + times(rate / kLineRate),
              ">= " + FigureTable::number(goalMBs, 0) + " MB/s", FigureTable::atLeast(rate / kMB, goalMBs));
    table.row("  CPU of the program's process",
              FigureTable::number(cpu, 3) + " CPU-s/MB: a core takes " + times(kMB / cpu / kLineRate),
              "<= " + FigureTable::number(goalCpu, 2) + " CPU-s/MB", FigureTable::atMost(cpu, goalCpu));
    table.row("  at the line's 120 B/s",
              FigureTable::number(cpu * kLineRate / kMB * 100, 5) + " % of a core");
    table.row("  receive pane painted", FigureTable::number(median(paints), 0) + " times a second");
}

// A text load keeps its size through the receive path (CR LF stays CR LF),
// so its capture file must hold exactly the bytes sent.
void checkCapture(FigureTable& table, const std::vector<IngestRun>& runs, size_t sent)
{
    const long long expected = (long long)(sent + std::strlen(kLoadEnd));
    for (const IngestRun& run : runs) {
        if (run.captured != expected) {
            table.note("warning: the capture file holds " + std::to_string(run.captured) + " bytes, "
                       + std::to_string(expected) + " were sent");
            return;
        }
    }
}

}   // namespace

void benchIngest(BenchSetup& setup)
{
    FigureTable& table = setup.table;
    table.heading("Receive ingest: 8 MB into the main window's port on a pseudo-terminal, as fast as "
                  "it takes it (median of "
                  + std::to_string(setup.runs) + " runs)");
    const std::string text = Loads::textLines(kIngestBytes);
    const std::string eightBit = Loads::eightBit(kIngestBytes);
    printIngest(table, "text, 80-character lines", ingestRuns(setup, text, false, setup.runs), kIngestBytes,
                12, 0.10);
    printIngest(table, "random 8-bit bytes", ingestRuns(setup, eightBit, false, setup.runs), kIngestBytes, 3,
                0.30);
    const std::vector<IngestRun> captured = ingestRuns(setup, text, true, setup.runs);
    printIngest(table, "text, capture file open", captured, kIngestBytes, 12, 0.10);
    checkCapture(table, captured, kIngestBytes);
    printIngest(table, "random 8-bit, capture file open", ingestRuns(setup, eightBit, true, setup.runs),
                kIngestBytes, 3, 0.30);
}

void benchMemory(BenchSetup& setup)
{
    FigureTable& table = setup.table;
    const int runs = std::min(setup.runs, kMemoryRuns);
    table.heading("Memory: 100 MB of text received (median of " + std::to_string(runs) + " runs)");
    const std::vector<IngestRun> done = ingestRuns(setup, Loads::textLines(kMemoryBytes), false, runs);
    if (done.empty()) {
        table.row("peak resident size", "no run completed (see the log)", {}, FigureTable::Verdict::Missed);
        return;
    }
    std::vector<double> peaks, starts;
    for (const IngestRun& run : done) {
        peaks.push_back(run.peakRssMb);
        starts.push_back(run.startRssMb);
    }
    table.row("peak resident size before", FigureTable::number(median(starts), 1) + " MB");
    table.row("peak resident size after 100 MB", FigureTable::number(median(peaks), 1) + " MB", "< 60 MB",
              FigureTable::atMost(median(peaks), 60));
}
