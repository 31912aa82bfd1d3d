// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "store/teamaddress.h"

#include <QSqlDatabase>
#include <QString>

#include <memory>

// One connection to the team database through Qt's PostgreSQL driver, under
// a name of its own that goes with the object. Used on the thread that made it.
class TeamConnection {
public:
    explicit TeamConnection(const TeamAddress& address);
    ~TeamConnection();
    TeamConnection(const TeamConnection&) = delete;
    TeamConnection& operator=(const TeamConnection&) = delete;

    // Connects; on failure error() says why, naming the database.
    bool open();
    // A connection to tables of this program's version; none, with the
    // reason in *reason, when the server cannot be reached or its tables
    // are missing, older or newer. *tablesRefused (when given) says
    // whether it was the tables: only --team-setup, or a newer program, mends that.
    static std::unique_ptr<TeamConnection> openReady(const TeamAddress& address, QString* reason,
                                                     bool* tablesRefused = nullptr);
    QSqlDatabase& database() { return m_db; }
    QString error() const { return m_error; }

private:
    TeamAddress m_address;
    QString m_name;
    QSqlDatabase m_db;
    QString m_error;
};
