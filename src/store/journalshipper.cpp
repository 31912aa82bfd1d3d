// SPDX-License-Identifier: GPL-3.0-or-later
#include "journalshipper.h"

#include "store/renewingstore.h"
#include "store/teamconnection.h"
#include "store/workerthread.h"

#include <QDateTime>
#include <QMutex>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>
#include <QWaitCondition>

#include <algorithm>

// What runs on the shipping thread. It is shared with the thread, so that a
// thread left waiting on a hung server outlives the shipper safely.
class ShippingWorker : public QObject {
    Q_OBJECT
public:
    ShippingWorker(JournalWriter::StoreMaker makeLocal, const TeamAddress& address, const QString& team)
        : m_makeLocal(std::move(makeLocal)), m_address(address), m_team(team)
    {}

    void run();
    void wake();
    void stop();

signals:
    // newestId: the newest local entry counted in waiting.
    void backlogChanged(qint64 waiting, qint64 newestId, const QString& reason);
    void shipped(qint64 lastId);
    void tablesRefused(const QString& text);

private:
    bool shipBatch();
    bool openLocal(QString* reason);
    bool openTeam(QString* reason);
    bool insert(const QList<JournalRecord>& entries, QString* reason);
    qint64 newestLocalId();
    void tell(qint64 waiting, qint64 newestId, const QString& reason);
    void tellAgain(const QString& reason) { tell(std::max<qint64>(m_toldWaiting, 0), m_toldNewest, reason); }

    JournalWriter::StoreMaker m_makeLocal;
    TeamAddress m_address;
    QString m_team;
    std::unique_ptr<Store> m_local;
    std::unique_ptr<TeamConnection> m_server;
    QString m_installation;

    QMutex m_mutex;
    QWaitCondition m_wakeUp;
    bool m_woken = false;
    bool m_stop = false;

    qint64 m_toldWaiting = -1;
    qint64 m_toldNewest = 0;
    QString m_toldRefusal;
    QString m_toldReason;
};

void ShippingWorker::run()
{
    // Tables that need their owner are told at once, not only when the first entry waits.
    QString reason;
    openTeam(&reason);
    while (true) {
        const bool more = shipBatch();
        QMutexLocker lock(&m_mutex);
        if (!more && !m_woken && !m_stop)
            m_wakeUp.wait(&m_mutex, JournalShipper::kRetryMs);
        m_woken = false;
        if (m_stop)
            break;
    }
    m_server.reset();
    m_local.reset();
}

void ShippingWorker::wake()
{
    QMutexLocker lock(&m_mutex);
    m_woken = true;
    m_wakeUp.wakeAll();
}

void ShippingWorker::stop()
{
    QMutexLocker lock(&m_mutex);
    m_stop = true;
    m_wakeUp.wakeAll();
}

// Ships the oldest entries the server has not taken; true when more wait.
bool ShippingWorker::shipBatch()
{
    QString reason;
    if (!openLocal(&reason)) {
        tellAgain(reason);
        return false;
    }
    // Read each time: a database renewed after damage has an id of its own.
    m_installation = m_local->installationId();
    qint64 shippedId = 0;
    QList<JournalRecord> entries;
    if (m_installation.isEmpty() || !m_local->readShipped(m_team, &shippedId)
        || !m_local->readEntries(JournalFilter(), shippedId, JournalShipper::kBatch, &entries)) {
        tellAgain(m_local->lastError());
        m_local.reset();
        return false;
    }
    if (entries.isEmpty()) {
        tell(0, shippedId, QString());
        return false;
    }
    const qint64 newest = std::max(newestLocalId(), entries.back().id);
    const qint64 waiting = std::max<qint64>(newest - shippedId, entries.size());
    tell(waiting, newest, m_toldReason);   // what waits while the server takes its time
    if (!openTeam(&reason) || !insert(entries, &reason)) {
        m_server.reset();   // connected anew next time: the server may be back
        tell(waiting, newest, reason);
        return false;
    }
    const qint64 lastId = entries.back().id;
    if (!m_local->setShipped(m_team, lastId)) {
        // Sent again next time, which the server takes as the same rows.
        tell(waiting, newest, m_local->lastError());
        m_local.reset();
        return false;
    }
    emit shipped(lastId);
    tell(waiting - entries.size(), newest, QString());
    return entries.size() == JournalShipper::kBatch;
}

bool ShippingWorker::openLocal(QString* reason)
{
    if (m_local)
        return true;
    std::unique_ptr<Store> made = m_makeLocal(reason);
    if (!made)
        return false;
    m_local = std::make_unique<RenewingStore>(std::move(made), [](const QString&) {});
    return true;
}

