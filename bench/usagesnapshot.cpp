// SPDX-License-Identifier: GPL-3.0-or-later
#include "usagesnapshot.h"

#include "monotonic.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/resource.h>

namespace {

double seconds(const timeval& t)
{
    return double(t.tv_sec) + double(t.tv_usec) / 1e6;
}

// The peak resident size of this process image. Not ru_maxrss: that also
// counts the image before exec, which for a process spawned by a benchmark
// holding a large load is the benchmark's own.
long peakResidentKb()
{
    FILE* status = std::fopen("/proc/self/status", "r");
    if (!status)
        return 0;
    char line[256];
    long kb = 0;
    while (std::fgets(line, sizeof line, status)) {
        if (std::strncmp(line, "VmHWM:", 6) == 0) {
            kb = std::strtol(line + 6, nullptr, 10);
            break;
        }
    }
    std::fclose(status);
    return kb;
}

}   // namespace

UsageSnapshot UsageSnapshot::now()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    UsageSnapshot s;
    s.cpuSeconds = seconds(usage.ru_utime) + seconds(usage.ru_stime);
    s.monotonicNs = ::monotonicNs();
    s.peakRssKb = peakResidentKb();
    return s;
}

void reportSpan(const UsageSnapshot& from, const UsageSnapshot& to)
{
    report("cpu_s", to.cpuSeconds - from.cpuSeconds);
    report("start_ns", double(from.monotonicNs));
    report("end_ns", double(to.monotonicNs));
    report("wall_s", double(to.monotonicNs - from.monotonicNs) / 1e9);
    report("start_peak_rss_kb", double(from.peakRssKb));
    report("peak_rss_kb", double(to.peakRssKb));
}

void report(const char* key, double value)
{
    std::printf("%s %.17g\n", key, value);
    std::fflush(stdout);
}
