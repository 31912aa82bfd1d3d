// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QtGlobal>

#include <memory>

// A repeating timer from a TimerSource.
class SourceTimer : public QObject {
    Q_OBJECT
public:
    // Fires every intervalMs from now on; a running timer starts over.
    virtual void start(int intervalMs) = 0;
    virtual void stop() = 0;
    virtual bool isActive() const = 0;

signals:
    void timeout();
};

// The loop a wait runs until something quits it, letting events through.
class SourceLoop {
public:
    virtual ~SourceLoop() = default;
    // Runs until quit() is called while it runs; a quit() before exec() is
    // forgotten, as with QEventLoop.
    virtual void exec() = 0;
    virtual void quit() = 0;
};

// Where waits get their timers, their loops and their clock. The program
// takes Qt's, in real time (qt()); a test or a fuzzer may give one whose
// time jumps to the next due timer whenever a loop has nothing else to do.
class TimerSource {
public:
    virtual ~TimerSource() = default;

    virtual std::unique_ptr<SourceTimer> newTimer() = 0;
    virtual std::unique_ptr<SourceLoop> newLoop() = 0;
    // Milliseconds on the source's clock, from a fixed start.
    virtual qint64 elapsedMs() const = 0;

    // Qt's timers and event loops, and a monotonic clock.
    static TimerSource& qt();
};
