// SPDX-License-Identifier: GPL-3.0-or-later
#include "virtualtimersource.h"

#include <QCoreApplication>

#include <algorithm>
#include <limits>

class VirtualTimer : public SourceTimer {
public:
    explicit VirtualTimer(VirtualTimerSource& source) : m_source(source) {}
    ~VirtualTimer() override { m_source.disarm(this); }

    void start(int intervalMs) override
    {
        m_intervalMs = std::max(0, intervalMs);
        m_dueMs = m_source.m_nowMs + m_intervalMs;
        m_source.arm(this);
    }
    void stop() override { m_source.disarm(this); }
    bool isActive() const override { return m_active; }

    qint64 dueMs() const { return m_dueMs; }
    quint64 order() const { return m_order; }

    // Runs out now: due again one interval later.
    void fire()
    {
        m_dueMs += std::max(1, m_intervalMs);
        m_source.arm(this);
        emit timeout();
    }

private:
    friend class VirtualTimerSource;

    VirtualTimerSource& m_source;
    int m_intervalMs = 0;
    qint64 m_dueMs = 0;
    quint64 m_order = 0;
    bool m_active = false;
};

namespace {

class VirtualLoop : public SourceLoop {
public:
    explicit VirtualLoop(VirtualTimerSource& source) : m_source(source) {}

    // With no timer left, nothing could end the loop: it returns.
    void exec() override
    {
        m_quit = false;
        while (!m_quit && m_source.fireNext()) {}
    }
    void quit() override { m_quit = true; }

private:
    VirtualTimerSource& m_source;
    bool m_quit = false;
};

}   // namespace

VirtualTimerSource::VirtualTimerSource() = default;

VirtualTimerSource::~VirtualTimerSource() = default;

std::unique_ptr<SourceTimer> VirtualTimerSource::newTimer()
{
    return std::make_unique<VirtualTimer>(*this);
}

std::unique_ptr<SourceLoop> VirtualTimerSource::newLoop()
{
    return std::make_unique<VirtualLoop>(*this);
}

bool VirtualTimerSource::fireNext()
{
    QCoreApplication::sendPostedEvents();
    const auto next = std::min_element(m_armed.begin(), m_armed.end(), [](VirtualTimer* a, VirtualTimer* b) {
        return a->dueMs() != b->dueMs() ? a->dueMs() < b->dueMs() : a->order() < b->order();
    });
    if (next == m_armed.end())
        return false;
    VirtualTimer* timer = *next;
    m_nowMs = std::max(m_nowMs, timer->dueMs());
    timer->fire();
    return true;
}

void VirtualTimerSource::singleShot(qint64 ms, std::function<void()> act)
{
    auto shot = std::make_unique<VirtualTimer>(*this);
    VirtualTimer* timer = shot.get();
    QObject::connect(timer, &SourceTimer::timeout, timer, [timer, act = std::move(act)] {
        timer->stop();
        act();
    });
    timer->start(int(std::clamp<qint64>(ms, 0, std::numeric_limits<int>::max())));
    m_shots.push_back(std::move(shot));
}

void VirtualTimerSource::arm(VirtualTimer* timer)
{
    timer->m_order = ++m_started;
    if (!timer->m_active)
        m_armed.push_back(timer);
    timer->m_active = true;
}

void VirtualTimerSource::disarm(VirtualTimer* timer)
{
    if (!timer->m_active)
        return;
    timer->m_active = false;
    m_armed.erase(std::find(m_armed.begin(), m_armed.end(), timer));
}
