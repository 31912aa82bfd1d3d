// SPDX-License-Identifier: GPL-3.0-or-later
#include "outputpump.h"

#include <QSocketNotifier>

#include <cerrno>
#include <unistd.h>

namespace {

constexpr int kTickMs = 50;

}   // namespace

OutputPump::OutputPump(int fd, bool rateLimited, QObject* parent)
    : QObject(parent),
      m_fd(fd),
      m_rateLimited(rateLimited),
      m_writable(new QSocketNotifier(fd, QSocketNotifier::Write, this))
{
    m_writable->setEnabled(false);
    connect(m_writable, &QSocketNotifier::activated, this, &OutputPump::pump);
    m_tick.setTimerType(Qt::PreciseTimer);
    m_tick.setInterval(kTickMs);
    connect(&m_tick, &QTimer::timeout, this, &OutputPump::pump);
}

void OutputPump::send(const QByteArray& bytes)
{
    m_queue += bytes;
    pump();
}

void OutputPump::pause()
{
    m_paused = true;
    pump();
}

void OutputPump::resume()
{
    m_paused = false;
    m_burst.invalidate();   // the pause does not earn a burst
    pump();
}

void OutputPump::discard()
{
    m_queue.clear();
    pump();
}

void OutputPump::pump()
{
    if (m_paused || m_queue.isEmpty()) {
        m_tick.stop();
        m_writable->setEnabled(false);
        m_burst.invalidate();
        return;
    }
    const qint64 allowed = m_rateLimited ? qMin<qint64>(allowance(), m_queue.size()) : m_queue.size();
    const qint64 written = allowed > 0 ? ::write(m_fd, m_queue.constData(), allowed) : 0;
    if (written < 0 && errno != EAGAIN && errno != EINTR) {
        m_queue.clear();   // the line is gone; nothing to keep the output for
    } else if (written > 0) {
        m_queue.remove(0, written);
        m_burstBytes += written;
    }
    if (m_queue.isEmpty())
        pump();
    else
        waitForRoom(written < allowed);
}

// Bytes the rate allows now: the time since the burst started pays for
// them, which keeps the average exact whatever the timer jitter.
qint64 OutputPump::allowance()
{
    if (!m_burst.isValid()) {
        m_burst.start();
        m_burstBytes = 0;
    }
    return 1 + m_burst.elapsed() * kBytesPerSecond / 1000 - m_burstBytes;
}

// A full kernel buffer waits for the descriptor; otherwise only the rate
// holds the output back, and the tick comes back for more.
void OutputPump::waitForRoom(bool kernelFull)
{
    const bool byRate = m_rateLimited && !kernelFull;
    m_writable->setEnabled(!byRate);
    if (!byRate)
        m_tick.stop();
    else if (!m_tick.isActive())
        m_tick.start();
}
