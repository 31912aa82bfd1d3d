// SPDX-License-Identifier: GPL-3.0-or-later
// The store's part in shipping the journal to a team's database.
#include "sqlitestore.h"

#include <QSqlQuery>
#include <QVariant>

QString SqliteStore::installationId()
{
    if (!ready())
        return QString();
    QSqlQuery q(m_db);
    if (!prepareQuery(q, QStringLiteral("SELECT id FROM installation")) || !run(q))
        return QString();
    return q.next() ? q.value(0).toString() : QString();
}

bool SqliteStore::readShipped(const QString& team, qint64* lastId)
{
    if (!ready())
        return false;
    QSqlQuery q(m_db);
    if (!prepareQuery(q, QStringLiteral("SELECT shipped_id FROM shipping WHERE team = ?")))
        return false;
    q.addBindValue(team);
    if (!run(q))
        return false;
    *lastId = q.next() ? q.value(0).toLongLong() : 0;
    return true;
}

bool SqliteStore::setShipped(const QString& team, qint64 lastId)
{
    if (!ready())
        return false;
    return inTransaction([&] {
        QSqlQuery q(m_db);
        if (!prepareQuery(
                q,
                QStringLiteral(
                    "INSERT INTO shipping (team, shipped_id) VALUES (?, ?) "
                    "ON CONFLICT (team) DO UPDATE SET shipped_id = max(shipped_id, excluded.shipped_id)")))
            return false;
        q.addBindValue(team);
        q.addBindValue(lastId);
        return run(q);
    });
}
