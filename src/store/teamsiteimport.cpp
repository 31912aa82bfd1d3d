// SPDX-License-Identifier: GPL-3.0-or-later
#include "teamsiteimport.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace {

QVariant usedAt(const QDateTime& when)
{
    return when.isValid() ? QVariant(when.toUTC()) : QVariant(QMetaType::fromType<QDateTime>());
}

QVariant usedOffset(const QDateTime& when)
{
    return when.isValid() ? QVariant(when.offsetFromUtc()) : QVariant(QMetaType::fromType<int>());
}

QString countText(int added)
{
    return added == 1 ? QStringLiteral("1 site was brought into the team's site book.")
                      : QStringLiteral("%1 sites were brought into the team's site book.").arg(added);
}

}   // namespace

TeamReply TeamSiteImport::run(QSqlDatabase& db, const QList<Site>& sites)
{
    TeamReply reply;
    QSqlQuery q(db);
    // A name taken in any case is a conflict on the unique index of lower(name).
    bool ok = db.transaction()
        && q.prepare(QStringLiteral("INSERT INTO sites (name, port, phone, setup, notes, last_used, "
                                    "last_used_offset) VALUES (?, ?, ?, ?, ?, ?, ?) ON CONFLICT DO NOTHING"));
    int added = 0;
    for (auto site = sites.begin(); ok && site != sites.end(); ++site) {
        for (const QVariant& value :
             {QVariant(site->name), QVariant(site->port), QVariant(site->phone), QVariant(site->setup),
              QVariant(site->notes), usedAt(site->lastUsed), usedOffset(site->lastUsed)})
            q.addBindValue(value);
        ok = q.exec();
        if (ok && q.numRowsAffected() == 1)
            ++added;
        else if (ok)
            reply.left << site->name;
    }
    ok = ok && db.commit();
    if (!ok) {
        const QSqlError error = q.lastError().isValid() ? q.lastError() : db.lastError();
        db.rollback();
        return {false,
                QStringLiteral("The team's site book did not take the sites, so none were brought in: %1")
                    .arg(error.text().trimmed()),
                {}};
    }
    reply.ok = true;
    reply.text = countText(added);
    return reply;
}
