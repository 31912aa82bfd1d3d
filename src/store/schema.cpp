// SPDX-License-Identifier: GPL-3.0-or-later
#include "schema.h"

namespace Schema {

namespace {

// Version 1: the journal, its search index, and the site book.
QStringList first()
{
    return {
        // utc: milliseconds since the epoch; utc_offset: seconds east of UTC
        // at that moment, NULL for entries brought in from before it was
        // kept; kind: 0 a line sent, 1 an event.
        QStringLiteral("CREATE TABLE journal (id INTEGER PRIMARY KEY, utc INTEGER NOT NULL, "
                       "utc_offset INTEGER, operator TEXT NOT NULL, host TEXT NOT NULL, "
                       "site TEXT NOT NULL, kind INTEGER NOT NULL, text TEXT NOT NULL)"),
        QStringLiteral("CREATE INDEX journal_site ON journal (site, id)"),
        QStringLiteral("CREATE INDEX journal_operator ON journal (operator, id)"),
        QStringLiteral("CREATE INDEX journal_utc ON journal (utc)"),
        // Any three characters or more are found through the index, any case.
        QStringLiteral("CREATE VIRTUAL TABLE journal_text USING fts5 (text, content='journal', "
                       "content_rowid='id', tokenize='trigram')"),
        QStringLiteral("CREATE TRIGGER journal_indexed AFTER INSERT ON journal BEGIN "
                       "INSERT INTO journal_text (rowid, text) VALUES (new.id, new.text); END"),
        // version: raised by every change, so that a change made meanwhile
        // by another copy of the program is seen.
        QStringLiteral(
            "CREATE TABLE sites (id INTEGER PRIMARY KEY, name TEXT NOT NULL UNIQUE COLLATE NOCASE, "
            "port INTEGER NOT NULL, phone TEXT NOT NULL, setup TEXT NOT NULL, "
            "notes TEXT NOT NULL, last_used INTEGER, last_used_offset INTEGER, "
            "version INTEGER NOT NULL DEFAULT 1)"),
        // The files brought in from before the store, each once.
        QStringLiteral("CREATE TABLE imports (what TEXT PRIMARY KEY, utc INTEGER NOT NULL)"),
    };
}

// Version 2: what a team's database needs to take this journal. The id is
// made with the database, so that a new database, one made after damage
// included, never reuses the ids of what an older one shipped; shipping
// holds, per team database, the last entry it has taken.
QStringList second()
{
    return {
        QStringLiteral("CREATE TABLE installation (id TEXT NOT NULL)"),
        QStringLiteral("INSERT INTO installation (id) VALUES (lower(hex(randomblob(16))))"),
        QStringLiteral("CREATE TABLE shipping (team TEXT PRIMARY KEY, shipped_id INTEGER NOT NULL)"),
    };
}

// Version 3: the local copy of each team's site book (team: the URI it was
// read from), as the server last gave it, so that it serves while the server
// cannot be reached. id and version are the server's; the time of use is
// kept here only.
QStringList third()
{
    return {
        QStringLiteral("CREATE TABLE team_sites (team TEXT NOT NULL, id INTEGER NOT NULL, "
                       "version INTEGER NOT NULL, name TEXT NOT NULL COLLATE NOCASE, port INTEGER NOT NULL, "
                       "phone TEXT NOT NULL, setup TEXT NOT NULL, notes TEXT NOT NULL, last_used INTEGER, "
                       "last_used_offset INTEGER, PRIMARY KEY (team, id))"),
    };
}

}   // namespace

QList<QStringList> steps()
{
    return {first(), second(), third()};
}

}   // namespace Schema
