// SPDX-License-Identifier: GPL-3.0-or-later
#include "paintcounter.h"

#include <QEvent>
#include <QWidget>

PaintCounter::PaintCounter(QWidget* widget)
{
    widget->installEventFilter(this);
}

bool PaintCounter::eventFilter(QObject*, QEvent* event)
{
    if (event->type() == QEvent::Paint)
        ++m_paints;
    return false;
}
