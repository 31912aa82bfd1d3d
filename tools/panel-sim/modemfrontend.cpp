// SPDX-License-Identifier: GPL-3.0-or-later
#include "modemfrontend.h"

#include "panel.h"

#include <QRegularExpression>

namespace {

const QString kOk = QStringLiteral("OK");
const QString kError = QStringLiteral("ERROR");
const QString kConnect = QStringLiteral("CONNECT 1200");
const QByteArray kEscape = QByteArrayLiteral("+++");

}   // namespace

QStringList ModemFrontEnd::handleLine(const QByteArray& line, Panel& panel)
{
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
    return {QStringLiteral("NO CARRIER")};
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
        m_mode = Mode::Online;
        return {kConnect};
    }
    if (upper == QLatin1String("ATO") && m_mode == Mode::OnlineCommand) {
        m_mode = Mode::Online;
        return {kConnect};
    }
    if (kHangUp.match(upper).hasMatch() && m_mode != Mode::Command)
        endCall(panel);
    return {kOk};
}

void ModemFrontEnd::endCall(Panel& panel)
{
    m_mode = Mode::Command;
    panel.endSession();
}
