// SPDX-License-Identifier: GPL-3.0-or-later
#include "openrefusal.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <optional>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {

// The folders where serial programs keep their lock files.
const QStringList kLockFolders = {QStringLiteral("/var/lock"),
                                  QStringLiteral("/run/lock"),
                                  QStringLiteral("/var/lock/lockdev"),
                                  QStringLiteral("/var/spool/locks"),
                                  QStringLiteral("/var/spool/uucp"),
                                  QStringLiteral("/etc/locks"),
                                  QStringLiteral("/tmp"),
                                  QStringLiteral("/var/tmp")};

// A lock file is named after the device below /dev, slashes made underscores
// ("LCK..ttyS0", "LCK..pts_3"); a link such as /dev/serial/by-id/... may be
// locked under the name of the device it leads to.
QStringList lockNamesOf(const QString& device)
{
    const QString dev = QStringLiteral("/dev/");
    QStringList names;
    for (const QString& path : {device, QFileInfo(device).canonicalFilePath()}) {
        if (path.isEmpty())
            continue;
        QString name = path.startsWith(dev) ? path.mid(dev.size()) : QFileInfo(path).fileName();
        name = QStringLiteral("LCK..") + name.replace(u'/', u'_');
        if (!names.contains(name))
            names << name;
    }
    return names;
}

std::optional<QString> lockFileOf(const QString& device)
{
    for (const QString& folder : kLockFolders) {
        for (const QString& name : lockNamesOf(device)) {
            const QString path = QDir(folder).filePath(name);
            if (QFileInfo(path).isFile())
                return path;
        }
    }
    return std::nullopt;
}

// The process id stands first in the file, as text; whatever follows
// (program and host names) differs between programs.
qint64 pidIn(const QString& lockFile)
{
    QFile file(lockFile);
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> words = file.read(256).simplified().split(' ');
    const qint64 pid = words.first().toLongLong();
    return pid > 0 ? pid : 0;
}

QString processName(qint64 pid)
{
    QFile comm(QStringLiteral("/proc/%1/comm").arg(pid));
    if (!comm.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromLocal8Bit(comm.readAll().trimmed());
}

// What the system answers when the device itself is opened.
OpenResult::Error deviceAnswer(const QString& device)
{
#ifdef Q_OS_UNIX
    const int fd = ::open(QFile::encodeName(device).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd >= 0) {
        ::close(fd);
        return OpenResult::Error::Other;
    }
    if (errno == EBUSY)
        return OpenResult::Error::Busy;
    if (errno == EACCES || errno == EPERM)
        return OpenResult::Error::Permission;
#else
    Q_UNUSED(device);
#endif
    return OpenResult::Error::Other;
}

}   // namespace

void explainRefusal(OpenResult& result)
{
    if (const auto lockFile = lockFileOf(result.device)) {
        result.error = OpenResult::Error::Busy;
        result.holderPid = pidIn(*lockFile);
        if (result.holderPid > 0)
            result.holderName = processName(result.holderPid);
        return;
    }
    result.error = deviceAnswer(result.device);
}
