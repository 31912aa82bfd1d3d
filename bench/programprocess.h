// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <map>
#include <string>
#include <sys/types.h>
#include <vector>

// The program side (velno-bench-program) in a process of its own: its
// figures arrive as "key value" lines on its standard output; what it says
// on standard error goes to a log file.
class ProgramProcess {
public:
    ProgramProcess(const std::string& executable, const std::vector<std::string>& args,
                   const std::string& logPath);
    ~ProgramProcess();
    ProgramProcess(const ProgramProcess&) = delete;
    ProgramProcess& operator=(const ProgramProcess&) = delete;

    bool started() const { return m_pid > 0; }
    pid_t pid() const { return m_pid; }
    // The monotonic time just before the process was started.
    long long spawnNs() const { return m_spawnNs; }

    // Reads figures until key has arrived; false on a timeout or an early end.
    bool waitFor(const std::string& key, int timeoutMs);
    // Reads figures until the process ends; false on a timeout (the process
    // is then killed) or when it failed.
    bool finish(int timeoutMs);
    // The monotonic time at which the end of the process was seen.
    long long exitNs() const { return m_exitNs; }

    double figure(const std::string& key) const;
    bool has(const std::string& key) const { return m_figures.count(key) > 0; }

private:
    bool readSome(int timeoutMs);
    void parse(const std::string& line);
    void kill();

    pid_t m_pid = -1;
    int m_output = -1;
    long long m_spawnNs = 0;
    long long m_exitNs = 0;
    std::string m_pending;
    std::map<std::string, double> m_figures;
};
