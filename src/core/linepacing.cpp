// SPDX-License-Identifier: GPL-3.0-or-later
#include "linepacing.h"

#include "platform/leadingnumber.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr double kBytesPerLine = 50;
constexpr double kMsPerSecond = 1000;
constexpr double kMinimumSeconds = 2;
}   // namespace

LinePacing::LinePacing(const QString& byteCycle)
    : m_seconds(std::max(leadingNumber(byteCycle), 0.0) * kBytesPerLine / kMsPerSecond + kMinimumSeconds)
{}

double LinePacing::ticksPerLine() const
{
    return std::floor(m_seconds) + 1;
}

double LinePacing::secondsFor(qint64 lines) const
{
    return double(lines) * ticksPerLine();
}
