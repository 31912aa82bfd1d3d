// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>

// What the modem answers a dial with. These are the modem's words, read
// only while it dials: once connected, the panel's answers are never parsed.
class ModemReply {
public:
    enum class Result { Pending, Connect, NoCarrier, Busy, NoDialtone };

    // Takes the bytes received while dialling; the result is the first
    // whole line that is one of the modem's results ("CONNECT", "CONNECT
    // 1200", "NO CARRIER", "BUSY", "NO DIALTONE" or "NO DIAL TONE").
    Result take(const QByteArray& bytes);
    Result result() const { return m_result; }

private:
    static Result resultOf(QByteArray line);

    QByteArray m_partial;   // the line not ended yet
    Result m_result = Result::Pending;
};
