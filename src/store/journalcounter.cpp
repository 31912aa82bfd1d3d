// SPDX-License-Identifier: GPL-3.0-or-later
#include "journalcounter.h"

#include "store/store.h"

#include <QAtomicInt>
#include <QThread>

#include <memory>

namespace {

// The counting itself, on the counter's thread; a request that a newer one
// has overtaken before it starts is left undone.
class CountWorker : public QObject {
public:
    CountWorker(JournalWriter::StoreMaker makeStore, JournalCounter& counter, QAtomicInt& newest)
        : m_makeStore(std::move(makeStore)), m_counter(counter), m_newest(newest)
    {}

    void count(int ticket, JournalFilter filter, bool withNewest)
    {
        if (ticket != m_newest.loadAcquire())
            return;
        QString error;
        if (!m_store)
            m_store = m_makeStore(&error);
        QList<JournalRecord> newest;
        if (m_store && withNewest
            && m_store->readEntriesBefore(filter, Store::kPastNewest, JournalCounter::kNewestRows, &newest))
            emit m_counter.newestRead(ticket, newest);
        if (ticket != m_newest.loadAcquire())
            return;
        const qint64 count = m_store ? m_store->countEntries(filter) : -1;
        if (m_store && count < 0) {
            error = m_store->lastError();
            m_store.reset();
        }
        emit m_counter.counted(ticket, count, error);
    }

    void close() { m_store.reset(); }

private:
    JournalWriter::StoreMaker m_makeStore;
    JournalCounter& m_counter;
    QAtomicInt& m_newest;
    std::unique_ptr<Store> m_store;
};

}   // namespace

JournalCounter::JournalCounter(JournalWriter::StoreMaker makeStore, QObject* parent) : QObject(parent)
{
    m_thread = new QThread;
    m_thread->setObjectName(QStringLiteral("journal counter"));
    m_worker = new CountWorker(std::move(makeStore), *this, m_newest);
    m_worker->moveToThread(m_thread);
    m_thread->start();
}

JournalCounter::~JournalCounter()
{
    m_newest.storeRelease(-1);   // what waits is left undone
    auto* worker = static_cast<CountWorker*>(m_worker);
    QMetaObject::invokeMethod(
        m_worker, [worker] { worker->close(); }, Qt::BlockingQueuedConnection);
    m_thread->quit();
    m_thread->wait();
    delete m_worker;
    delete m_thread;
}

int JournalCounter::request(const JournalFilter& filter, bool withNewest)
{
    const int ticket = m_newest.loadRelaxed() + 1;
    m_newest.storeRelease(ticket);
    auto* worker = static_cast<CountWorker*>(m_worker);
    QMetaObject::invokeMethod(
        m_worker, [worker, ticket, filter, withNewest] { worker->count(ticket, filter, withNewest); },
        Qt::QueuedConnection);
    return ticket;
}
