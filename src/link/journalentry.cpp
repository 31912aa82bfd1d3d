// SPDX-License-Identifier: GPL-3.0-or-later
#include "journalentry.h"

#include "link/commandline.h"
#include "link/receiver.h"
#include "platform/eightbit.h"

namespace JournalEntry {

namespace {

const QString kSentMark = QStringLiteral(" > ");
const QString kEventMark = QStringLiteral(" * ");
const QString kTimeFormat = QStringLiteral("yyyy-MM-dd'T'HH:mm:ss");
constexpr qsizetype kTimeLength = 19;

QString entry(const QDateTime& time, const QString& site, const QString& mark, const QString& text)
{
    return time.toLocalTime().toString(kTimeFormat) + u' ' + siteField(site) + mark + text;
}

// A character that would break the line or not show: C0 and C1 controls
// but the tab, and DEL.
bool hidden(QChar c)
{
    const char16_t u = c.unicode();
    return (u < 0x20 && u != u'\t') || (u >= 0x7F && u <= 0x9F);
}

QString shown(const QString& text)
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

// Where the code starts in a line that carries one (after the word and the
// blanks that follow it); -1 for any other line. The panel may not care for
// the case of a word or blanks before it: neither hides a code here.
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

} // namespace

QString sent(const QDateTime& time, const QString& site, const QString& text)
{
    return entry(time, site, kSentMark, text);
}

QString event(const QDateTime& time, const QString& site, const QString& text)
{
    return entry(time, site, kEventMark, text);
}

QString monthFileName(const QDateTime& time)
{
    return time.toLocalTime().toString(QStringLiteral("yyyy-MM")) + QStringLiteral(".log");
}

QString siteField(const QString& name)
{
    QString field = name.simplified();
    for (const QString& mark : {kSentMark, kEventMark}) {
        while (field.contains(mark))
            field.replace(mark, mark.trimmed());
    }
    return field.isEmpty() ? QStringLiteral("-") : field;
}

QStringView siteOf(QStringView line)
{
    if (line.size() < kTimeLength + 2 || line[kTimeLength] != u' ')
        return {};
    const QStringView rest = line.mid(kTimeLength + 1);
    qsizetype end = -1;
    for (const QString& mark : {kSentMark, kEventMark}) {
        const qsizetype at = rest.indexOf(mark);
        if (at >= 0 && (end < 0 || at < end))
            end = at;
    }
    return end > 0 ? rest.left(end) : QStringView();
}

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

QString sentText(QByteArrayView line)
{
    const QString text = EightBit::decode(line);
    const qsizetype code = codeStart(text);
    return code < 0 ? shown(text) : shown(text.left(code)) + kSecretMask;
}

bool carriesCode(QStringView text)
{
    return codeStart(text) >= 0;
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
    const QString name = Receiver::errorText(eventCode);
    const QString code = QStringLiteral("line error %1").arg(eventCode);
    return name.isEmpty() ? code : code + QStringLiteral(": ") + name;
}

} // namespace JournalEntry
