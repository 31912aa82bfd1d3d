// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

// The far end of the program's serial line: a pseudo-terminal whose slave
// the program opens as its port 1 while the benchmark writes into, and
// reads from, the master.
class PtyLine {
public:
    PtyLine();
    ~PtyLine();
    PtyLine(const PtyLine&) = delete;
    PtyLine& operator=(const PtyLine&) = delete;

    bool isValid() const { return m_master >= 0; }
    const std::string& slavePath() const { return m_slavePath; }

    // Writes every byte as fast as the line takes it; false when a write
    // failed or the line took nothing for stallMs.
    bool writeAll(const std::string& bytes, int stallMs);
    // Reads and drops what the program has written so far.
    void drain();

private:
    int m_master = -1;
    int m_slave = -1;   // kept open so that the line stays up between the program's opens
    std::string m_slavePath;
};
