// SPDX-License-Identifier: GPL-3.0-or-later
#include "plainenter.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QWidget>

void PlainEnter::install(QWidget* pane)
{
    pane->installEventFilter(new PlainEnter(pane));
}

bool PlainEnter::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress
        || !static_cast<QKeyEvent*>(event)->matches(QKeySequence::InsertLineSeparator))
        return false;
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    QCoreApplication::sendEvent(watched, &enter);
    return true;
}
