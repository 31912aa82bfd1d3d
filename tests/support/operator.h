// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/prompter.h"

#include <QMetaType>
#include <QString>
#include <QWidget>

// What the operator does, as real Qt input: clicks, keys, the focus; and the
// boxes the operator is shown, compared whole.

// A box as one line of text, so that a failed QCOMPARE of two boxes shows both.
char* toString(const MessageBox& box);

// A box with only an OK button.
MessageBox okBox(const QString& prompt, const QString& title, MessageBox::Icon icon = MessageBox::Icon::None);
// The box of a command that did not go out: the port is closed or refused the write.
MessageBox guardBox();

// The control called name in window; the test stops when there is none.
template <typename T = QWidget>
T* control(const QWidget* window, const QString& name)
{
    T* found = window->findChild<T*>(name);
    if (!found)
        qFatal("no control %s", qPrintable(name));
    return found;
}

// The control that has the keyboard focus, or null; and its name.
QWidget* focus();
QString focusName();

void click(QWidget* control);
// Clicks into a field at its left edge, where typing then begins.
void clickInto(QWidget* field);
// Clicks into the field, then types where the focus went.
void clickAndType(QWidget* field, const QString& keys);
// Gives the field the focus, then types the keys.
void type(QWidget* field, const QString& keys);
// Types each character as a key of its own, also characters that no key
// sequence of the test keyboard has (a surrogate pair is one key).
void typeText(QWidget* field, const QString& text);
void typeAndEnter(QWidget* field, const QString& keys);
void pressEnter(QWidget* control = focus());
// Enter held down: its first press, then the keyboard's repeats.
void holdEnter(QWidget* control = focus());
// How the operator sets a command off: a click on its button, or Enter, of
// the main keyboard or the keypad, in its control.
enum class Trigger { Click, Enter, KeypadEnter };
void setOff(QWidget* target, Trigger how);

// Another window comes to the front and goes again.
void switchAwayAndBack(QWidget* window);

Q_DECLARE_METATYPE(Trigger)
