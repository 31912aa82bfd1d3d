// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

class QKeyEvent;

// A key held down: only its first press is the operator's. The keyboard's
// repeats type on in a field, but never send a command, move the focus, press
// a button, run a menu item or answer a box.
//
// On X a repeat is not always flagged: Qt marks one only when the next press
// is already queued as it reads the release; otherwise it delivers a plain
// release and a plain press carrying the same time. Such a press counts as
// a repeat too.
class HeldKeys : public QObject {
    Q_OBJECT
public:
    // Watches every key of the application; once is enough, more is harmless.
    static void watch();

    // Whether this press repeats a key held down: flagged as such, or
    // following the release of the same key at the same moment (within 1 ms).
    // Key events made without a time (0) are never taken for repeats.
    static bool isRepeat(const QKeyEvent& press);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit HeldKeys(QObject* parent) : QObject(parent) {}

    // Repeats that only act, and so are dropped before anyone sees them.
    static bool onlyActs(const QObject* receiver, const QKeyEvent& press);

    bool m_pressRepeats = false;   // the press being delivered now is a repeat
};
