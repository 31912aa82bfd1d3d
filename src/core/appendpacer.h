// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QTimer>

class SerialPort;

// Paces the appends of received text to the pane: text that arrives a few
// bytes at a time (the line's own 120 bytes a second) goes in at most once a
// frame, so that the pane is laid out and painted 12 times a second rather
// than once for every byte. An update of the pane costs much the same
// however few characters it brings, and the frame is short enough that a
// character shows within 100 ms of its arrival. The first chunk after a
// quiet frame goes in at once; a large one (a burst) never waits.
//
// A frame that a small chunk started also pauses the port's reading: the
// bytes of the frame wait in the system's buffer instead of waking the
// program one by one, and are read together when it ends.
class AppendPacer : public QObject {
    Q_OBJECT
public:
    static constexpr int kFrameMs = 80;
    static constexpr int kHoldLimit = 256;   // characters held back at most

    explicit AppendPacer(SerialPort& port, QObject* parent = nullptr);

    // Whether the held characters go into the pane now; when not, frameEnded
    // follows within the frame.
    bool appendNow(qsizetype held);
    // Ends the frame early: what is held goes in with the next append, and
    // the port reads again.
    void endFrame();

signals:
    // Held text may go in now.
    void frameEnded();

private:
    void frameTimedOut();

    SerialPort& m_port;
    QTimer m_frame;
};
