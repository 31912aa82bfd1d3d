// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QStringList>

class Panel;

// A Hayes-style modem in front of the panel. In command mode it answers
// AT commands itself; after a dial command the call is up and lines go to
// the panel until "+++" and ATH, or until the far end goes away.
class ModemFrontEnd {
public:
    enum class Mode { Command, Online, OnlineCommand };

    QStringList handleLine(const QByteArray& line, Panel& panel);

    // "+++" followed by the guard time: back to commands, call still up.
    QStringList escape();

    // The far end went away: the call (if any) is over.
    QStringList hangUp(Panel& panel);

    Mode mode() const { return m_mode; }

private:
    QStringList command(const QString& line, Panel& panel);
    void endCall(Panel& panel);

    Mode m_mode = Mode::Command;
};
