// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "store/site.h"

#include <QString>
#include <QVariant>

class QSqlQuery;

// A site as the local database's tables hold it: the book's own and the
// copies of team books alike.
namespace SiteRow {

// The columns read(), in its order.
extern const QString kColumns;
Site read(const QSqlQuery& q);
// The columns every book keeps, the team's on its server too, and readBook() in their order.
extern const QString kBookColumns;
Site readBook(const QSqlQuery& q);
// The time of use as it is stored: milliseconds since the epoch and
// seconds east of UTC, NULL for a site never used.
QVariant usedAt(const QDateTime& when);
QVariant usedOffset(const QDateTime& when);
// Qt binds a null string as NULL; the book's texts are never NULL.
QString notNull(const QString& text);

}   // namespace SiteRow
