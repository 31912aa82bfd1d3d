// SPDX-License-Identifier: GPL-3.0-or-later
#include "ptyline.h"

#include "rawpty.h"

#include <algorithm>
#include <cerrno>
#include <poll.h>
#include <unistd.h>

namespace {
constexpr size_t kWriteChunk = 64 * 1024;
}

PtyLine::PtyLine()
{
    openRawPty(m_master, m_slave, m_slavePath);
}

PtyLine::~PtyLine()
{
    if (m_master >= 0)
        close(m_master);
    if (m_slave >= 0)
        close(m_slave);
}

// What the program sends back (the line's XOFF and XON among it) is read
// as it comes, so that it never holds up the line.
bool PtyLine::writeAll(const std::string& bytes, int stallMs)
{
    size_t done = 0;
    while (m_master >= 0 && done < bytes.size()) {
        const ssize_t n = write(m_master, bytes.data() + done, std::min(kWriteChunk, bytes.size() - done));
        if (n > 0) {
            done += size_t(n);
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EINTR)
            return false;
        pollfd p{m_master, POLLOUT | POLLIN, 0};
        if (poll(&p, 1, stallMs) == 0)
            return false;
        if (p.revents & POLLIN)
            drain();
    }
    return done == bytes.size();
}

void PtyLine::drain()
{
    char buffer[4096];
    while (m_master >= 0 && read(m_master, buffer, sizeof buffer) > 0) {}
}
