// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "store/journalfilter.h"
#include "store/journalwriter.h"

#include <QAtomicInt>
#include <QObject>

class QThread;

// Reads the newest entries that pass a filter, then counts them all, on a
// thread of its own through a connection of its own: a search over millions
// of entries never holds up the window, and its newest finds show before
// the count is done. Only the answers to the newest request matter.
class JournalCounter : public QObject {
    Q_OBJECT
public:
    explicit JournalCounter(JournalWriter::StoreMaker makeStore, QObject* parent = nullptr);
    ~JournalCounter() override;

    static constexpr int kNewestRows = 200;

    // Returns the ticket that the answers will carry. withNewest: read the
    // newest entries first (newestRead).
    int request(const JournalFilter& filter, bool withNewest);

signals:
    void newestRead(int ticket, const QList<JournalRecord>& entries);
    // count -1: the journal could not be read, for the reason given.
    void counted(int ticket, qint64 count, const QString& error);

private:
    QThread* m_thread = nullptr;
    QObject* m_worker = nullptr;   // lives on the thread
    QAtomicInt m_newest;   // the ticket of the newest request
};
