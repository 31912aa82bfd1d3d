// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "store/journalfilter.h"
#include "store/journalwriter.h"

#include <QAtomicInt>
#include <QObject>

class QThread;

// Counts the journal's entries that pass a filter on a thread of its own,
// through a connection of its own: a search over millions of entries never
// holds up the window. Only the answer to the newest request matters.
class JournalCounter : public QObject {
    Q_OBJECT
public:
    explicit JournalCounter(JournalWriter::StoreMaker makeStore, QObject* parent = nullptr);
    ~JournalCounter() override;

    // Returns the ticket that counted() will carry.
    int request(const JournalFilter& filter);

signals:
    // count -1: the journal could not be read, for the reason given.
    void counted(int ticket, qint64 count, const QString& error);

private:
    QThread* m_thread = nullptr;
    QObject* m_worker = nullptr;   // lives on the thread
    QAtomicInt m_newest;           // the ticket of the newest request
};
