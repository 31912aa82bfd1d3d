// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What this process has used up to a moment: CPU seconds of every thread
// (user and system), the monotonic clock, and the peak resident size so far.
struct UsageSnapshot {
    double cpuSeconds = 0;
    long long monotonicNs = 0;
    long peakRssKb = 0;

    static UsageSnapshot now();
};

// Reports the span between two snapshots for the driver: cpu_s, start_ns,
// end_ns, wall_s, start_peak_rss_kb and peak_rss_kb.
void reportSpan(const UsageSnapshot& from, const UsageSnapshot& to);

// One figure for the driver: "key value" on a line of standard output,
// flushed at once.
void report(const char* key, double value);
