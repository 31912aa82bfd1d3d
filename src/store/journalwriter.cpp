// SPDX-License-Identifier: GPL-3.0-or-later
#include "journalwriter.h"

#include "store/renewingstore.h"

#include <QDateTime>
#include <QDeadlineTimer>
#include <QThread>

JournalWriter::JournalWriter(StoreMaker makeStore, QObject* parent)
    : QObject(parent), m_makeStore(std::move(makeStore))
{
    m_thread = QThread::create([this] { run(); });
    m_thread->setObjectName(QStringLiteral("journal writer"));
    m_thread->start();
}

JournalWriter::~JournalWriter()
{
    {
        QMutexLocker lock(&m_mutex);
        m_stop = true;
        m_wake.wakeAll();
    }
    m_thread->wait();
    delete m_thread;
}

QString JournalWriter::lostText(qint64 count)
{
    return QStringLiteral("%1 entries lost while the journal could not be written").arg(count);
}

void JournalWriter::append(const JournalRecord& record)
{
    QMutexLocker lock(&m_mutex);
    if (m_queue.size() >= std::size_t(kMaxWaiting)) {
        if (m_lost++ == 0)
            m_firstLost = record;
        return;
    }
    m_queue.push_back(record);
    m_wake.wakeAll();
}

int JournalWriter::waiting() const
{
    QMutexLocker lock(&m_mutex);
    return int(m_queue.size() + m_lost);
}

bool JournalWriter::waitUntilWritten(int msecs)
{
    QDeadlineTimer deadline(msecs);
    QMutexLocker lock(&m_mutex);
    while (!m_queue.empty() || m_lost > 0) {
        if (!m_drained.wait(&m_mutex, deadline))
            return m_queue.empty() && m_lost == 0;
    }
    return true;
}

void JournalWriter::run()
{
    std::unique_ptr<Store> store;
    QMutexLocker lock(&m_mutex);
    while (true) {
        while (m_queue.empty() && !m_stop)
            m_wake.wait(&m_mutex);
        if (m_queue.empty())
            break;
        lock.unlock();
        const bool ok = writeBatch(store);
        lock.relock();
        if (!ok && m_stop)
            break;
        if (!ok)
            m_wake.wait(&m_mutex, kRetryMs);
    }
}

// A damaged store is kept aside, and the entries go into a new one.
std::unique_ptr<Store> JournalWriter::openStore(QString* error)
{
    std::unique_ptr<Store> made = m_makeStore(error);
    if (!made)
        return nullptr;
    return std::make_unique<RenewingStore>(std::move(made),
                                           [this](const QString& keptAs) { emit renewed(keptAs); });
}

// Writes the oldest waiting entries; they leave the queue only once stored.
bool JournalWriter::writeBatch(std::unique_ptr<Store>& store)
{
    QList<JournalRecord> batch;
    {
        QMutexLocker lock(&m_mutex);
        const std::size_t count = std::min(m_queue.size(), std::size_t(kBatch));
        batch.reserve(qsizetype(count));
        for (std::size_t i = 0; i < count; ++i)
            batch.append(m_queue[i]);
    }
    QString error;
    if (!store)
        store = openStore(&error);
    const bool ok = store && store->appendEntries(batch);
    if (store && !ok) {
        error = store->lastError();
        store.reset();   // opened anew next time: the folder may have come back
    }
    afterWrite(int(batch.size()), ok, error);
    if (ok)
        emit written(batch.back().id);
    return ok;
}

void JournalWriter::afterWrite(int count, bool ok, const QString& error)
{
    {
        QMutexLocker lock(&m_mutex);
        if (ok) {
            m_queue.erase(m_queue.begin(), m_queue.begin() + count);
            m_reason.clear();
            if (m_lost > 0) {
                // The lost entries came after every kept one: the count takes their place.
                JournalRecord notice = JournalRecord::at(QDateTime::currentDateTime(),
                                                         JournalRecord::Kind::Event, lostText(m_lost));
                notice.operatorName = m_firstLost.operatorName;
                notice.host = m_firstLost.host;
                notice.site = m_firstLost.site;
                m_queue.push_back(notice);
                m_lost = 0;
            }
            if (m_queue.empty())
                m_drained.wakeAll();
        } else {
            m_reason = error;
        }
    }
    tellBacklog();
}

void JournalWriter::tellBacklog()
{
    int waiting = 0;
    QString reason;
    {
        QMutexLocker lock(&m_mutex);
        waiting = int(m_queue.size() + m_lost);
        reason = m_reason;
        if (reason.isEmpty() && m_toldWaiting == 0)
            return;   // writing as usual: entries wait only for the next commit
        if (waiting == m_toldWaiting && reason == m_toldReason)
            return;
        m_toldWaiting = waiting;
        m_toldReason = reason;
    }
    emit backlogChanged(waiting, reason);
}
