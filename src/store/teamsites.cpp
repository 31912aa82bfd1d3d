// SPDX-License-Identifier: GPL-3.0-or-later
#include "teamsites.h"

#include "store/siterow.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace TeamSites {

namespace {

const QString kUniqueViolation = QStringLiteral("23505");

QString reasonOf(const QSqlError& error)
{
    const QString text = error.databaseText().isEmpty() ? error.text() : error.databaseText();
    return QStringLiteral("The team's site book cannot be used: %1").arg(text.simplified());
}

Answer failed(const QSqlQuery& q)
{
    if (q.lastError().nativeErrorCode() == kUniqueViolation)
        return Answer{Store::Change::NameTaken, Site(), QString()};
    return Answer{Store::Change::Failed, Site(), reasonOf(q.lastError())};
}

// Binds the site's contents, in the order of the statements below.
void bindContents(QSqlQuery& q, const Site& site)
{
    q.addBindValue(SiteRow::notNull(site.name));
    q.addBindValue(site.port);
    q.addBindValue(SiteRow::notNull(site.phone));
    q.addBindValue(SiteRow::notNull(site.setup));
    q.addBindValue(SiteRow::notNull(site.notes));
}

// Why a change over the site's version found no row: Changed, with the
// site as it is now, or Gone.
Answer whyUnchanged(QSqlDatabase& db, const Site& site)
{
    QSqlQuery q(db);
    q.prepare(QStringLiteral("SELECT ") + SiteRow::kBookColumns + QStringLiteral(" FROM sites WHERE id = ?"));
    q.addBindValue(site.id);
    if (!q.exec())
        return failed(q);
    if (!q.next())
        return Answer{Store::Change::Gone, Site(), QString()};
    return Answer{Store::Change::Changed, SiteRow::readBook(q), QString()};
}

// The row the statement returned, as the site saved; why not, if none.
Answer saved(QSqlDatabase& db, QSqlQuery& q, const Site& site)
{
    if (!q.exec())
        return failed(q);
    if (!q.next())
        return whyUnchanged(db, site);
    return Answer{Store::Change::Done, SiteRow::readBook(q), QString()};
}

}   // namespace

bool read(QSqlDatabase& db, QList<Site>* out, QString* error)
{
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("SELECT ") + SiteRow::kBookColumns
                + QStringLiteral(" FROM sites ORDER BY lower(name)"))) {
        *error = reasonOf(q.lastError());
        return false;
    }
    out->clear();
    while (q.next())
        out->append(SiteRow::readBook(q));
    return true;
}

Answer add(QSqlDatabase& db, const Site& site)
{
    QSqlQuery q(db);
    q.prepare(QStringLiteral("INSERT INTO sites (name, port, phone, setup, notes) VALUES (?, ?, ?, ?, ?) "
                             "RETURNING ")
              + SiteRow::kBookColumns);
    bindContents(q, site);
    return saved(db, q, site);
}

Answer update(QSqlDatabase& db, const Site& site)
{
    QSqlQuery q(db);
    q.prepare(QStringLiteral("UPDATE sites SET name = ?, port = ?, phone = ?, setup = ?, notes = ?, "
                             "version = version + 1 WHERE id = ? AND version = ? RETURNING ")
              + SiteRow::kBookColumns);
    bindContents(q, site);
    q.addBindValue(site.id);
    q.addBindValue(site.version);
    return saved(db, q, site);
}

Answer remove(QSqlDatabase& db, const Site& site)
{
    QSqlQuery q(db);
    q.prepare(QStringLiteral("DELETE FROM sites WHERE id = ? AND version = ? RETURNING ")
              + SiteRow::kBookColumns);
    q.addBindValue(site.id);
    q.addBindValue(site.version);
    return saved(db, q, site);
}

}   // namespace TeamSites
