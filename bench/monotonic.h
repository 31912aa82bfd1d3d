// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <ctime>

// Nanoseconds of CLOCK_MONOTONIC: one clock for every process of the
// machine, so times taken by the program side and the driver compare.
inline long long monotonicNs()
{
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<long long>(t.tv_sec) * 1000000000LL + t.tv_nsec;
}
