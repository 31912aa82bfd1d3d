// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <functional>

class QWidget;

// The focus and keyboard notifications of a control, in the order a key
// reaches it: keyDown with the key code, then keyPress with the character
// code before the character is inserted, then the control's own handling.
class ControlEvents : public QObject {
    Q_OBJECT
public:
    static constexpr int kBackspace = 8;
    static constexpr int kEnter = 13;

    // The notifications of a control, created on first use.
    static ControlEvents& of(QWidget* control);

    // Runs when the focus arrives (see focusArrives), after the control's own
    // focus handling so that a caret set here stays; a click that brings the
    // focus is handled after it, except in a masked field (see the filter).
    std::function<void()> gotFocus;
    // keyDown and keyPress never see a held key's repeats (see HeldKeys).
    // Return true to swallow the key.
    std::function<bool(int keyCode)> keyDown;
    // May set the code to 0 to swallow the character.
    std::function<void(int& charCode)> keyPress;

    bool eventFilter(QObject* watched, QEvent* event) override;

    // True for a focus that comes to the control, false for one that only
    // comes back to it (window activated again, menu or popup closed).
    static bool focusArrives(Qt::FocusReason reason);

private:
    explicit ControlEvents(QWidget* control);

    bool m_clickPending = false;   // the focus came by a mouse press not yet handled
};
