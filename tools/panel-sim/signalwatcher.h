// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

class QSocketNotifier;

// Turns SIGINT, SIGTERM and SIGHUP into a Qt signal through a self-pipe,
// since almost nothing is safe to do inside a signal handler.
class SignalWatcher : public QObject {
    Q_OBJECT

public:
    explicit SignalWatcher(QObject* parent = nullptr);

signals:
    void stopRequested();

private:
    static void onSignal(int signal);
    void drain();

    QSocketNotifier* m_notifier = nullptr;
};
