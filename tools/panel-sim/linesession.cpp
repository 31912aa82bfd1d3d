// SPDX-License-Identifier: GPL-3.0-or-later
#include "linesession.h"

#include "panel.h"

LineSession::LineSession(Panel& panel, bool withModem) : m_panel(panel)
{
    if (withModem)
        m_modem.emplace();
}

QByteArray LineSession::receive(const QByteArray& bytes)
{
    QStringList answers;
    for (const QByteArray& line : m_splitter.feed(bytes))
        answers += answer(line);
    return encode(answers);
}

bool LineSession::escapePending() const
{
    return m_modem && m_modem->mode() == ModemFrontEnd::Mode::Online
        && m_splitter.pending() == QByteArrayLiteral("+++");
}

QByteArray LineSession::guardTimeElapsed()
{
    if (!escapePending())
        return {};
    m_splitter.clear();
    return encode(m_modem->escape());
}

QByteArray LineSession::hangUp()
{
    m_splitter.clear();
    if (m_modem)
        return encode(m_modem->hangUp(m_panel));
    m_panel.endSession();
    return {};
}

QStringList LineSession::answer(const QByteArray& line)
{
    if (line.size() > LineSplitter::kMaxLineLength)
        return {QStringLiteral("ERROR")};
    return m_modem ? m_modem->handleLine(line, m_panel) : m_panel.handleLine(line);
}

QByteArray LineSession::encode(const QStringList& lines)
{
    QByteArray bytes;
    for (const QString& line : lines)
        bytes += line.toLatin1() + "\r\n";
    return bytes;
}
