// SPDX-License-Identifier: GPL-3.0-or-later
#include "appendpacer.h"

AppendPacer::AppendPacer(QObject* parent) : QObject(parent)
{
    m_frame.setSingleShot(true);
    m_frame.setInterval(kFrameMs);
    connect(&m_frame, &QTimer::timeout, this, &AppendPacer::frameEnded);
}

// A frame starts with every append; a frame that ends with nothing held
// starts none, so a line at rest costs no timer.
bool AppendPacer::appendNow(qsizetype held)
{
    if (held == 0 || (m_frame.isActive() && held <= kHoldLimit))
        return false;
    m_frame.start();
    return true;
}
