// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "store/journalrecord.h"

#include <QMutex>
#include <QObject>
#include <QWaitCondition>

#include <deque>
#include <functional>
#include <memory>

class QThread;
class Store;

// Writes the journal on a thread of its own, through a connection of its
// own, so that a store that is slow, busy with another copy of the program
// or not writable never holds up the window or the line. Entries are
// written, in order, as soon as they come; while the store cannot be
// written they wait in memory and are tried again every half second. Past
// kMaxWaiting waiting entries the newest are only counted, and the count is
// journalled once writing resumes.
class JournalWriter : public QObject {
    Q_OBJECT
public:
    static constexpr int kMaxWaiting = 100000;
    static constexpr int kRetryMs = 500;
    static constexpr int kBatch = 1000;   // entries in one transaction at most

    // Opens the store on the writer's thread; null, with the reason, when it cannot.
    using StoreMaker = std::function<std::unique_ptr<Store>(QString* error)>;

    explicit JournalWriter(StoreMaker makeStore, QObject* parent = nullptr);
    // Ends after one last try to write what waits.
    ~JournalWriter() override;

    // From any thread; returns at once.
    void append(const JournalRecord& record);

    int waiting() const;
    // Waits until nothing waits (true) or msecs have passed (false).
    bool waitUntilWritten(int msecs);

    static QString lostText(qint64 count);

signals:
    // The entries waiting changed, with why they cannot be written; waiting
    // 0 and no reason once all are written.
    void backlogChanged(int waiting, const QString& reason);
    // Entries up to this id are in the store.
    void written(qint64 lastId);
    // The store was found damaged while writing: it is kept aside there,
    // and the entries go into a new one.
    void renewed(const QString& keptAs);

private:
    void run();
    std::unique_ptr<Store> openStore(QString* error);
    bool writeBatch(std::unique_ptr<Store>& store);
    void afterWrite(int count, bool ok, const QString& error);
    void tellBacklog();

    StoreMaker m_makeStore;
    QThread* m_thread = nullptr;
    mutable QMutex m_mutex;
    QWaitCondition m_wake;   // an entry came, or the writer must stop
    QWaitCondition m_drained;   // nothing waits any more
    std::deque<JournalRecord> m_queue;
    qint64 m_lost = 0;
    JournalRecord m_firstLost;
    QString m_reason;
    bool m_stop = false;
    int m_toldWaiting = 0;
    QString m_toldReason;
};
