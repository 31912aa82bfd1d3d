// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

struct Form1Context;

// What the main window shows while a file goes to the panel: the progress
// bar (lines sent of all lines, the time still to wait as its tooltip),
// "Please Wait...", the hourglass and the "Send Record:" panel.
class SendProgress {
public:
    explicit SendProgress(Form1Context& ctx);

    // The bar shown at 0 of lines.
    void begin(qint64 lines, double secondsLeft);
    // A line waits for its turn.
    void waiting();
    void lineSent(qint64 sent, double secondsLeft);
    // Back to idle: the bar at 0 and hidden, "Please Wait..." hidden, the
    // normal pointer. The "Send Record:" panel keeps its count.
    void end();

    // "About 12 minutes left"; empty when nothing is left.
    static QString timeLeftText(double seconds);
    // Panel 3's text for a count.
    static QString sendRecordText(qint64 sent);

private:
    Form1Context& m_ctx;
};
