// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "store/teamaddress.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class QSqlDatabase;
class TeamTaskRun;

// What one piece of work with the team database came to.
struct TeamReply {
    bool ok = false;
    QString text;   // one sentence for the user
    QStringList left;   // what was left out, one line each
};

// Runs one piece of work with the team database on a thread of its own,
// with a connection of its own, and tells its outcome on the thread that
// started it: the caller never waits on the network. The work runs only
// once the connection is open and the tables are this program's version.
// Deleting the task does not wait for the server either; the thread ends
// by itself when the server answers or the connect timeout passes.
class TeamTask : public QObject {
    Q_OBJECT
public:
    using Work = std::function<TeamReply(QSqlDatabase& db)>;

    explicit TeamTask(QObject* parent = nullptr);
    ~TeamTask() override;

    // False, and nothing started, while an earlier work is running.
    bool start(const TeamAddress& address, Work work);
    bool running() const { return m_running; }

    // "Connected: <database> as <role>." for a connection that is open.
    static TeamReply connected(QSqlDatabase& db, const TeamAddress& address);

signals:
    void finished(bool ok, const QString& text, const QStringList& left);

private:
    void end(bool ok, const QString& text, const QStringList& left);

    std::shared_ptr<TeamTaskRun> m_run;
    bool m_running = false;
};
