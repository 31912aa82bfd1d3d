// SPDX-License-Identifier: GPL-3.0-or-later
#include "journalrecord.h"

#include <cstdlib>

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
    // The offset always as +HH:MM, UTC's too ("+00:00", not "Z"), so that
    // every entry reads alike.
    const int offset = *offsetSeconds;
    const int minutes = std::abs(offset) / 60;
    return utc.addSecs(offset).toString(QStringLiteral("yyyy-MM-dd'T'HH:mm:ss")) + (offset < 0 ? u'-' : u'+')
        + QStringLiteral("%1:%2")
              .arg(minutes / 60, 2, 10, QLatin1Char('0'))
              .arg(minutes % 60, 2, 10, QLatin1Char('0'));
}

QString JournalRecord::who() const
{
    if (operatorName.isEmpty() && host.isEmpty())
        return QString();
    return operatorName + u'@' + host;
}

QString JournalRecord::whoInTeam() const
{
    const QString role = pending ? QStringLiteral("(not shipped)")
        : dbUser.isEmpty()       ? QString()
                                 : QStringLiteral("(%1)").arg(dbUser);
    const QString person = who();
    if (person.isEmpty() || role.isEmpty())
        return person + role;
    return person + u' ' + role;
}

QString JournalRecord::siteText() const
{
    return site.isEmpty() ? QStringLiteral("-") : site;
}

QString JournalRecord::line() const
{
    const QString mark = kind == Kind::Sent ? QStringLiteral(" > ") : QStringLiteral(" * ");
    const QString person = whoInTeam();
    return timeText() + u' ' + (person.isEmpty() ? QString() : person + u' ') + siteText() + mark + text;
}

QString JournalRecord::kindName(Kind kind)
{
    return kind == Kind::Sent ? QStringLiteral("sent") : QStringLiteral("event");
}
