// SPDX-License-Identifier: GPL-3.0-or-later
#include "ptyclient.h"

#include <QElapsedTimer>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

PtyClient::~PtyClient()
{
    close();
}

bool PtyClient::open(const QString& path)
{
    close();
    m_fd = ::open(path.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    termios tio{};
    if (m_fd < 0 || ::tcgetattr(m_fd, &tio) < 0)
        return false;
    cfmakeraw(&tio);
    return ::tcsetattr(m_fd, TCSANOW, &tio) == 0;
}

void PtyClient::close()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

bool PtyClient::write(const QByteArray& bytes)
{
    return ::write(m_fd, bytes.constData(), bytes.size()) == bytes.size();
}

QByteArray PtyClient::readUntil(const QByteArray& expected, int timeoutMs)
{
    QByteArray data;
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < timeoutMs && (expected.isEmpty() || !data.contains(expected))) {
        pollfd pfd{m_fd, POLLIN, 0};
        if (::poll(&pfd, 1, static_cast<int>(qMax<qint64>(0, timeoutMs - clock.elapsed()))) <= 0)
            continue;
        char buffer[512];
        const ssize_t n = ::read(m_fd, buffer, sizeof buffer);
        if (n > 0)
            data.append(buffer, n);
    }
    return data;
}
