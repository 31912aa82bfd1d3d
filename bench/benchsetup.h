// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "figuretable.h"

#include <string>

// What every benchmark needs: the program side's executable, a folder for
// its files and its log, how many runs a median takes, and the table.
struct BenchSetup {
    std::string program;
    std::string workDir;
    int runs = 5;
    FigureTable& table;
    bool failed = false;   // a run did not come to an end: its log is kept
    std::string velno;   // the installed-style program and the tool that sets its ports
    std::string setPort;

    std::string path(const std::string& name) const { return workDir + "/" + name; }
    std::string logPath() const { return path("program-side.log"); }
};

// The benchmarks, each printing its figures beside their goals.
void benchIngest(BenchSetup& setup);
void benchLineRate(BenchSetup& setup);
void benchMemory(BenchSetup& setup);
void benchWaits(BenchSetup& setup);
void benchStartup(BenchSetup& setup);
void benchFiles(BenchSetup& setup);
void benchJournal(BenchSetup& setup);
