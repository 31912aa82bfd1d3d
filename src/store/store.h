// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "store/journalfilter.h"
#include "store/journalrecord.h"

#include <QList>
#include <QString>
#include <QStringList>

// Where the journal is kept. One connection per object, used on the thread
// that made it; each call is its own transaction. A call that fails says
// why in lastError() and changes nothing.
class Store {
public:
    virtual ~Store() = default;

    virtual QString lastError() const = 0;

    // Appends the entries, in order, all or none; their ids are set.
    virtual bool appendEntries(QList<JournalRecord>& entries) = 0;
    // Up to count entries that pass the filter with an id above afterId,
    // oldest first.
    virtual bool readEntries(const JournalFilter& filter, qint64 afterId, int count,
                             QList<JournalRecord>* out) = 0;
    // Up to count entries that pass the filter, skipping the first `skip`,
    // counted from the oldest or, fromNewest, from the newest; oldest first.
    virtual bool readEntriesAt(const JournalFilter& filter, qint64 skip, int count, bool fromNewest,
                               QList<JournalRecord>* out) = 0;
    // How many entries pass the filter; -1 when that cannot be read.
    virtual qint64 countEntries(const JournalFilter& filter) = 0;
    // The sites (but none) and operators the journal names, sorted, each once.
    virtual QStringList journalSites() = 0;
    virtual QStringList journalOperators() = 0;
};
