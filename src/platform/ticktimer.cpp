// SPDX-License-Identifier: GPL-3.0-or-later
#include "ticktimer.h"

#include <algorithm>

TickTimer::TickTimer(int realMsPerSecond, QObject* parent)
    : TickTimer(TimerSource::qt(), realMsPerSecond, parent)
{}

TickTimer::TickTimer(TimerSource& source, int realMsPerSecond, QObject* parent)
    : QObject(parent), m_timer(source.newTimer()), m_realMsPerSecond(std::max(1, realMsPerSecond))
{
    connect(m_timer.get(), &SourceTimer::timeout, this, &TickTimer::ticked);
    setInterval(m_nominalMs);
}

// A running timer starts over at the new interval, as a QTimer does.
void TickTimer::setInterval(int nominalMs)
{
    m_nominalMs = nominalMs;
    const qint64 real = qint64(nominalMs) * m_realMsPerSecond / 1000;
    m_realMs = int(std::max<qint64>(1, real));
    if (m_timer->isActive())
        m_timer->start(m_realMs);
}

void TickTimer::start()
{
    m_timer->start(m_realMs);
}

void TickTimer::stop()
{
    m_timer->stop();
}
