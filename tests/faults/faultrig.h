// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "form1rig.h"
#include "operator.h"
#include "testfiles.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

// The processor time (user and system) the process used while its event loop
// ran with nothing to do for ms milliseconds. A check that nothing spins, not
// a speed goal: a spinning loop uses about all of that time.
double cpuSecondsWhileIdle(int ms);
constexpr int kIdleMs = 1000;
constexpr double kIdleCpuBound = 0.2;
// The failure message of a spinning check.
QString spinning(double cpuSeconds);

// While it lives, files of this process cannot grow beyond a size: writes past
// it fail ("File too large"), as on a disk that is full. The signal that such a
// write raises is ignored, so the write just fails.
class FileSizeLimit {
public:
    explicit FileSizeLimit(qint64 bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

    bool isSet() const { return m_set; }
    // Frees the space again, as when the operator has made room.
    void lift();

private:
    unsigned long long m_previous = 0;
    bool m_set = false;
};
