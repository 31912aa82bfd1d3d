// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "linesplitter.h"
#include "modemfrontend.h"

#include <QByteArray>
#include <QStringList>
#include <optional>

class Panel;

// Bytes in, bytes out: splits the received stream into lines, passes them
// through the modem front end (when there is one) to the panel and encodes
// the answers as 8-bit text lines ending in CR LF.
class LineSession {
public:
    LineSession(Panel& panel, bool withModem, const DialSettings& dial = {});

    QByteArray receive(const QByteArray& bytes);

    // True while the modem dials; dialStarted() when the last receive()
    // started the dial now going on, so its time starts now.
    bool isDialling() const;
    bool dialStarted() const { return m_dialStarted; }
    QByteArray dialTimeElapsed();

    // True while an unterminated "+++" waits for the guard time to pass.
    bool escapePending() const;
    QByteArray guardTimeElapsed();

    // The far end closed the line or dropped the carrier.
    QByteArray hangUp();

    const std::optional<ModemFrontEnd>& modem() const { return m_modem; }

private:
    QStringList take(char c);
    QStringList answer(const QByteArray& line);
    static QByteArray encode(const QStringList& lines);

    Panel& m_panel;
    std::optional<ModemFrontEnd> m_modem;
    LineSplitter m_splitter;
    bool m_dialStarted = false;
};
