// SPDX-License-Identifier: GPL-3.0-or-later
#include "benchsetup.h"

#include "loadend.h"
#include "loads.h"
#include "median.h"
#include "monotonic.h"
#include "programprocess.h"
#include "ptyline.h"
#include "xsession.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <dirent.h>
#include <functional>
#include <unistd.h>

namespace {

constexpr double kLineRate = 120;   // bytes a second at 1200 bit/s
constexpr int kSpanSeconds = 20;
constexpr int kIdleSeconds = 60;
constexpr int kStartMs = 30000;
constexpr int kStallMs = 5000;
constexpr int kSteadyCursorMs = 11000;   // the text cursor blinks for 10 s after the last key
constexpr double kGoalPercent = 1.0;
constexpr double kIdleGoalPercent = 0.1;
constexpr double kShownGoalMs = 100;
// The panel's answers are short lines that fit the receive pane; a wider
// line makes the pane follow the caret sideways with every byte.
constexpr size_t kLineChars = 32;

void sleepUntil(long long ns)
{
    const timespec t{time_t(ns / 1000000000LL), long(ns % 1000000000LL)};
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &t, nullptr) == EINTR) {}
}

void sleepMs(int ms)
{
    sleepUntil(monotonicNs() + ms * 1000000LL);
}

// The CPU time of a process, all its threads, in seconds: the scheduler's
// nanoseconds (/proc/PID/task/*/schedstat), finer than the clock ticks of
// /proc/PID/stat.
double cpuSecondsOf(pid_t pid)
{
    if (pid <= 0)
        return 0;
    const std::string tasks = "/proc/" + std::to_string(pid) + "/task";
    DIR* dir = opendir(tasks.c_str());
    if (!dir)
        return 0;
    double ns = 0;
    while (const dirent* entry = readdir(dir)) {
        if (entry->d_name[0] == '.')
            continue;
        if (FILE* f = std::fopen((tasks + "/" + entry->d_name + "/schedstat").c_str(), "r")) {
            unsigned long long onCpu = 0;
            if (std::fscanf(f, "%llu", &onCpu) == 1)
                ns += double(onCpu);
            std::fclose(f);
        }
    }
    closedir(dir);
    return ns / 1e9;
}

// Whether the process holds the file open.
bool holdsOpen(pid_t pid, const std::string& path)
{
    const std::string fds = "/proc/" + std::to_string(pid) + "/fd";
    DIR* dir = opendir(fds.c_str());
    if (!dir)
        return false;
    bool found = false;
    char target[4096];
    while (const dirent* entry = readdir(dir)) {
        const ssize_t n = readlink((fds + "/" + entry->d_name).c_str(), target, sizeof target - 1);
        found = found || (n > 0 && path == std::string(target, size_t(n)));
    }
    closedir(dir);
    return found;
}

// Percent of one core used by the program (and the X server) over a span.
struct Share {
    double program = 0;
    double server = 0;
};

Share measure(pid_t program, pid_t server, const std::function<bool()>& span, bool& ok)
{
    const double cpu0 = cpuSecondsOf(program);
    const double server0 = cpuSecondsOf(server);
    const long long start = monotonicNs();
    ok = span() && ok;
    const double wall = double(monotonicNs() - start) / 1e9;
    return {(cpuSecondsOf(program) - cpu0) / wall * 100, (cpuSecondsOf(server) - server0) / wall * 100};
}

// A write to the line: when it began and how many bytes had gone by its end.
// Timed from its start: the program on the other core may read and paint
// the bytes before the write call has even returned here.
struct Written {
    long long ns = 0;
    long long bytes = 0;
};

// The line's own pace: chunk bytes at a time, 120 bytes a second, for the
// span; each write is logged.
bool writeAtLineRate(PtyLine& line, const std::string& text, size_t chunk, std::vector<Written>& log)
{
    const long long start = monotonicNs();
    const long long stepNs = (long long)(double(chunk) / kLineRate * 1e9);
    const size_t writes = size_t(kSpanSeconds * kLineRate) / chunk;
    long long total = log.empty() ? 0 : log.back().bytes;
    for (size_t i = 0; i < writes; ++i) {
        sleepUntil(start + (long long)i * stepNs);
        const long long began = monotonicNs();
        if (!line.writeAll(text.substr(i * chunk % (text.size() - chunk), chunk), kStallMs))
            return false;
        total += static_cast<long long>(chunk);
        log.push_back({began, total});
    }
    sleepUntil(start + (long long)writes * stepNs);
    return true;
}

