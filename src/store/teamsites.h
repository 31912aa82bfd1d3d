// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "store/site.h"
#include "store/store.h"

#include <QList>
#include <QString>

class QSqlDatabase;

// The team's site book on its server. Each change is one statement on one
// site and names the version it was read at: a site another technician
// changed or deleted since is not overwritten. The time of use is not the
// team's: it stays in each computer's copy.
namespace TeamSites {

struct Answer {
    Store::Change change = Store::Change::Failed;
    // Done: the site as saved, with its id and version; Changed: the site
    // as it is on the server now.
    Site site;
    QString error;   // Failed: why, in one sentence
};

// The sites, in name order; false, with the reason in *error, when they cannot be read.
bool read(QSqlDatabase& db, QList<Site>* out, QString* error);
Answer add(QSqlDatabase& db, const Site& site);
// Over the version the site was read at; the version raised.
Answer update(QSqlDatabase& db, const Site& site);
Answer remove(QSqlDatabase& db, const Site& site);

}   // namespace TeamSites
