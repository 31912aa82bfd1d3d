// SPDX-License-Identifier: GPL-3.0-or-later
#include "journalentry.h"

#include "core/commandline.h"
#include "platform/serialport.h"

#include <QRegularExpression>

#include <vector>

namespace JournalEntry {

namespace {

const QString kTenantMark = QStringLiteral("TNTDIR:");

// A character that would break the line or not show: C0 and C1 controls
// but the tab, and DEL.
bool hidden(QChar c)
{
    const char16_t u = c.unicode();
    return (u < 0x20 && u != u'\t') || (u >= 0x7F && u <= 0x9F);
}

QString shown(QStringView text)
{
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        if (hidden(c))
            out += u'<' + QStringLiteral("%1").arg(c.unicode(), 2, 16, QLatin1Char('0')).toUpper() + u'>';
        else
            out += c;
    }
    return out;
}

bool blank(QChar c)
{
    return c == u' ' || c == u'\t' || hidden(c);
}

// Where the code starts in a line that carries one at its end (after the
// word and the blanks that follow it); -1 for any other line. The panel
// may not care for the case of a word or blanks before it: neither hides a
// code here.
qsizetype codeStart(QStringView text)
{
    qsizetype start = 0;
    while (start < text.size() && blank(text[start]))
        ++start;
    for (const QString& word : {CommandLine::kProgrammingWord, CommandLine::kMasterCodeWord}) {
        if (text.mid(start).startsWith(word, Qt::CaseInsensitive)) {
            qsizetype end = start + word.size();
            while (end < text.size() && text[end] == u' ')
                ++end;
            return end;
        }
    }
    return -1;
}

// Which characters of the line are a code.
std::vector<bool> secretsOf(const QString& line)
{
    std::vector<bool> secret(std::size_t(line.size()), false);
    const qsizetype tail = codeStart(line);
    for (qsizetype i = std::max<qsizetype>(tail, 0); tail >= 0 && i < line.size(); ++i)
        secret[std::size_t(i)] = true;
    if (!line.contains(kTenantMark, Qt::CaseInsensitive))
        return secret;
    static const QRegularExpression accessCode(QStringLiteral("code[ \\t]*:[ \\t]*([^ \\t]*)"),
                                               QRegularExpression::CaseInsensitiveOption);
    for (const QRegularExpressionMatch& m : accessCode.globalMatch(line)) {
        for (qsizetype i = m.capturedStart(1); i < m.capturedEnd(1); ++i)
            secret[std::size_t(i)] = true;
    }
    return secret;
}

}   // namespace

QList<QByteArrayView> linesOf(QByteArrayView bytes)
{
    QList<QByteArrayView> lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c != '\r' && c != '\n')
            continue;
        lines.append(bytes.sliced(start, i - start));
        if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < bytes.size())
        lines.append(bytes.sliced(start));
    return lines;
}

bool endsLine(QByteArrayView bytes)
{
    return !bytes.isEmpty() && (bytes.back() == '\r' || bytes.back() == '\n');
}

QString masked(const QString& line)
{
    return maskedFrom(line, 0);
}

// Each run of code characters becomes one mask. A PGM or PARCMC line shows
// the mask even before its code has come, so that its length never shows.
QString maskedFrom(const QString& line, qsizetype from)
{
    const std::vector<bool> secret = secretsOf(line);
    QString out;
    qsizetype i = from;
    while (i < line.size()) {
        qsizetype end = i;
        const bool hide = secret[std::size_t(i)];
        while (end < line.size() && secret[std::size_t(end)] == hide)
            ++end;
        out += hide ? kSecretMask : shown(QStringView(line).sliced(i, end - i));
        i = end;
    }
    if (codeStart(line) == line.size())
        out += kSecretMask;
    return out;
}

QString connected(int portNumber, const QString& device)
{
    const QString port = QStringLiteral("connected to port %1").arg(portNumber);
    return device.isEmpty() ? port : port + QStringLiteral(" (") + device + u')';
}

QString closed()
{
    return QStringLiteral("port closed");
}

QString lineLost()
{
    return QStringLiteral("line lost (the device went away)");
}

QString lineError(int eventCode)
{
    const QString name = SerialPort::lineErrorText(eventCode);
    const QString code = QStringLiteral("line error %1").arg(eventCode);
    return name.isEmpty() ? code : code + QStringLiteral(": ") + name;
}

}   // namespace JournalEntry
