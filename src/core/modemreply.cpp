// SPDX-License-Identifier: GPL-3.0-or-later
#include "modemreply.h"

namespace {
constexpr qsizetype kLongestLine = 256;   // a longer line is no modem result
}

ModemReply::Result ModemReply::take(const QByteArray& bytes)
{
    for (const char c : bytes) {
        if (m_result != Result::Pending)
            break;
        if (c == '\r' || c == '\n') {
            m_result = resultOf(m_partial);
            m_partial.clear();
        } else if (m_partial.size() < kLongestLine) {
            m_partial += c;
        }
    }
    return m_result;
}

ModemReply::Result ModemReply::resultOf(QByteArray line)
{
    line = line.trimmed().toUpper();
    if (line == "CONNECT" || line.startsWith("CONNECT "))
        return Result::Connect;
    if (line == "NO CARRIER")
        return Result::NoCarrier;
    if (line == "BUSY")
        return Result::Busy;
    if (line == "NO DIALTONE" || line == "NO DIAL TONE")
        return Result::NoDialtone;
    return Result::Pending;
}