bool ShippingWorker::openTeam(QString* reason)
{
    if (m_server)
        return true;
    bool refused = false;
    m_server = TeamConnection::openReady(m_address, reason, &refused);
    // Told once: the tables stay as they are until their owner acts.
    if (refused && *reason != m_toldRefusal)
        emit tablesRefused(*reason);
    m_toldRefusal = refused ? *reason : QString();
    return m_server != nullptr;
}

// One transaction; an entry the server has already is left as it is.
bool ShippingWorker::insert(const QList<JournalRecord>& entries, QString* reason)
{
    QSqlDatabase& db = m_server->database();
    QSqlQuery q(db);
    const bool ok = db.transaction()
        && q.prepare(QStringLiteral(
            "INSERT INTO journal (installation_id, local_id, at_utc, utc_offset, operator, host, site, kind, "
            "text) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?) ON CONFLICT (installation_id, local_id) DO NOTHING"))
        && std::all_of(entries.begin(), entries.end(),
                       [&](const JournalRecord& entry) {
                           q.addBindValue(m_installation);
                           q.addBindValue(entry.id);
                           q.addBindValue(QDateTime::fromMSecsSinceEpoch(entry.utcMs, Qt::UTC));
                           q.addBindValue(entry.offsetSeconds ? QVariant(*entry.offsetSeconds)
                                                              : QVariant(QMetaType::fromType<int>()));
                           q.addBindValue(entry.operatorName);
                           q.addBindValue(entry.host);
                           q.addBindValue(entry.site);
                           q.addBindValue(JournalRecord::kindName(entry.kind));
                           q.addBindValue(entry.text);
                           return q.exec();
                       })
        && db.commit();
    if (ok)
        return true;
    const QSqlError error = q.lastError().isValid() ? q.lastError() : db.lastError();
    *reason = QStringLiteral("The team database %1 did not take the journal: %2")
                  .arg(m_address.describe(), error.text().trimmed());
    if (db.isOpen() && !db.isOpenError())
        db.rollback();
    return false;
}

qint64 ShippingWorker::newestLocalId()
{
    QList<JournalRecord> newest;
    m_local->readEntriesBefore(JournalFilter(), Store::kPastNewest, 1, &newest);
    return newest.isEmpty() ? 0 : newest.back().id;
}

void ShippingWorker::tell(qint64 waiting, qint64 newestId, const QString& reason)
{
    if (waiting == m_toldWaiting && newestId == m_toldNewest && reason == m_toldReason)
        return;
    m_toldWaiting = waiting;
    m_toldNewest = newestId;
    m_toldReason = reason;
    emit backlogChanged(waiting, newestId, reason);
}

JournalShipper::JournalShipper(JournalWriter::StoreMaker makeLocal, const TeamAddress& address,
                               const QString& team, QObject* parent)
    : QObject(parent), m_worker(std::make_shared<ShippingWorker>(std::move(makeLocal), address, team))
{
    connect(m_worker.get(), &ShippingWorker::backlogChanged, this,
            [this](qint64 waiting, qint64 newestId, const QString& reason) {
                m_counted = Counted{waiting, newestId, reason};
                tellBacklog();
            });
    connect(m_worker.get(), &ShippingWorker::shipped, this, &JournalShipper::shipped);
    connect(m_worker.get(), &ShippingWorker::tablesRefused, this, &JournalShipper::tablesRefused);
    m_thread = WorkerThread::start(QStringLiteral("journal shipper"), [worker = m_worker] { worker->run(); });
}

JournalShipper::~JournalShipper()
{
    m_worker->disconnect(this);
    m_worker->stop();
    WorkerThread::release(m_thread, kStopWaitMs);
}

void JournalShipper::wake()
{
    m_worker->wake();
}

void JournalShipper::entriesWritten(qint64 lastId)
{
    m_lastWritten = lastId;
    tellBacklog();
    wake();
}

// What the worker counted, and the entries written since that it has not
// seen: it may be waiting on a hung server.
void JournalShipper::tellBacklog()
{
    if (!m_counted)
        return;
    const qint64 waiting = m_counted->waiting + std::max<qint64>(0, m_lastWritten - m_counted->newestId);
    if (waiting == m_toldWaiting && m_counted->reason == m_toldReason)
        return;
    m_toldWaiting = waiting;
    m_toldReason = m_counted->reason;
    emit backlogChanged(waiting, m_toldReason);
}

#include "journalshipper.moc"
