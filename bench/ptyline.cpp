#include "ptyline.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

namespace {
constexpr size_t kWriteChunk = 64 * 1024;
}

PtyLine::PtyLine()
{
    char name[256] = {};
    if (openpty(&m_master, &m_slave, name, nullptr, nullptr) != 0) {
        m_master = m_slave = -1;
        return;
    }
    termios raw{};
    tcgetattr(m_slave, &raw);
    cfmakeraw(&raw);
    tcsetattr(m_slave, TCSANOW, &raw);
    fcntl(m_master, F_SETFL, fcntl(m_master, F_GETFL) | O_NONBLOCK);
    m_slavePath = name;
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
    while (m_master >= 0 && read(m_master, buffer, sizeof buffer) > 0) {
    }
}
