// SPDX-License-Identifier: GPL-3.0-or-later
#include "modemfrontend.h"

#include "panel.h"

#include <QRegularExpression>

namespace {

const QString kOk = QStringLiteral("OK");
const QString kError = QStringLiteral("ERROR");
const QString kConnect = QStringLiteral("CONNECT 1200");
const QString kNoCarrier = QStringLiteral("NO CARRIER");
const QByteArray kEscape = QByteArrayLiteral("+++");

QString resultCode(DialResult result)
{
    switch (result) {
    case DialResult::Connect: return kConnect;
    case DialResult::Busy: return QStringLiteral("BUSY");
    case DialResult::NoDialtone: return QStringLiteral("NO DIALTONE");
    case DialResult::NoCarrier: break;
    }
    return kNoCarrier;
}

}   // namespace

QStringList ModemFrontEnd::handleLine(const QByteArray& line, Panel& panel)
{
    if (m_mode == Mode::Dialling)
        return abortDial();
    if (m_mode != Mode::Online)
        return command(QString::fromLatin1(line), panel);
    if (!line.startsWith(kEscape))
        return panel.handleLine(line);
    // "+++" may arrive as a line of its own or glued to the next command.
    QStringList answers = escape();
    const QByteArray rest = line.mid(kEscape.size());
    if (!rest.isEmpty())
        answers += command(QString::fromLatin1(rest), panel);
    return answers;
}

QStringList ModemFrontEnd::escape()
{
    if (m_mode != Mode::Online)
        return {};
    m_mode = Mode::OnlineCommand;
    return {kOk};
}

QStringList ModemFrontEnd::hangUp(Panel& panel)
{
    if (m_mode == Mode::Command)
        return {};
    endCall(panel);
    return {kNoCarrier};
}

QStringList ModemFrontEnd::dialTimeElapsed()
{
    if (m_mode != Mode::Dialling)
        return {};
    m_mode = m_dial.result == DialResult::Connect ? Mode::Online : Mode::Command;
    return {resultCode(m_dial.result)};
}

QStringList ModemFrontEnd::abortDial()
{
    if (m_mode != Mode::Dialling)
        return {};
    m_mode = Mode::Command;
    return {kNoCarrier};
}

QStringList ModemFrontEnd::command(const QString& line, Panel& panel)
{
    static const QRegularExpression kDial(QStringLiteral("^ATD[TP]?[\\d*#,W ]*\\d[\\d*#,W ]*$"));
    static const QRegularExpression kHangUp(QStringLiteral("^ATH0?$"));
    const QString upper = line.trimmed().toUpper();
    if (upper.isEmpty())
        return {kOk};
    if (!upper.startsWith(QLatin1String("AT")))
        return {kError};
    if (upper.startsWith(QLatin1String("ATD"))) {
        if (m_mode != Mode::Command || !kDial.match(upper).hasMatch())
            return {kError};
        return dial();
    }
    if (upper == QLatin1String("ATO") && m_mode == Mode::OnlineCommand) {
        m_mode = Mode::Online;
        return {kConnect};
    }
    if (kHangUp.match(upper).hasMatch() && m_mode != Mode::Command)
        endCall(panel);
    return {kOk};
}

QStringList ModemFrontEnd::dial()
{
    m_mode = Mode::Dialling;
    // Without a dial tone a modem gives up before dialling a digit.
    if (m_dial.delayMs == 0 || m_dial.result == DialResult::NoDialtone)
        return dialTimeElapsed();
    return {};
}

void ModemFrontEnd::endCall(Panel& panel)
{
    m_mode = Mode::Command;
    panel.endSession();
}
