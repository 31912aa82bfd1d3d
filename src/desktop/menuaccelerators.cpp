// SPDX-License-Identifier: GPL-3.0-or-later
#include "menuaccelerators.h"

#include "desktop/heldkeys.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

MenuAccelerators::MenuAccelerators(QWidget* window, QObject* parent) : QObject(parent), m_window(window)
{
    // Seen for every control of the window, before the control's own filters.
    qApp->installEventFilter(this);
}

void MenuAccelerators::add(QKeyCombination key, QAction* item)
{
    m_keys.emplace_back(key, item);
}

// The item whose key this is, when it reaches a control of the window.
QAction* MenuAccelerators::itemFor(const QObject* receiver, const QEvent* event) const
{
    if (event->type() != QEvent::ShortcutOverride && event->type() != QEvent::KeyPress)
        return nullptr;
    const auto* widget = qobject_cast<const QWidget*>(receiver);
    if (!widget || widget->window() != m_window)
        return nullptr;
    const auto& key = static_cast<const QKeyEvent&>(*event);
    const QKeyCombination pressed(key.modifiers() & ~Qt::KeypadModifier, Qt::Key(key.key()));
    for (const auto& [combination, item] : m_keys) {
        if (combination == pressed)
            return item;
    }
    return nullptr;
}

// Claiming the override keeps the window's shortcuts from running the item a
// second time; the key press that follows runs it here, and nothing else.
// A held key runs it once.
bool MenuAccelerators::eventFilter(QObject* watched, QEvent* event)
{
    QAction* item = itemFor(watched, event);
    if (!item)
        return false;
    event->accept();
    if (event->type() == QEvent::KeyPress && !HeldKeys::isRepeat(static_cast<const QKeyEvent&>(*event)))
        item->trigger();
    return true;
}
