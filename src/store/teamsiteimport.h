// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "store/site.h"
#include "store/teamtask.h"

#include <QList>

class QSqlDatabase;

// Brings a computer's own site book into the team's, on joining: each site
// the team has no site of that name for (in any case) is added, one
// transaction for all; a name the team has already is left out, and the
// team's site of that name stays as it is. The local book is not changed.
namespace TeamSiteImport {

// ok when done; left: the names left out; text says how many came in.
TeamReply run(QSqlDatabase& db, const QList<Site>& sites);

}   // namespace TeamSiteImport