// How long each write waited to be seen: from its start to the first paint
// of the pane that showed its bytes. The program side logs its paints as
// "nanoseconds characters" lines.
std::vector<double> shownDelaysMs(const std::vector<Written>& writes, const std::string& paintLogPath)
{
    std::vector<std::pair<long long, long long>> paints;
    if (FILE* f = std::fopen(paintLogPath.c_str(), "r")) {
        long long ns = 0;
        long long shown = 0;
        while (std::fscanf(f, "%lld %lld", &ns, &shown) == 2)
            paints.emplace_back(ns, shown);
        std::fclose(f);
    }
    std::vector<double> delays;
    size_t p = 0;
    for (const Written& w : writes) {
        while (p < paints.size() && (paints[p].first < w.ns || paints[p].second < w.bytes))
            ++p;
        if (p == paints.size())
            break;
        delays.push_back(double(paints[p].first - w.ns) / 1e6);
    }
    return delays;
}

struct LineRateRun {
    bool ok = true;
    Share oneByte;
    Share sixteen;
    Share idle;
    std::vector<Written> writes;
    double shownMedianMs = 0;
    double shownMaxMs = 0;
};

void lineRateSpans(PtyLine& line, pid_t program, pid_t server, LineRateRun& run)
{
    const std::string text = Loads::textLines(4096, kLineChars);
    run.oneByte = measure(
        program, server, [&] { return writeAtLineRate(line, text, 1, run.writes); }, run.ok);
    run.sixteen = measure(
        program, server, [&] { return writeAtLineRate(line, text, 16, run.writes); }, run.ok);
}

// The program side offscreen: the program's own code in the bench program.
LineRateRun offscreenOnce(BenchSetup& setup, bool capture)
{
    PtyLine line;
    const std::string paintLog = setup.path("linerate.paints");
    std::remove(paintLog.c_str());
    std::vector<std::string> args{"linerate", line.slavePath(), paintLog};
    if (capture)
        args.push_back(setup.path("linerate.log"));
    ProgramProcess program(setup.program, args, setup.logPath());
    LineRateRun run;
    if (!line.isValid() || !program.waitFor("ready", kStartMs + kSteadyCursorMs)) {
        run.ok = false;
        return run;
    }
    lineRateSpans(line, program.pid(), 0, run);
    run.ok = line.writeAll(kLoadEnd, kStallMs) && program.finish(kStartMs) && run.ok;
    std::vector<double> delays = shownDelaysMs(run.writes, paintLog);
    if (delays.size() != run.writes.size()) {
        std::fprintf(stderr, "the pane showed %zu of %zu writes\n", delays.size(), run.writes.size());
        run.ok = false;
        return run;
    }
    std::sort(delays.begin(), delays.end());
    run.shownMedianMs = delays[delays.size() / 2];
    run.shownMaxMs = delays.back();
    return run;
}

bool tool(BenchSetup& setup, const std::vector<std::string>& args, int timeoutMs = kStartMs)
{
    ProgramProcess process(args.front(), {args.begin() + 1, args.end()}, setup.logPath());
    return process.finish(timeoutMs);
}

bool focusMain(BenchSetup& setup)
{
    return tool(setup, {"xdotool", "search", "--sync", "--name", "Version 3\\.0$", "windowfocus", "--sync"});
}

bool keys(BenchSetup& setup, std::vector<std::string> names)
{
    names.insert(names.begin(), {"xdotool", "key", "--delay", "100"});
    const bool ok = tool(setup, names);
    sleepMs(500);
    return ok;
}

// The installed-style program on the X server, driven from the keyboard as
// an operator would: port 1, Connect, OK the phone number reminder.
LineRateRun onScreenOnce(BenchSetup& setup, const XSession& x, bool idle)
{
    PtyLine line;
    LineRateRun run;
    run.ok = line.isValid() && tool(setup, {setup.setPort, "1", line.slavePath()});
    if (!run.ok)
        return run;
    ProgramProcess program(setup.velno, {}, setup.logPath());
    run.ok = focusMain(setup) && (sleepMs(1000), keys(setup, {"space", "Tab", "space"}))
        && keys(setup, {"Return"}) && focusMain(setup) && holdsOpen(program.pid(), line.slavePath());
    if (!run.ok) {
        std::fprintf(stderr, "velno did not connect on %s\n", line.slavePath().c_str());
        return run;
    }
    sleepMs(kSteadyCursorMs);
    if (idle)
        run.idle = measure(
            program.pid(), x.serverPid(),
            [] {
                sleepMs(kIdleSeconds * 1000);
                return true;
            },
            run.ok);
    lineRateSpans(line, program.pid(), x.serverPid(), run);
    return run;
}

