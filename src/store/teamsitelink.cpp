// SPDX-License-Identifier: GPL-3.0-or-later
#include "teamsitelink.h"

#include "store/teamconnection.h"
#include "store/workerthread.h"

#include <QMutex>
#include <QQueue>
#include <QWaitCondition>

#include <optional>

// What runs on the link's thread. It is shared with the thread, so that a
// thread left waiting on a hung server outlives the link safely.
class TeamSiteWorker : public QObject {
    Q_OBJECT
public:
    explicit TeamSiteWorker(const TeamAddress& address) : m_address(address) {}

    struct Change {
        int request = 0;
        TeamSiteLink::Kind kind = TeamSiteLink::Kind::Add;
        Site site;
    };

    void run();
    void ask(const std::optional<Change>& change);
    void stop();

signals:
    void sitesRead(const QList<Site>& sites);
    void unreachable(const QString& reason);
    void saved(int request, const TeamSites::Answer& answer);

private:
    bool openServer(QString* reason);
    void make(const Change& change);
    void readBook();

    TeamAddress m_address;
    std::unique_ptr<TeamConnection> m_server;

    QMutex m_mutex;
    QWaitCondition m_wakeUp;
    QQueue<Change> m_changes;
    bool m_readWanted = false;
    bool m_stop = false;
};

void TeamSiteWorker::run()
{
    while (true) {
        std::optional<Change> change;
        {
            QMutexLocker lock(&m_mutex);
            while (!m_stop && m_changes.isEmpty() && !m_readWanted)
                m_wakeUp.wait(&m_mutex);
            if (m_stop)
                break;
            if (!m_changes.isEmpty())
                change = m_changes.dequeue();
            m_readWanted = false;
        }
        if (change)
            make(*change);
        readBook();
    }
    m_server.reset();
}

void TeamSiteWorker::ask(const std::optional<Change>& change)
{
    QMutexLocker lock(&m_mutex);
    if (change)
        m_changes.enqueue(*change);
    else
        m_readWanted = true;
    m_wakeUp.wakeAll();
}

void TeamSiteWorker::stop()
{
    QMutexLocker lock(&m_mutex);
    m_stop = true;
    m_wakeUp.wakeAll();
}

bool TeamSiteWorker::openServer(QString* reason)
{
    if (!m_server)
        m_server = TeamConnection::openReady(m_address, reason);
    return m_server != nullptr;
}

void TeamSiteWorker::make(const Change& change)
{
    TeamSites::Answer answer;
    if (!openServer(&answer.error)) {
        emit saved(change.request, answer);
        return;
    }
    QSqlDatabase& db = m_server->database();
    switch (change.kind) {
    case TeamSiteLink::Kind::Add: answer = TeamSites::add(db, change.site); break;
    case TeamSiteLink::Kind::Update: answer = TeamSites::update(db, change.site); break;
    case TeamSiteLink::Kind::Remove: answer = TeamSites::remove(db, change.site); break;
    }
    if (answer.change == Store::Change::Failed)
        m_server.reset();   // connected anew next time: the server may be back
    emit saved(change.request, answer);
}

// A connection the server dropped (restarted, say) is made anew once.
void TeamSiteWorker::readBook()
{
    QString reason;
    QList<Site> sites;
    for (bool reused = m_server != nullptr;; reused = false) {
        if (openServer(&reason) && TeamSites::read(m_server->database(), &sites, &reason)) {
            emit sitesRead(sites);
            return;
        }
        m_server.reset();
        if (!reused)
            break;
    }
    emit unreachable(reason);
}

TeamSiteLink::TeamSiteLink(const TeamAddress& address, QObject* parent)
    : QObject(parent), m_worker(std::make_shared<TeamSiteWorker>(address))
{
    connect(m_worker.get(), &TeamSiteWorker::sitesRead, this, &TeamSiteLink::sitesRead);
    connect(m_worker.get(), &TeamSiteWorker::unreachable, this, &TeamSiteLink::unreachable);
    connect(m_worker.get(), &TeamSiteWorker::saved, this, &TeamSiteLink::saved);
    m_thread = WorkerThread::start(QStringLiteral("team site book"), [worker = m_worker] { worker->run(); });
}

TeamSiteLink::~TeamSiteLink()
{
    m_worker->disconnect(this);
    m_worker->stop();
    WorkerThread::release(m_thread, kStopWaitMs);
}

void TeamSiteLink::read()
{
    m_worker->ask(std::nullopt);
}

int TeamSiteLink::save(Kind kind, const Site& site)
{
    m_worker->ask(TeamSiteWorker::Change{++m_lastRequest, kind, site});
    return m_lastRequest;
}

#include "teamsitelink.moc"
