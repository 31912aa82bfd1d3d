// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "store/journalfilter.h"
#include "store/journalrecord.h"
#include "store/site.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <limits>

// Where the journal is kept. One connection per object, used on the thread
// that made it; each call is its own transaction. A call that fails says
// why in lastError() and changes nothing.
class Store {
public:
    virtual ~Store() = default;

    virtual QString lastError() const = 0;
    // A statement found the store damaged. renew() then keeps the damaged
    // one aside, never over another, and starts a new one; it returns where
    // the damaged one is kept, empty when it could not, or when another
    // connection had set it aside already (then damaged() is false again:
    // the store is on the new one).
    virtual bool damaged() const = 0;
    virtual QString renew() = 0;

    // Appends the entries, in order, all or none; their ids are set.
    virtual bool appendEntries(QList<JournalRecord>& entries) = 0;
    // Up to count entries that pass the filter with an id above afterId,
    // oldest first.
    virtual bool readEntries(const JournalFilter& filter, qint64 afterId, int count,
                             QList<JournalRecord>* out) = 0;
    // Up to count entries that pass the filter with an id below beforeId,
    // the newest of them, oldest first; kPastNewest reads the newest.
    // Together with readEntries, a page anywhere is one bounded query from
    // the id at its edge, never a count of the rows before it.
    virtual bool readEntriesBefore(const JournalFilter& filter, qint64 beforeId, int count,
                                   QList<JournalRecord>* out) = 0;
    static constexpr qint64 kPastNewest = std::numeric_limits<qint64>::max();
    // How many entries pass the filter; -1 when that cannot be read.
    virtual qint64 countEntries(const JournalFilter& filter) = 0;
    // The sites (but none) and operators the journal names, sorted, each once.
    virtual QStringList journalSites() = 0;
    virtual QStringList journalOperators() = 0;

    // The site book, each change one transaction on one site. A change to
    // a site that another copy of the program changed or deleted since it
    // was read is refused.
    enum class Change { Done, Changed, Gone, NameTaken, Failed };
    virtual bool readSites(QList<Site>* out) = 0;   // in name order
    virtual Change addSite(Site& site) = 0;   // id and version set
    virtual Change updateSite(Site& site) = 0;   // version raised
    virtual Change removeSite(const Site& site) = 0;
    // Only the time of use; not a change the other copy needs to see before its own.
    virtual Change markSiteUsed(Site& site, const QDateTime& when) = 0;

    // The local copy of a team's site book (team: its URI), as the team's
    // server last gave it, for when the server cannot be reached. The copy
    // is the server's to change; only the time of use is this computer's
    // own, kept here and never sent.
    virtual bool readTeamSites(const QString& team, QList<Site>* out) = 0;   // in name order
    // Makes the copy the server's book; the times of use kept here stay.
    virtual bool keepTeamSites(const QString& team, const QList<Site>& sites) = 0;
    virtual Change markTeamSiteUsed(const QString& team, Site& site, const QDateTime& when) = 0;

    // Brings in what was kept before the store, once however many copies
    // try: the entries and sites under the name `what`, all or none.
    enum class Import { Done, AlreadyDone, Failed };
    virtual Import importOnce(const QString& what, QList<JournalRecord>& entries, QList<Site>& sites) = 0;

    // The journal as a team's database takes it: this database's own id,
    // made with it, and per team database the last entry it has taken
    // (0 before the first).
    virtual QString installationId() = 0;
    virtual bool readShipped(const QString& team, qint64* lastId) = 0;
    virtual bool setShipped(const QString& team, qint64 lastId) = 0;
};
