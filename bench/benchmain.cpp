// SPDX-License-Identifier: GPL-3.0-or-later
// velno-bench: measures the program on this machine and prints every figure
// beside its goal. It never fails on a figure: only a run that cannot be
// made gives a non-zero exit code.
//
//   velno-bench [--runs N] [--only ingest|linerate|memory|waits|startup|files|journal]...
#include "benchsetup.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <unistd.h>

namespace {

using Bench = void (*)(BenchSetup&);

const std::map<std::string, Bench>& benches()
{
    static const std::map<std::string, Bench> kBenches{{"ingest", benchIngest},   {"linerate", benchLineRate},
                                                       {"memory", benchMemory},   {"waits", benchWaits},
                                                       {"startup", benchStartup}, {"files", benchFiles},
                                                       {"journal", benchJournal}};
    return kBenches;
}

const char* const kOrder[] = {"ingest", "linerate", "memory", "waits", "startup", "files", "journal"};

// The folder of this executable: bench/ in the build folder.
std::filesystem::path folderOfThis()
{
    char self[PATH_MAX] = {};
    const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    return n > 0 ? std::filesystem::path(std::string(self, size_t(n))).parent_path() : ".";
}

int usage()
{
    std::fprintf(
        stderr,
        "usage: velno-bench [--runs N] [--only ingest|linerate|memory|waits|startup|files|journal]...\n");
    return 2;
}

}   // namespace

int main(int argc, char* argv[])
{
    int runs = 5;
    std::vector<std::string> only;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--runs") && i + 1 < argc)
            runs = std::max(1, std::atoi(argv[++i]));
        else if (!std::strcmp(argv[i], "--only") && i + 1 < argc && benches().count(argv[i + 1]))
            only.emplace_back(argv[++i]);
        else
            return usage();
    }
    if (only.empty())
        only.assign(std::begin(kOrder), std::end(kOrder));

    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    char folder[] = "/tmp/velno-bench-XXXXXX";
    if (!mkdtemp(folder)) {
        std::perror("velno-bench: mkdtemp");
        return 1;
    }
    FigureTable table;
    const std::filesystem::path bench = folderOfThis();
    BenchSetup setup{(bench / "velno-bench-program").string(),
                     folder,
                     runs,
                     table,
                     false,
                     (bench.parent_path() / "src" / "velno").string(),
                     (bench.parent_path() / "tools" / "setport" / "velno-setport").string()};
    std::printf("velno benchmarks; MB = 1,000,000 bytes; the line: 1200 bit/s = 120 B/s; "
                "CPU is the program's own process\n");
    for (const std::string& name : only)
        benches().at(name)(setup);

    std::printf("\n%zu figure(s) missed their goal\n", table.missed().size());
    for (const std::string& line : table.missed())
        std::printf("  %s\n", line.c_str());
    if (setup.failed) {
        std::printf("Some runs did not complete; the program side's log is %s\n", setup.logPath().c_str());
        return 1;
    }
    std::filesystem::remove_all(folder);
    return 0;
}
