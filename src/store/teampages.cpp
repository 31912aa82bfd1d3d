// SPDX-License-Identifier: GPL-3.0-or-later
#include "teampages.h"

#include "store/store.h"
#include "store/teamconnection.h"
#include "store/teamjournal.h"
#include "store/teamschema.h"

#include <QThread>

// What runs on the thread, shared with it, so that a thread left waiting
// on a hung server outlives the object that asked.
class TeamPagesWorker : public QObject {
    Q_OBJECT
public:
    TeamPagesWorker(const TeamAddress& address, const QString& team, JournalWriter::StoreMaker makeLocal)
        : m_address(address), m_team(team), m_makeLocal(std::move(makeLocal))
    {}

    // The journal, connected; none with the reason.
    TeamJournal* journal(QString* reason)
    {
        if (m_journal)
            return m_journal.get();
        auto server = std::make_unique<TeamConnection>(m_address);
        if (!server->open()) {
            *reason = server->error();
            return nullptr;
        }
        const TeamSchema::State state = TeamSchema::check(server->database());
        if (state.kind != TeamSchema::State::Kind::Ready) {
            *reason = state.text;
            return nullptr;
        }
        if (!m_local && m_makeLocal)
            m_local = m_makeLocal(reason);   // none: without this computer's unshipped entries
        m_server = std::move(server);
        m_journal = std::make_unique<TeamJournal>(m_server->database(), m_local.get(), m_team);
        return m_journal.get();
    }

    // A failed statement: connected anew next time, the server may be back.
    QString dropped()
    {
        const QString reason = m_journal ? m_journal->lastError() : QString();
        m_journal.reset();
        m_server.reset();
        m_local.reset();
        return reason;
    }

    void close()
    {
        m_journal.reset();
        m_server.reset();
        m_local.reset();
    }

signals:
    void pageRead(int ticket, const QList<JournalRecord>& entries, const QString& error);
    void counted(int ticket, qint64 count, const QString& error);
    void choicesRead(const QStringList& sites, const QStringList& operators);

private:
    TeamAddress m_address;
    QString m_team;
    JournalWriter::StoreMaker m_makeLocal;
    std::unique_ptr<Store> m_local;
    std::unique_ptr<TeamConnection> m_server;
    std::unique_ptr<TeamJournal> m_journal;
};

TeamPages::TeamPages(const TeamAddress& address, const QString& team, JournalWriter::StoreMaker makeLocal,
                     QObject* parent)
    : QObject(parent), m_worker(std::make_shared<TeamPagesWorker>(address, team, std::move(makeLocal)))
{
    connect(m_worker.get(), &TeamPagesWorker::pageRead, this, &TeamPages::pageRead);
    connect(m_worker.get(), &TeamPagesWorker::counted, this, &TeamPages::counted);
    connect(m_worker.get(), &TeamPagesWorker::choicesRead, this, &TeamPages::choicesRead);
    m_thread = new QThread;
    m_thread->setObjectName(QStringLiteral("team journal"));
    m_worker->moveToThread(m_thread);
    m_thread->start();
}

TeamPages::~TeamPages()
{
    m_worker->disconnect(this);
    // What waits is left undone; a statement under way ends on its own.
    QMetaObject::invokeMethod(
        m_worker.get(), [worker = m_worker] { worker->close(); }, Qt::QueuedConnection);
    QThread* thread = m_thread;
    std::shared_ptr<TeamPagesWorker> worker = m_worker;
    // The worker is deleted once its thread has ended, which a hung server may put off.
    connect(thread, &QThread::finished, thread, [thread, worker]() mutable {
        worker.reset();
        thread->deleteLater();
    });
    thread->quit();
}

int TeamPages::readPage(const JournalFilter& filter, bool older, const std::optional<JournalRecord>& edge,
                        int rows)
{
    const int ticket = ++m_ticket;
    TeamPagesWorker* worker = m_worker.get();
    QMetaObject::invokeMethod(
        worker,
        [worker, ticket, filter, older, edge, rows] {
            QString reason;
            QList<JournalRecord> page;
            TeamJournal* journal = worker->journal(&reason);
            const JournalRecord* from = edge ? &*edge : nullptr;
            if (journal
                && !(older ? journal->readBefore(filter, from, rows, &page)
                           : journal->readAfter(filter, from, rows, &page)))
                reason = worker->dropped();
            emit worker->pageRead(ticket, page, reason);
        },
        Qt::QueuedConnection);
    return ticket;
}

int TeamPages::count(const JournalFilter& filter)
{
    const int ticket = ++m_ticket;
    TeamPagesWorker* worker = m_worker.get();
    QMetaObject::invokeMethod(
        worker,
        [worker, ticket, filter] {
            QString reason;
            TeamJournal* journal = worker->journal(&reason);
            const qint64 count = journal ? journal->count(filter) : -1;
            if (journal && count < 0)
                reason = worker->dropped();
            emit worker->counted(ticket, count, reason);
        },
        Qt::QueuedConnection);
    return ticket;
}

void TeamPages::readChoices()
{
    TeamPagesWorker* worker = m_worker.get();
    QMetaObject::invokeMethod(
        worker,
        [worker] {
            QString reason;
            QStringList sites;
            QStringList operators;
            TeamJournal* journal = worker->journal(&reason);
            if (journal && journal->readChoices(&sites, &operators))
                emit worker->choicesRead(sites, operators);
        },
        Qt::QueuedConnection);
}

#include "teampages.moc"
