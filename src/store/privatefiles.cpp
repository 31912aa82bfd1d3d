// SPDX-License-Identifier: GPL-3.0-or-later
#include "privatefiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace PrivateFiles {

namespace {
constexpr mode_t kFolderMode = 0700;
constexpr mode_t kFileMode = 0600;
constexpr int kMaxAside = 999;

QString systemError()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}
}   // namespace

bool makeFolder(const QString& folder, QString* error)
{
    if (!QDir().mkpath(folder)) {
        *error = QStringLiteral("The folder %1 cannot be made.").arg(QDir::toNativeSeparators(folder));
        return false;
    }
    const QByteArray path = QFile::encodeName(folder);
    struct stat info {};
    if (::stat(path.constData(), &info) == 0 && (info.st_mode & 07777) != kFolderMode
        && ::chmod(path.constData(), kFolderMode) != 0) {
        *error = QStringLiteral("The folder %1 cannot be made private: %2")
                     .arg(QDir::toNativeSeparators(folder), systemError());
        return false;
    }
    return true;
}

bool createFile(const QString& path, QString* error)
{
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, kFileMode);
    if (fd >= 0) {
        ::fchmod(fd, kFileMode);   // the umask may have taken bits away; never adds any
        ::close(fd);
        return true;
    }
    if (errno == EEXIST)
        return true;
    *error = QStringLiteral("%1 cannot be made: %2").arg(QDir::toNativeSeparators(path), systemError());
    return false;
}

void correct(const QStringList& paths)
{
    for (const QString& path : paths) {
        const QByteArray name = QFile::encodeName(path);
        struct stat info {};
        if (::lstat(name.constData(), &info) == 0 && S_ISREG(info.st_mode)
            && (info.st_mode & 07777) != kFileMode)
            ::chmod(name.constData(), kFileMode);
    }
}

QString freeAsideName(const QString& path, const QString& mark, const QStringList& suffixes)
{
    for (int n = 1; n <= kMaxAside; ++n) {
        const QString candidate = path + u'.' + mark + (n == 1 ? QString() : QStringLiteral(".%1").arg(n));
        bool taken = false;
        for (const QString& suffix : suffixes)
            taken =
                taken || QFileInfo::exists(candidate + suffix) || QFileInfo(candidate + suffix).isSymLink();
        if (!taken)
            return candidate;
    }
    return QString();
}

}   // namespace PrivateFiles
