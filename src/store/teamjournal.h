// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "store/journalfilter.h"
#include "store/journalrecord.h"

#include <QList>
#include <QString>
#include <QStringList>

class QSqlDatabase;
class Store;

// The team's journal as one list: the entries of every copy of the program
// on the team database, and this computer's own that are not there yet
// (marked pending), in the order of (UTC time, installation id, local id),
// which is every entry's key. A page is one forward-only query from the key
// at its edge, never an offset: as quick deep in ten million entries as at
// their end, and never more than a page in memory.
class TeamJournal {
public:
    // db: open on the team database; local: this computer's store, whose
    // entries past the shipping mark under `team` are merged in (none: none).
    TeamJournal(QSqlDatabase& db, Store* local, const QString& team);

    // Up to count entries that pass the filter after the edge's key (none:
    // from the oldest), oldest first.
    bool readAfter(const JournalFilter& filter, const JournalRecord* edge, int count,
                   QList<JournalRecord>* out);
    // Up to count entries that pass the filter before the edge's key (none:
    // the newest), oldest first.
    bool readBefore(const JournalFilter& filter, const JournalRecord* edge, int count,
                    QList<JournalRecord>* out);
    // How many entries pass the filter, each once; -1 when that cannot be read.
    qint64 count(const JournalFilter& filter);
    // The sites (but none) and operators the team's journal names, sorted, each once.
    bool readChoices(QStringList* sites, QStringList* operators);
    QString lastError() const { return m_error; }

    // The order of the team's journal.
    static bool before(const JournalRecord& a, const JournalRecord& b);

private:
    bool readPending(const JournalFilter& filter);
    bool select(const JournalFilter& filter, const JournalRecord* edge, bool newestFirst, int count,
                QList<JournalRecord>* out);
    bool failed(const QString& doing, const QString& reason);

    QSqlDatabase& m_db;
    Store* m_local;
    QString m_team;
    QString m_installation;
    qint64 m_shipped = 0;
    QList<JournalRecord> m_pending;   // in the journal's order
    QString m_error;
};
