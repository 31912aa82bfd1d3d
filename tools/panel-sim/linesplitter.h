// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <optional>

// Cuts the incoming byte stream into lines. CR LF, a bare CR and a bare LF
// all end a line; a CR LF pair split across two reads still counts once.
class LineSplitter {
public:
    // Longer lines are cut to kMaxLineLength + 1 bytes, so that the caller
    // can still tell they were too long while memory stays bounded.
    static constexpr int kMaxLineLength = 256;

    QList<QByteArray> feed(const QByteArray& bytes);

    // One byte in; the line it ends, if it ends one.
    std::optional<QByteArray> push(char c);

    // True when c is the LF that completes a CR LF: it belongs to the line
    // end already seen, not to a new line.
    bool completesLineEnd(char c) const { return c == '\n' && m_afterCr; }

    // The current line, up to and with its end, is thrown away.
    void dropLine();

    QByteArray pending() const { return m_pending; }
    void clear();

private:
    QByteArray m_pending;
    bool m_afterCr = false;
    bool m_dropping = false;
};
