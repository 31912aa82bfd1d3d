// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <cstdio>
#include <functional>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

// Permission bits do not stop root, so as root the work runs in a child
// process that has become the unprivileged user "nobody".
struct Unprivileged {
    static constexpr int kCannotDrop = 99;

    Unprivileged()
    {
        const passwd* nobody = getpwnam("nobody");
        uid = geteuid() != 0 ? geteuid() : nobody ? nobody->pw_uid : 65534;
        gid = geteuid() != 0 ? getegid() : nobody ? nobody->pw_gid : 65534;
    }

    // The exit code of work (0 or 1) run as the user; kCannotDrop when root
    // could not become it.
    int run(const std::function<bool()>& work) const
    {
        if (geteuid() != 0)
            return work() ? 0 : 1;
        fflush(stdout);
        const pid_t child = fork();
        if (child == 0) {
            if (setgroups(0, nullptr) != 0 || setgid(gid) != 0 || setuid(uid) != 0)
                _exit(kCannotDrop);
            _exit(work() ? 0 : 1);   // no destructors: the files belong to the parent
        }
        int status = 0;
        if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status))
            return kCannotDrop;
        return WEXITSTATUS(status);
    }

    // Gives path to the user with the given permission bits.
    bool give(const QString& path, mode_t mode) const
    {
        const QByteArray name = QFile::encodeName(path);
        return chown(name.constData(), uid, gid) == 0 && chmod(name.constData(), mode) == 0;
    }

    uid_t uid;
    gid_t gid;
};
