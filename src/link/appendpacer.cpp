// SPDX-License-Identifier: GPL-3.0-or-later
#include "appendpacer.h"

#include "platform/serialport.h"

AppendPacer::AppendPacer(SerialPort& port, QObject* parent) : QObject(parent), m_port(port)
{
    m_frame.setSingleShot(true);
    m_frame.setInterval(kFrameMs);
    connect(&m_frame, &QTimer::timeout, this, [this] {
        m_port.setReadingPaused(false);
        emit frameEnded();
    });
}

// A frame starts with every append; a frame that ends with nothing held
// starts none, so a line at rest costs no timer.
bool AppendPacer::appendNow(qsizetype held)
{
    if (held == 0 || (m_frame.isActive() && held <= kHoldLimit))
        return false;
    m_frame.start();
    m_port.setReadingPaused(held <= kHoldLimit);
    return true;
}

void AppendPacer::endFrame()
{
    m_frame.stop();
    m_port.setReadingPaused(false);
}
