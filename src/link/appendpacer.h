// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QTimer>

// Paces the appends of received text to the pane: text that arrives a few
// bytes at a time (the line's own 120 bytes a second) goes in at most once a
// frame, so that the pane is laid out and painted 25 times a second rather
// than once for every byte. The first chunk after a quiet frame goes in at
// once; a large one (a burst) never waits.
class AppendPacer : public QObject {
    Q_OBJECT
public:
    static constexpr int kFrameMs = 40;
    static constexpr int kHoldLimit = 256;   // characters held back at most

    explicit AppendPacer(QObject* parent = nullptr);

    // Whether the held characters go into the pane now; when not, frameEnded
    // follows within the frame.
    bool appendNow(qsizetype held);
    // Ends the frame early: what is held goes in with the next append.
    void endFrame() { m_frame.stop(); }

signals:
    // Held text may go in now.
    void frameEnded();

private:
    QTimer m_frame;
};