// "0.412 % of one core (runs 0.380 to 0.455)"
std::string shareText(const std::vector<double>& percents)
{
    const auto [low, high] = std::minmax_element(percents.begin(), percents.end());
    return FigureTable::number(median(percents), 3) + " % of one core (runs " + FigureTable::number(*low, 3)
        + " to " + FigureTable::number(*high, 3) + ")";
}

void shareRow(FigureTable& table, const std::string& what, const std::vector<LineRateRun>& runs,
              const std::function<double(const LineRateRun&)>& of, double goal)
{
    std::vector<double> percents;
    for (const LineRateRun& run : runs)
        percents.push_back(of(run));
    if (goal > 0)
        table.row(what, shareText(percents), "<= " + FigureTable::number(goal, 1) + " %",
                  FigureTable::atMost(median(percents), goal));
    else
        table.row(what, shareText(percents));
}

std::vector<LineRateRun> completed(BenchSetup& setup, int runs, const std::function<LineRateRun()>& once)
{
    std::vector<LineRateRun> done;
    for (int i = 0; i < runs; ++i) {
        const LineRateRun run = once();
        if (run.ok)
            done.push_back(run);
        else
            setup.failed = true;
    }
    return done;
}

void printSpans(FigureTable& table, const std::string& what, const std::vector<LineRateRun>& runs,
                bool server)
{
    if (runs.empty()) {
        table.row(what, "no run completed (see the log)", {}, FigureTable::Verdict::Missed);
        return;
    }
    table.note(what + ":");
    shareRow(
        table, "  one byte per write", runs, [](const LineRateRun& r) { return r.oneByte.program; },
        kGoalPercent);
    if (server)
        shareRow(
            table, "    the X server meanwhile", runs, [](const LineRateRun& r) { return r.oneByte.server; },
            0);
    shareRow(
        table, "  16-byte writes", runs, [](const LineRateRun& r) { return r.sixteen.program; },
        kGoalPercent);
    if (server)
        shareRow(
            table, "    the X server meanwhile", runs, [](const LineRateRun& r) { return r.sixteen.server; },
            0);
}

void printShown(FigureTable& table, const std::vector<LineRateRun>& runs)
{
    std::vector<double> medians, maxima;
    for (const LineRateRun& run : runs) {
        medians.push_back(run.shownMedianMs);
        maxima.push_back(run.shownMaxMs);
    }
    if (runs.empty())
        return;
    const double worst = *std::max_element(maxima.begin(), maxima.end());
    table.row("  written to painted, each write",
              "median " + FigureTable::number(median(medians), 1) + " ms, at most "
                  + FigureTable::number(worst, 1) + " ms",
              "<= " + FigureTable::number(kShownGoalMs, 0) + " ms", FigureTable::atMost(worst, kShownGoalMs));
}

}   // namespace

void benchLineRate(BenchSetup& setup)
{
    FigureTable& table = setup.table;
    const std::string runs = std::to_string(setup.runs);
    table.heading("Line rate: lines of " + std::to_string(kLineChars)
                  + " characters arriving at 120 B/s through"
                    " a pseudo-terminal, "
                  + std::to_string(kSpanSeconds) + " s one byte per write, then "
                  + std::to_string(kSpanSeconds) + " s in 16-byte writes; CPU from /proc; median of " + runs
                  + " runs, the cursor steady");
    for (const bool capture : {false, true}) {
        const std::vector<LineRateRun> done =
            completed(setup, setup.runs, [&] { return offscreenOnce(setup, capture); });
        printSpans(table, capture ? "offscreen, capture file open" : "offscreen", done, false);
        printShown(table, done);
    }

    if (!onPath("Xvfb") || !onPath("xdotool") || access(setup.velno.c_str(), X_OK) != 0) {
        table.note("the program on a virtual X server: skipped (needs Xvfb, xdotool and " + setup.velno
                   + ")");
        return;
    }
    const XSession x(setup.path("x"));
    if (!x.isValid()) {
        table.note("the program on a virtual X server: skipped (Xvfb did not start)");
        setup.failed = true;
        return;
    }
    const std::vector<LineRateRun> onScreen =
        completed(setup, setup.runs, [&] { return onScreenOnce(setup, x, true); });
    printSpans(table, "the program (velno) on Xvfb", onScreen, true);
    if (!onScreen.empty()) {
        shareRow(
            table, "  idle, port open, " + std::to_string(kIdleSeconds) + " s", onScreen,
            [](const LineRateRun& r) { return r.idle.program; }, kIdleGoalPercent);
        shareRow(
            table, "    the X server meanwhile", onScreen, [](const LineRateRun& r) { return r.idle.server; },
            0);
    }
}
