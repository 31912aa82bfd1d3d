// SPDX-License-Identifier: GPL-3.0-or-later
#include "lineerrorwatch.h"

#include "serialport.h"

#ifdef Q_OS_LINUX
#include <linux/serial.h>
#include <sys/ioctl.h>
#endif

std::optional<LineErrorCounts> readLineErrorCounts(qintptr handle)
{
#ifdef Q_OS_LINUX
    serial_icounter_struct counts{};
    if (::ioctl(int(handle), TIOCGICOUNT, &counts) != 0)
        return std::nullopt;
    return LineErrorCounts{quint32(counts.overrun), quint32(counts.buf_overrun)};
#else
    Q_UNUSED(handle);
    return std::nullopt;
#endif
}

// A device without counts at opening has none later: it is not asked again,
// which saves a system call on every read. A look that fails on a device
// with counts changes nothing.
QList<int> LineErrorWatch::grownCodes(qintptr handle)
{
    if (!m_last)
        return {};
    const std::optional<LineErrorCounts> now = m_reader(handle);
    if (!now)
        return {};
    QList<int> codes;
    if (now->overrun != m_last->overrun)
        codes << SerialPort::kOverrun;
    if (now->bufferOverrun != m_last->bufferOverrun)
        codes << SerialPort::kReceiveOverflow;
    m_last = now;
    return codes;
}
