// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/ticktimer.h"

#include <QObject>
#include <vector>

// wait_seconds and Timer1: waits that let the event loop run (received data,
// clicks, Disconnect) while sleeping until the next event, counted in ticks
// of Timer1. Every wait keeps a count of its own, so a wait started inside
// another one never leaves the outer one without ticks. Timer1 and the loops
// come from a TimerSource, Qt's unless another is given.
class Waiter : public QObject {
    Q_OBJECT
public:
    explicit Waiter(int realMsPerSecond = TickTimer::kRealScale, QObject* parent = nullptr);
    Waiter(TimerSource& source, int realMsPerSecond, QObject* parent = nullptr);

    // Returns after the first tick that makes the wait's count exceed seconds.
    void wait_seconds(double seconds);
    // Ends every wait in progress and makes later waits return at once.
    void stopAll();

    // The tick counter of the innermost wait (of the last one when none runs).
    int wait_ticks() const;
    bool waiting() const { return !m_waits.empty(); }

    TickTimer& Timer1() { return m_timer; }

signals:
    void ticked();

private:
    struct Wait {
        double seconds = 0;
        int ticks = 0;
        SourceLoop* loop = nullptr;
    };

    void Timer1_Timer();

    TimerSource& m_source;
    TickTimer m_timer;
    std::vector<Wait*> m_waits;
    int m_lastTicks = 0;
    bool m_stopped = false;
};
