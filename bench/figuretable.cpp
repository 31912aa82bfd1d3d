// SPDX-License-Identifier: GPL-3.0-or-later
#include "figuretable.h"

#include <cstdio>

namespace {
constexpr int kWhatWidth = 36;
constexpr int kFigureWidth = 52;
constexpr int kGoalWidth = 24;
}   // namespace

void FigureTable::heading(const std::string& text)
{
    std::printf("\n%s\n", text.c_str());
    std::fflush(stdout);
}

void FigureTable::row(const std::string& what, const std::string& figure, const std::string& goal,
                      Verdict verdict)
{
    const char* mark = verdict == Verdict::Met ? "met" : verdict == Verdict::Missed ? "MISSED" : "";
    std::printf("  %-*s %-*s %-*s %s\n", kWhatWidth, what.c_str(), kFigureWidth, figure.c_str(), kGoalWidth,
                goal.empty() ? "" : ("goal " + goal).c_str(), mark);
    std::fflush(stdout);
    if (verdict == Verdict::Missed)
        m_missed.push_back(what + ": " + figure + " (goal " + goal + ")");
}

void FigureTable::note(const std::string& text)
{
    std::printf("  %s\n", text.c_str());
    std::fflush(stdout);
}

std::string FigureTable::number(double value, int decimals)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

std::string FigureTable::whole(double value)
{
    std::string digits = number(value, 0);
    const size_t first = digits[0] == '-' ? 1 : 0;
    for (size_t at = digits.size(); at > first + 3; at -= 3)
        digits.insert(at - 3, ",");
    return digits;
}
