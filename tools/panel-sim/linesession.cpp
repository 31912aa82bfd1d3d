// SPDX-License-Identifier: GPL-3.0-or-later
#include "linesession.h"

#include "panel.h"

LineSession::LineSession(Panel& panel, bool withModem, const DialSettings& dial) : m_panel(panel)
{
    if (withModem)
        m_modem.emplace(dial);
}

QByteArray LineSession::receive(const QByteArray& bytes)
{
    m_dialStarted = false;
    QStringList answers;
    for (const char c : bytes)
        answers += take(c);
    return encode(answers);
}

bool LineSession::isDialling() const
{
    return m_modem && m_modem->mode() == ModemFrontEnd::Mode::Dialling;
}

QByteArray LineSession::dialTimeElapsed()
{
    return m_modem ? encode(m_modem->dialTimeElapsed()) : QByteArray();
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

// While dialling, any character but the LF of the dial command's CR LF
// aborts the dial, and the line it starts is thrown away.
QStringList LineSession::take(char c)
{
    QStringList answers;
    if (isDialling() && !m_splitter.completesLineEnd(c)) {
        answers += m_modem->abortDial();
        m_splitter.dropLine();
        m_dialStarted = false;
    }
    if (const std::optional<QByteArray> line = m_splitter.push(c)) {
        answers += answer(*line);
        m_dialStarted = isDialling();
    }
    return answers;
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
