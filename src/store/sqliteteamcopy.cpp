// SPDX-License-Identifier: GPL-3.0-or-later
// The store's copies of team site books.
#include "sqlitestore.h"

#include "store/siterow.h"

#include <QSqlQuery>
#include <QStringList>
#include <QVariant>

bool SqliteStore::readTeamSites(const QString& team, QList<Site>* out)
{
    if (!ready())
        return false;
    QSqlQuery q(m_db);
    q.setForwardOnly(true);
    if (!prepareQuery(q,
                      QStringLiteral("SELECT ") + SiteRow::kColumns
                          + QStringLiteral(" FROM team_sites WHERE team = ? ORDER BY name")))
        return false;
    q.addBindValue(team);
    if (!run(q))
        return false;
    out->clear();
    while (q.next())
        out->append(SiteRow::read(q));
    return true;
}

// Each site written over its row, the time of use aside; then the rows of
// sites the server no longer has go.
bool SqliteStore::keepTeamSites(const QString& team, const QList<Site>& sites)
{
    if (!ready())
        return false;
    return inTransaction([&] {
        QSqlQuery upsert(m_db);
        if (!prepareQuery(
                upsert,
                QStringLiteral("INSERT INTO team_sites (team, id, version, name, port, phone, setup, notes) "
                               "VALUES (?, ?, ?, ?, ?, ?, ?, ?) ON CONFLICT (team, id) DO UPDATE SET "
                               "version = excluded.version, name = excluded.name, port = excluded.port, "
                               "phone = excluded.phone, setup = excluded.setup, notes = excluded.notes")))
            return false;
        QStringList ids;
        for (const Site& site : sites) {
            for (const QVariant& value :
                 {QVariant(team), QVariant(site.id), QVariant(site.version),
                  QVariant(SiteRow::notNull(site.name)), QVariant(site.port),
                  QVariant(SiteRow::notNull(site.phone)), QVariant(SiteRow::notNull(site.setup)),
                  QVariant(SiteRow::notNull(site.notes))})
                upsert.addBindValue(value);
            if (!run(upsert))
                return false;
            ids << QString::number(site.id);
        }
        QSqlQuery gone(m_db);
        if (!prepareQuery(gone,
                          QStringLiteral("DELETE FROM team_sites WHERE team = ? AND id NOT IN (%1)")
                              .arg(ids.join(u','))))
            return false;
        gone.addBindValue(team);
        return run(gone);
    });
}

Store::Change SqliteStore::markTeamSiteUsed(const QString& team, Site& site, const QDateTime& when)
{
    return markUsed(
        QStringLiteral("UPDATE team_sites SET last_used = ?, last_used_offset = ? WHERE team = ? AND id = ?"),
        {team, site.id}, site, when);
}
