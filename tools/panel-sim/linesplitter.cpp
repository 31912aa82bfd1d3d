// SPDX-License-Identifier: GPL-3.0-or-later
#include "linesplitter.h"

QList<QByteArray> LineSplitter::feed(const QByteArray& bytes)
{
    QList<QByteArray> lines;
    for (const char c : bytes) {
        if (std::optional<QByteArray> line = push(c))
            lines.append(std::move(*line));
    }
    return lines;
}

std::optional<QByteArray> LineSplitter::push(char c)
{
    const bool lineEndDone = completesLineEnd(c);
    m_afterCr = (c == '\r');
    if (lineEndDone)
        return std::nullopt;   // second half of a CR LF
    if (c != '\r' && c != '\n') {
        if (!m_dropping && m_pending.size() <= kMaxLineLength)
            m_pending.append(c);
        return std::nullopt;
    }
    const bool dropped = m_dropping;
    m_dropping = false;
    QByteArray line;
    line.swap(m_pending);
    return dropped ? std::nullopt : std::optional<QByteArray>(line);
}

void LineSplitter::dropLine()
{
    m_pending.clear();
    m_dropping = true;
}

void LineSplitter::clear()
{
    m_pending.clear();
    m_afterCr = false;
    m_dropping = false;
}
