// SPDX-License-Identifier: GPL-3.0-or-later
#include "siterow.h"

#include <QSqlQuery>

namespace SiteRow {

const QString kBookColumns = QStringLiteral("id, version, name, port, phone, setup, notes");
const QString kColumns = kBookColumns + QStringLiteral(", last_used, last_used_offset");

Site readBook(const QSqlQuery& q)
{
    Site site;
    site.id = q.value(0).toLongLong();
    site.version = q.value(1).toLongLong();
    site.name = q.value(2).toString();
    site.port = q.value(3).toInt();
    site.phone = q.value(4).toString();
    site.setup = q.value(5).toString();
    site.notes = q.value(6).toString();
    return site;
}

Site read(const QSqlQuery& q)
{
    Site site = readBook(q);
    if (!q.value(7).isNull())
        site.lastUsed =
            QDateTime::fromMSecsSinceEpoch(q.value(7).toLongLong(), Qt::OffsetFromUTC, q.value(8).toInt());
    return site;
}

QVariant usedAt(const QDateTime& when)
{
    return when.isValid() ? QVariant(when.toMSecsSinceEpoch()) : QVariant(QMetaType(QMetaType::LongLong));
}

QVariant usedOffset(const QDateTime& when)
{
    return when.isValid() ? QVariant(when.offsetFromUtc()) : QVariant(QMetaType(QMetaType::Int));
}

QString notNull(const QString& text)
{
    return text.isNull() ? QStringLiteral("") : text;
}

}   // namespace SiteRow
