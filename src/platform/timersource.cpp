// SPDX-License-Identifier: GPL-3.0-or-later
#include "timersource.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

namespace {

class QtSourceTimer : public SourceTimer {
public:
    QtSourceTimer()
    {
        m_timer.setTimerType(Qt::CoarseTimer);
        connect(&m_timer, &QTimer::timeout, this, &SourceTimer::timeout);
    }

    void start(int intervalMs) override { m_timer.start(intervalMs); }
    void stop() override { m_timer.stop(); }
    bool isActive() const override { return m_timer.isActive(); }

private:
    QTimer m_timer;
};

class QtSourceLoop : public SourceLoop {
public:
    void exec() override { m_loop.exec(); }
    void quit() override { m_loop.quit(); }

private:
    QEventLoop m_loop;
};

class QtTimerSource : public TimerSource {
public:
    QtTimerSource() { m_clock.start(); }

    std::unique_ptr<SourceTimer> newTimer() override { return std::make_unique<QtSourceTimer>(); }
    std::unique_ptr<SourceLoop> newLoop() override { return std::make_unique<QtSourceLoop>(); }
    qint64 elapsedMs() const override { return m_clock.elapsed(); }

private:
    QElapsedTimer m_clock;
};

}   // namespace

TimerSource& TimerSource::qt()
{
    static QtTimerSource source;
    return source;
}
