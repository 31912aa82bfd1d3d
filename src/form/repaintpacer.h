// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QTimer>

class QWidget;

// Paces the repaints of a widget whose content changes faster than anyone
// can read it (the receive pane while a stream of data arrives): the first
// change after a quiet frame is painted as usual, the changes that follow
// within the frame are painted together when it ends.
class RepaintPacer : public QObject {
    Q_OBJECT
public:
    static constexpr int kFrameMs = 20;

    // The pacer of a widget, created on first use.
    static RepaintPacer& of(QWidget* widget);

    // The widget's content is about to change.
    void changing();

private:
    explicit RepaintPacer(QWidget* widget);
    void frameEnded();

    QWidget* m_widget;
    QTimer m_frame;
};
