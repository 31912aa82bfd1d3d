// SPDX-License-Identifier: GPL-3.0-or-later
#include "heldkeys.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>

namespace {

// The last release seen: its key and when it happened.
struct Release {
    int key = 0;
    quint64 time = 0;
};
Release lastRelease;

constexpr quint64 kSameMomentMs = 1;

bool isEnterOrEscape(int key)
{
    return key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape;
}

}   // namespace

void HeldKeys::watch()
{
    if (!qApp || qApp->findChild<HeldKeys*>(QString(), Qt::FindDirectChildrenOnly))
        return;
    qApp->installEventFilter(new HeldKeys(qApp));
}

bool HeldKeys::isRepeat(const QKeyEvent& press)
{
    if (press.isAutoRepeat())
        return true;
    const quint64 time = press.timestamp();
    if (time == 0 || lastRelease.time == 0 || press.key() != lastRelease.key)
        return false;
    const quint64 apart = time > lastRelease.time ? time - lastRelease.time : lastRelease.time - time;
    return apart <= kSameMomentMs;
}

// Enter and Escape type nothing anywhere that matters here: they press
// default buttons, answer and close boxes, send and move on. A key with
// Control or Alt is a shortcut or an editing command. Space presses the
// button it is on.
bool HeldKeys::onlyActs(const QObject* receiver, const QKeyEvent& press)
{
    if (isEnterOrEscape(press.key()))
        return true;
    if (press.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return true;
    return press.key() == Qt::Key_Space && qobject_cast<const QAbstractButton*>(receiver);
}

bool HeldKeys::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyRelease: {
        const auto& release = static_cast<const QKeyEvent&>(*event);
        if (release.timestamp() != 0)
            lastRelease = {release.key(), release.timestamp()};
        m_pressRepeats = false;
        return false;
    }
    // The override comes first and decides whether a shortcut runs; claiming
    // it sends the press to the control, where it is then dropped.
    case QEvent::ShortcutOverride:
    case QEvent::KeyPress: {
        const auto& press = static_cast<const QKeyEvent&>(*event);
        m_pressRepeats = isRepeat(press);
        if (!m_pressRepeats || !onlyActs(watched, press))
            return false;
        event->accept();
        return true;
    }
    // A shortcut that a repeated press matched: a menu item, an access key.
    case QEvent::Shortcut: return m_pressRepeats;
    default: return false;
    }
}
