// SPDX-License-Identifier: GPL-3.0-or-later
#include "linesplitter.h"

QList<QByteArray> LineSplitter::feed(const QByteArray& bytes)
{
    QList<QByteArray> lines;
    for (const char c : bytes) {
        const bool afterCr = m_afterCr;
        m_afterCr = (c == '\r');
        if (c == '\n' && afterCr)
            continue;   // second half of a CR LF
        if (c == '\r' || c == '\n') {
            lines.append(m_pending);
            m_pending.clear();
        } else if (m_pending.size() <= kMaxLineLength) {
            m_pending.append(c);
        }
    }
    return lines;
}

void LineSplitter::clear()
{
    m_pending.clear();
    m_afterCr = false;
}
