// SPDX-License-Identifier: GPL-3.0-or-later
#include "waiter.h"

#include <algorithm>

namespace {
constexpr int kTickMs = 1000;
}

Waiter::Waiter(int realMsPerSecond, QObject* parent) : Waiter(TimerSource::qt(), realMsPerSecond, parent) {}

Waiter::Waiter(TimerSource& source, int realMsPerSecond, QObject* parent)
    : QObject(parent), m_source(source), m_timer(source, realMsPerSecond)
{
    m_timer.setInterval(kTickMs);
    connect(&m_timer, &TickTimer::ticked, this, &Waiter::Timer1_Timer);
}

void Waiter::wait_seconds(double seconds)
{
    if (m_stopped)
        return;
    const std::unique_ptr<SourceLoop> loop = m_source.newLoop();
    Wait wait{seconds, 0, loop.get()};
    m_waits.push_back(&wait);
    m_timer.setInterval(kTickMs);
    if (!m_timer.isActive())
        m_timer.start();
    while (wait.ticks <= seconds && !m_stopped)
        loop->exec();
    m_waits.erase(std::find(m_waits.begin(), m_waits.end(), &wait));
    m_lastTicks = wait.ticks;
    if (m_waits.empty())
        m_timer.stop();
}

void Waiter::stopAll()
{
    m_stopped = true;
    for (Wait* wait : m_waits)
        wait->loop->quit();
}

int Waiter::wait_ticks() const
{
    return m_waits.empty() ? m_lastTicks : m_waits.back()->ticks;
}

void Waiter::Timer1_Timer()
{
    for (Wait* wait : m_waits) {
        ++wait->ticks;
        if (wait->ticks > wait->seconds)
            wait->loop->quit();
    }
    emit ticked();
}
