// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

class QSocketNotifier;

// Writes the simulator's output to the line without blocking. XOFF from
// the far end pauses it and XON resumes it; with rate limiting it sends
// no faster than a 1200 bit/s line carries (120 bytes a second).
class OutputPump : public QObject {
    Q_OBJECT

public:
    static constexpr int kBytesPerSecond = 120;

    OutputPump(int fd, bool rateLimited, QObject* parent = nullptr);

    void send(const QByteArray& bytes);
    void pause();
    void resume();
    void discard();
    bool isPaused() const { return m_paused; }

private:
    void pump();
    qint64 allowance();
    void waitForRoom(bool kernelFull);

    int m_fd;
    bool m_rateLimited;
    bool m_paused = false;
    QByteArray m_queue;
    QSocketNotifier* m_writable;
    QTimer m_tick;
    QElapsedTimer m_burst;   // running while a rate-limited burst goes out
    qint64 m_burstBytes = 0;
};
