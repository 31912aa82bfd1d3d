// SPDX-License-Identifier: GPL-3.0-or-later
#include "appendpacer.h"

#include "platform/serialport.h"

AppendPacer::AppendPacer(SerialPort& port, QObject* parent) : QObject(parent), m_port(port)
{
    m_frame.setSingleShot(true);
    m_frame.setInterval(kFrameMs);
    connect(&m_frame, &QTimer::timeout, this, &AppendPacer::frameTimedOut);
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

// What came during the frame is read while the port is still paused: its
// append starts the next frame in the same wake-up. Only a frame that
// nothing followed lets the port read (and wake the program) again.
void AppendPacer::frameTimedOut()
{
    m_port.readWhatWaits();
    if (!m_frame.isActive())
        m_port.setReadingPaused(false);
    emit frameEnded();
}

void AppendPacer::endFrame()
{
    m_frame.stop();
    m_port.setReadingPaused(false);
}
