// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QtGlobal>

#include <functional>
#include <optional>

// The serial driver's running counts of characters lost on receive. Only a
// device whose driver keeps them has them: a UART port does, a
// pseudo-terminal and some USB adapters do not.
struct LineErrorCounts {
    quint32 overrun = 0;   // lost in the UART before the driver took them
    quint32 bufferOverrun = 0;   // lost for want of room in the driver's buffer
};

// Reads the counts of an open device; nothing where the device keeps none.
std::optional<LineErrorCounts> readLineErrorCounts(qintptr handle);

// Turns the counts into the port's line error codes: after each read, one
// code for each counter that grew since the previous look.
class LineErrorWatch {
public:
    using Reader = std::function<std::optional<LineErrorCounts>(qintptr handle)>;

    explicit LineErrorWatch(Reader reader = readLineErrorCounts) : m_reader(std::move(reader)) {}

    // The counts at opening are the starting point: older losses are not ours.
    void start(qintptr handle) { m_last = m_reader(handle); }
    // kOverrun, then kReceiveOverflow, for the counters that grew.
    QList<int> grownCodes(qintptr handle);

private:
    Reader m_reader;
    std::optional<LineErrorCounts> m_last;
};
