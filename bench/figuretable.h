// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

// The benchmark's output: each figure beside its goal, grouped under
// headings, printed as it comes.
class FigureTable {
public:
    enum class Verdict { None, Met, Missed };

    void heading(const std::string& text);
    void row(const std::string& what, const std::string& figure, const std::string& goal = {},
             Verdict verdict = Verdict::None);
    void note(const std::string& text);
    // What missed its goal, for the closing lines.
    const std::vector<std::string>& missed() const { return m_missed; }

    static Verdict atLeast(double value, double goal)
    {
        return value >= goal ? Verdict::Met : Verdict::Missed;
    }
    static Verdict atMost(double value, double goal)
    {
        return value <= goal ? Verdict::Met : Verdict::Missed;
    }
    // A number with the given decimals.
    static std::string number(double value, int decimals);
    // A whole number with its thousands grouped: "105,000".
    static std::string whole(double value);

private:
    std::vector<std::string> m_missed;
};
