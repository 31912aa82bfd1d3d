// SPDX-License-Identifier: GPL-3.0-or-later
#include "cursorblink.h"

#include <QApplication>
#include <QEvent>

namespace {

bool isOperatorInput(QEvent::Type type)
{
    switch (type) {
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::InputMethod:
    case QEvent::TouchBegin:
    case QEvent::TabletPress: return true;
    default: return false;
    }
}

}   // namespace

CursorBlinkTimeout::CursorBlinkTimeout(int timeoutMs, QObject* parent)
    : QObject(parent), m_flashTime(QApplication::cursorFlashTime())
{
    m_timeout.setSingleShot(true);
    m_timeout.setInterval(timeoutMs);
    connect(&m_timeout, &QTimer::timeout, this, &CursorBlinkTimeout::stopBlinking);
    if (m_flashTime > 0) {
        qApp->installEventFilter(this);
        m_timeout.start();
    }
}

CursorBlinkTimeout::~CursorBlinkTimeout()
{
    if (m_flashTime > 0)
        QApplication::setCursorFlashTime(m_flashTime);
}

bool CursorBlinkTimeout::blinking() const
{
    return QApplication::cursorFlashTime() > 0;
}

bool CursorBlinkTimeout::eventFilter(QObject* watched, QEvent* event)
{
    if (isOperatorInput(event->type()))
        resumeBlinking();
    return QObject::eventFilter(watched, event);
}

void CursorBlinkTimeout::stopBlinking()
{
    QApplication::setCursorFlashTime(0);   // the cursor stays shown
}

void CursorBlinkTimeout::resumeBlinking()
{
    if (!blinking())
        QApplication::setCursorFlashTime(m_flashTime);
    m_timeout.start();
}
