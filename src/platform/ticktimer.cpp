// SPDX-License-Identifier: GPL-3.0-or-later
#include "ticktimer.h"

#include <algorithm>

TickTimer::TickTimer(int realMsPerSecond, QObject* parent)
    : QObject(parent), m_realMsPerSecond(std::max(1, realMsPerSecond))
{
    m_timer.setTimerType(Qt::CoarseTimer);
    connect(&m_timer, &QTimer::timeout, this, &TickTimer::ticked);
    setInterval(m_nominalMs);
}

void TickTimer::setInterval(int nominalMs)
{
    m_nominalMs = nominalMs;
    const qint64 real = qint64(nominalMs) * m_realMsPerSecond / 1000;
    m_timer.setInterval(int(std::max<qint64>(1, real)));
}

void TickTimer::start() { m_timer.start(); }

void TickTimer::stop() { m_timer.stop(); }
