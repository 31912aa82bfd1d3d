// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/timersource.h"

#include <QObject>

#include <memory>

// A timer whose interval is given in the program's milliseconds. The program
// runs with a tick of 1000 ms to the second; tests construct it with a shorter
// real length for the same nominal interval, so waits keep their tick counts.
// Its ticks come from a TimerSource, Qt's unless another is given.
class TickTimer : public QObject {
    Q_OBJECT
public:
    static constexpr int kRealScale = 1000;   // real milliseconds per nominal second

    explicit TickTimer(int realMsPerSecond = kRealScale, QObject* parent = nullptr);
    TickTimer(TimerSource& source, int realMsPerSecond, QObject* parent = nullptr);

    void setInterval(int nominalMs);
    int interval() const { return m_nominalMs; }
    void start();
    void stop();
    bool isActive() const { return m_timer->isActive(); }

signals:
    void ticked();

private:
    std::unique_ptr<SourceTimer> m_timer;
    int m_realMsPerSecond;
    int m_realMs = 1000;
    int m_nominalMs = 1000;
};
