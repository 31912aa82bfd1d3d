// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QStringList>

class Panel;

// How every dial ends once its time is up.
enum class DialResult { Connect, Busy, NoDialtone, NoCarrier };

struct DialSettings {
    static constexpr int kDefaultDelayMs = 3000;   // dialling, ringing and carrier
    static constexpr int kMaxDelayMs = 255000;   // the longest wait for carrier a modem allows

    int delayMs = kDefaultDelayMs;   // 0: the result comes at once
    DialResult result = DialResult::Connect;
};

// A Hayes-style modem in front of the panel. In command mode it answers
// AT commands itself; a dial command dials for a while and then connects
// (or fails, as the settings say). While the call is up lines go to the
// panel until "+++" and ATH, or until the far end goes away.
class ModemFrontEnd {
public:
    enum class Mode { Command, Dialling, Online, OnlineCommand };

    explicit ModemFrontEnd(const DialSettings& dial = {}) : m_dial(dial) {}

    QStringList handleLine(const QByteArray& line, Panel& panel);

    // "+++" followed by the guard time: back to commands, call still up.
    QStringList escape();

    // The dialling time is over: the dial's result.
    QStringList dialTimeElapsed();

    // A character arrived while dialling: the dial is given up.
    QStringList abortDial();

    // The far end went away: the call (if any) is over.
    QStringList hangUp(Panel& panel);

    Mode mode() const { return m_mode; }

private:
    QStringList command(const QString& line, Panel& panel);
    QStringList dial();
    void endCall(Panel& panel);

    DialSettings m_dial;
    Mode m_mode = Mode::Command;
};
