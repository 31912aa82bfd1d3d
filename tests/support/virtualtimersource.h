// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/timersource.h"

#include <functional>
#include <memory>
#include <vector>

class VirtualTimer;

// Timers and loops in virtual time: a loop with nothing to do moves the
// clock straight on to the next due timer and fires it, so a wait of an
// hour takes no real time. Events posted to the thread are delivered
// before each timer fires. Timers due at the same time fire in the order
// they were started.
class VirtualTimerSource : public TimerSource {
public:
    VirtualTimerSource();
    ~VirtualTimerSource() override;

    std::unique_ptr<SourceTimer> newTimer() override;
    std::unique_ptr<SourceLoop> newLoop() override;
    qint64 elapsedMs() const override { return m_nowMs; }

    // Delivers posted events, then moves the clock to the next due timer
    // and fires it; false when no timer runs.
    bool fireNext();
    // Calls act when the clock reaches ms from now. The call is dropped
    // with the source.
    void singleShot(qint64 ms, std::function<void()> act);

private:
    friend class VirtualTimer;

    void arm(VirtualTimer* timer);
    void disarm(VirtualTimer* timer);

    qint64 m_nowMs = 0;
    quint64 m_started = 0;   // orders timers due at the same time
    std::vector<VirtualTimer*> m_armed;
    std::vector<std::unique_ptr<SourceTimer>> m_shots;
};
