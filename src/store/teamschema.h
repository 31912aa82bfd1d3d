// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class QSqlDatabase;

// The team database's tables on PostgreSQL: the shared site book and the
// journals of every copy of the program. Each step of the list takes the
// database from the version before it (its index) to the next; the version
// is kept in the table velno_schema, which every role may read.
namespace TeamSchema {

QList<QStringList> steps();
inline int currentVersion()
{
    return int(steps().size());
}

struct State {
    enum class Kind {
        Ready,   // the tables of this program's version
        Missing,   // none yet
        Older,   // to be brought up to date by --team-setup
        Newer,   // of a later program; this one must not touch them
        NotAllowed,   // the role may not make or change the tables
        Failed,
    };
    Kind kind = Kind::Failed;
    int version = 0;   // of the database's tables; 0 for none
    QString text;   // one sentence for the user, saying what to do
    QString note;   // set-up only: what it made of the optional parts
};

// What the tables in the connected database are.
State check(QSqlDatabase& db);
// Makes the tables or brings them up to date, all in one transaction, as
// the role that is to own them; at the current version nothing is changed.
// Ready when done; tables of a newer program are left as they are. Where
// the server has pg_trgm, the journal's text gets a trigram index for its
// searches too; where it cannot, the note says so, and searching works
// without it.
State setUp(QSqlDatabase& db);

}   // namespace TeamSchema
