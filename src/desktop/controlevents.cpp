// SPDX-License-Identifier: GPL-3.0-or-later
#include "controlevents.h"

#include "desktop/heldkeys.h"
#include "desktop/maskedfield.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QWidget>

namespace {

int keyCodeOf(const QKeyEvent& key)
{
    switch (key.key()) {
    case Qt::Key_Backspace: return ControlEvents::kBackspace;
    case Qt::Key_Return:
    case Qt::Key_Enter: return ControlEvents::kEnter;
    case Qt::Key_Escape: return 27;
    case Qt::Key_Delete: return 46;
    default: return key.key() < 0x100 ? key.key() : 0;
    }
}

// The character a key types, 0 for keys that type none.
int charCodeOf(const QKeyEvent& key)
{
    switch (key.key()) {
    case Qt::Key_Backspace: return ControlEvents::kBackspace;
    case Qt::Key_Return:
    case Qt::Key_Enter: return ControlEvents::kEnter;
    default: break;
    }
    const QString text = key.text();
    if (text.isEmpty() || !text.at(0).isPrint())
        return 0;
    return text.at(0).unicode();
}

}   // namespace

ControlEvents::ControlEvents(QWidget* control) : QObject(control)
{
    HeldKeys::watch();
    control->installEventFilter(this);
}

ControlEvents& ControlEvents::of(QWidget* control)
{
    if (auto* existing = control->findChild<ControlEvents*>(QString(), Qt::FindDirectChildrenOnly))
        return *existing;
    return *new ControlEvents(control);
}

// The focus arrives by the keyboard, a click or the program. It only comes
// back when the window is activated again or a menu or popup closes (or the
// menu bar's keyboard mode ends): the control was not left, so the caret the
// operator had stays.
bool ControlEvents::focusArrives(Qt::FocusReason reason)
{
    switch (reason) {
    case Qt::TabFocusReason:
    case Qt::BacktabFocusReason:
    case Qt::ShortcutFocusReason:
    case Qt::MouseFocusReason:
    case Qt::OtherFocusReason: return true;
    default: return false;
    }
}

bool ControlEvents::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn && gotFocus) {
        const Qt::FocusReason reason = static_cast<const QFocusEvent&>(*event).reason();
        if (!focusArrives(reason))
            return false;
        watched->event(event);   // the control's own handling first
        gotFocus();
        // The click that brought the focus is handled after this and puts the
        // caret where it lands. A masked field is typed over from its first
        // position: there the caret goes back to the start once it has.
        m_clickPending = reason == Qt::MouseFocusReason && qobject_cast<MaskedField*>(watched);
        return true;
    }
    if (event->type() == QEvent::FocusOut)
        m_clickPending = false;
    if (event->type() == QEvent::MouseButtonPress && m_clickPending) {
        m_clickPending = false;
        watched->event(event);
        gotFocus();
        return true;
    }
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto& key = static_cast<const QKeyEvent&>(*event);
    // A held key types on, but only its first press is the operator's: the
    // repeats never send a command or move the focus along. A held Enter has
    // nothing to repeat.
    if (HeldKeys::isRepeat(key))
        return keyCodeOf(key) == kEnter;
    if (keyDown && keyDown(keyCodeOf(key)))
        return true;
    int code = charCodeOf(key);
    if (keyPress && code != 0) {
        keyPress(code);
        if (code == 0)
            return true;
    }
    return false;
}
