// SPDX-License-Identifier: GPL-3.0-or-later
#include "faultrig.h"

#include <QTest>

#include <csignal>
#include <sys/resource.h>

namespace {
double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}
}   // namespace

double cpuSecondsWhileIdle(int ms)
{
    const double before = cpuSeconds();
    QTest::qWait(ms);
    return cpuSeconds() - before;
}

QString spinning(double cpuSeconds)
{
    return QStringLiteral("%1 s of processor time in %2 ms with nothing to do: something spins")
        .arg(cpuSeconds)
        .arg(kIdleMs);
}

FileSizeLimit::FileSizeLimit(qint64 bytes)
{
    rlimit limit{};
    if (getrlimit(RLIMIT_FSIZE, &limit) != 0)
        return;
    m_previous = limit.rlim_cur;
    limit.rlim_cur = rlim_t(bytes);
    std::signal(SIGXFSZ, SIG_IGN);
    m_set = setrlimit(RLIMIT_FSIZE, &limit) == 0;
}

FileSizeLimit::~FileSizeLimit()
{
    lift();
}

void FileSizeLimit::lift()
{
    if (!m_set)
        return;
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = rlim_t(m_previous);
    setrlimit(RLIMIT_FSIZE, &limit);
    m_set = false;
}
