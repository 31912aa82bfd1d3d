// SPDX-License-Identifier: GPL-3.0-or-later
#include "serialline.h"

#include <QSocketNotifier>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <pty.h>
#include <stdlib.h>
#include <sys/inotify.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace {

constexpr int kCarrierPollMs = 250;
constexpr qint64 kReadChunk = 1024;

QString systemError(const QString& what)
{
    return what + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(errno));
}

void makeRaw1200(termios* tio)
{
    cfmakeraw(tio);
    cfsetispeed(tio, B1200);
    cfsetospeed(tio, B1200);
    tio->c_cflag |= CLOCAL | CREAD;
    tio->c_cflag &= ~CRTSCTS;
    tio->c_iflag &= ~(IXON | IXOFF | IXANY);   // XON/XOFF is handled by us
    tio->c_cc[VMIN] = 1;
    tio->c_cc[VTIME] = 0;
}

}   // namespace

SerialLine::SerialLine(QObject* parent) : QObject(parent)
{
    m_carrierTimer.setInterval(kCarrierPollMs);
    connect(&m_carrierTimer, &QTimer::timeout, this, &SerialLine::checkCarrier);
}

SerialLine::~SerialLine()
{
    for (const int fd : {m_fd, m_slaveFd, m_inotifyFd}) {
        if (fd >= 0)
            ::close(fd);
    }
}

bool SerialLine::openPty(QString* error)
{
    if (::openpty(&m_fd, &m_slaveFd, nullptr, nullptr, nullptr) < 0) {
        *error = systemError(QStringLiteral("cannot open a pseudo-terminal"));
        return false;
    }
    char name[128] = {};
    termios tio{};
    ::tcgetattr(m_slaveFd, &tio);
    makeRaw1200(&tio);
    ::tcsetattr(m_slaveFd, TCSANOW, &tio);
    ::ptsname_r(m_fd, name, sizeof name);
    m_path = QString::fromLocal8Bit(name);
    ::fcntl(m_fd, F_SETFL, ::fcntl(m_fd, F_GETFL) | O_NONBLOCK);
    ::fcntl(m_fd, F_SETFD, FD_CLOEXEC);
    ::fcntl(m_slaveFd, F_SETFD, FD_CLOEXEC);
    watchClients();
    listen();
    return true;
}

bool SerialLine::openDevice(const QString& path, QString* error)
{
    m_fd = ::open(path.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    termios tio{};
    if (m_fd < 0 || ::tcgetattr(m_fd, &tio) < 0) {
        *error = systemError(QStringLiteral("cannot open serial device %1").arg(path));
        return false;
    }
    makeRaw1200(&tio);
    if (::tcsetattr(m_fd, TCSANOW, &tio) < 0) {
        *error = systemError(QStringLiteral("cannot set up %1").arg(path));
        return false;
    }
    m_path = path;
    m_carrierTimer.start();
    listen();
    return true;
}

void SerialLine::discardUnread()
{
    if (isPty())
        ::tcflush(m_slaveFd, TCIFLUSH);
}

void SerialLine::listen()
{
    m_dataNotifier = new QSocketNotifier(m_fd, QSocketNotifier::Read, this);
    connect(m_dataNotifier, &QSocketNotifier::activated, this, &SerialLine::service);
}

void SerialLine::watchClients()
{
    // Without inotify the simulator still works; it just cannot tell hang-ups.
    m_inotifyFd = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    const QByteArray path = m_path.toLocal8Bit();
    if (m_inotifyFd >= 0 && ::inotify_add_watch(m_inotifyFd, path.constData(), IN_OPEN | IN_CLOSE) < 0) {
        ::close(m_inotifyFd);
        m_inotifyFd = -1;
    }
    if (m_inotifyFd < 0)
        return;
    m_clientNotifier = new QSocketNotifier(m_inotifyFd, QSocketNotifier::Read, this);
    connect(m_clientNotifier, &QSocketNotifier::activated, this, &SerialLine::service);
}

// Bytes already waiting before the client changes are read were sent
// before any of those changes, so each byte reaches the right connection
// even when a client closes and reopens the line between two wake-ups.
void SerialLine::service()
{
    const qint64 waiting = bytesWaiting();
    const QList<int> changes = readClientChanges();
    bool dataRead = false;
    for (int i = 0; i < changes.size(); ++i) {
        m_clients = qMax(0, m_clients + changes.at(i));
        if (changes.at(i) > 0 || m_clients > 0)
            continue;
        // Nobody opened the line again yet: what is waiting came from the
        // client that just left and belongs before its hang-up.
        if (!dataRead && !changes.mid(i + 1).contains(1)) {
            readData(waiting);
            dataRead = true;
        }
        emit hungUp();
    }
    if (!dataRead)
        readData(waiting);
}

qint64 SerialLine::bytesWaiting() const
{
    int count = 0;
    if (!isPty() || ::ioctl(m_fd, FIONREAD, &count) < 0)
        return kReadChunk;   // let the read itself report what is wrong
    return count;
}

QList<int> SerialLine::readClientChanges()
{
    QList<int> changes;
    if (m_inotifyFd < 0)
        return changes;
    alignas(inotify_event) char buffer[4096];
    ssize_t n;
    while ((n = ::read(m_inotifyFd, buffer, sizeof buffer)) > 0) {
        for (char* p = buffer; p < buffer + n;) {
            const auto* event = reinterpret_cast<const inotify_event*>(p);
            if (event->mask & IN_OPEN)
                changes.append(1);
            else if (event->mask & IN_CLOSE)
                changes.append(-1);
            p += sizeof(inotify_event) + event->len;
        }
    }
    return changes;
}

void SerialLine::readData(qint64 count)
{
    if (count <= 0)
        return;
    QByteArray buffer(count, Qt::Uninitialized);
    const ssize_t n = ::read(m_fd, buffer.data(), buffer.size());
    if (n > 0) {
        buffer.truncate(n);
        emit received(buffer);
        return;
    }
    if (n < 0 && (errno == EAGAIN || errno == EINTR))
        return;
    // A device that vanished (USB adapter pulled) ends the simulator.
    m_dataNotifier->setEnabled(false);
    emit failed(n == 0 ? QStringLiteral("%1: end of input").arg(m_path)
                       : systemError(QStringLiteral("cannot read %1").arg(m_path)));
}

void SerialLine::checkCarrier()
{
    int status = 0;
    if (::ioctl(m_fd, TIOCMGET, &status) < 0)
        return;
    const bool carrier = status & TIOCM_CD;
    // Only a drop counts: a cable without the line wired never raises it.
    if (m_carrier && !carrier)
        emit hungUp();
    m_carrier = carrier;
}
