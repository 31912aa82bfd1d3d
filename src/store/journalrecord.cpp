// SPDX-License-Identifier: GPL-3.0-or-later
#include "journalrecord.h"

JournalRecord JournalRecord::at(const QDateTime& when, Kind kind, const QString& text)
{
    JournalRecord record;
    record.utcMs = when.toMSecsSinceEpoch();
    record.offsetSeconds = when.offsetFromUtc();
    record.kind = kind;
    record.text = text;
    return record;
}

QString JournalRecord::timeText() const
{
    const QDateTime utc = QDateTime::fromMSecsSinceEpoch(utcMs, Qt::UTC);
    // Seconds are enough for a reader; the offset says which of two equal
    // local times in the hour the clocks go back is meant.
    if (!offsetSeconds)
        return utc.toLocalTime().toString(QStringLiteral("yyyy-MM-dd'T'HH:mm:ss"));
    return utc.toOffsetFromUtc(*offsetSeconds).toString(Qt::ISODate);
}

QString JournalRecord::who() const
{
    if (operatorName.isEmpty() && host.isEmpty())
        return QString();
    return operatorName + u'@' + host;
}

QString JournalRecord::siteText() const
{
    return site.isEmpty() ? QStringLiteral("-") : site;
}

QString JournalRecord::line() const
{
    const QString mark = kind == Kind::Sent ? QStringLiteral(" > ") : QStringLiteral(" * ");
    const QString person = who();
    return timeText() + u' ' + (person.isEmpty() ? QString() : person + u' ') + siteText() + mark + text;
}

QString JournalRecord::kindName(Kind kind)
{
    return kind == Kind::Sent ? QStringLiteral("sent") : QStringLiteral("event");
}
