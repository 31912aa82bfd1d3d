// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The pause before each line of a file sent to the panel, set by the modem
// dialog's ByteCycle (milliseconds per byte): wait_seconds(N) with
// N = ByteCycle x 50 / 1000 + 2, one tick of Timer1 being a second.
class LinePacing {
public:
    // A ByteCycle that is not a number, or is below 0, counts as 0, so every
    // line waits at least three ticks.
    explicit LinePacing(const QString& byteCycle);

    double waitSeconds() const { return m_seconds; }
    // The ticks one pause lasts: wait_seconds(N) returns on the first tick beyond N.
    double ticksPerLine() const;
    // The seconds the pauses before so many lines still take.
    double secondsFor(qint64 lines) const;

private:
    double m_seconds;
};
