// SPDX-License-Identifier: GPL-3.0-or-later
#include "teamtask.h"

#include "store/teamconnection.h"
#include "store/teamschema.h"
#include "store/workerthread.h"

#include <QSqlQuery>
#include <QVariant>

// One run on its thread. Shared with the thread, so that a thread left
// waiting on the server outlives the task safely.
class TeamTaskRun : public QObject {
    Q_OBJECT
public:
    TeamTaskRun(const TeamAddress& address, TeamTask::Work work) : m_address(address), m_work(std::move(work))
    {}

    void run()
    {
        const TeamReply reply = replyOf();
        emit done(reply.ok, reply.text, reply.left);
    }

signals:
    void done(bool ok, const QString& text, const QStringList& left);

private:
    TeamReply replyOf()
    {
        TeamConnection connection(m_address);
        if (!connection.open())
            return {false, connection.error(), {}};
        const TeamSchema::State state = TeamSchema::check(connection.database());
        if (state.kind != TeamSchema::State::Kind::Ready)
            return {false, state.text, {}};
        return m_work(connection.database());
    }

    TeamAddress m_address;
    TeamTask::Work m_work;
};

TeamTask::TeamTask(QObject* parent) : QObject(parent) {}

TeamTask::~TeamTask()
{
    if (m_run)
        m_run->disconnect(this);
}

bool TeamTask::start(const TeamAddress& address, Work work)
{
    if (m_running)
        return false;
    m_running = true;
    if (m_run)
        m_run->disconnect(this);
    m_run = std::make_shared<TeamTaskRun>(address, std::move(work));
    connect(m_run.get(), &TeamTaskRun::done, this, &TeamTask::end);
    WorkerThread::start(QStringLiteral("team task"), [run = m_run] { run->run(); });
    return true;
}

void TeamTask::end(bool ok, const QString& text, const QStringList& left)
{
    m_running = false;
    emit finished(ok, text, left);
}

TeamReply TeamTask::connected(QSqlDatabase& db, const TeamAddress& address)
{
    QSqlQuery q(db);
    const QString role =
        q.exec(QStringLiteral("SELECT current_user")) && q.next() ? q.value(0).toString() : address.user;
    return {true, QStringLiteral("Connected: %1 as %2.").arg(address.describe(), role), {}};
}

#include "teamtask.moc"
