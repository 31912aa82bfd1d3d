// SPDX-License-Identifier: GPL-3.0-or-later
#include "repaintpacer.h"

#include <QWidget>

RepaintPacer::RepaintPacer(QWidget* widget) : QObject(widget), m_widget(widget)
{
    m_frame.setSingleShot(true);
    m_frame.setInterval(kFrameMs);
    connect(&m_frame, &QTimer::timeout, this, &RepaintPacer::frameEnded);
}

RepaintPacer& RepaintPacer::of(QWidget* widget)
{
    if (auto* existing = widget->findChild<RepaintPacer*>(QString(), Qt::FindDirectChildrenOnly))
        return *existing;
    return *new RepaintPacer(widget);
}

void RepaintPacer::changing()
{
    if (m_frame.isActive())
        m_widget->setUpdatesEnabled(false);   // painted when the frame ends
    else
        m_frame.start();
}

// Enabling the updates repaints the widget; the frame starts again, so that
// a stream that goes on stays paced. A frame without changes ends the pacing.
void RepaintPacer::frameEnded()
{
    if (m_widget->updatesEnabled())
        return;
    m_widget->setUpdatesEnabled(true);
    m_frame.start();
}
