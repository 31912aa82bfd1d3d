// SPDX-License-Identifier: GPL-3.0-or-later
#include "teamconnection.h"

#include "store/teamschema.h"

#include <QAtomicInt>
#include <QSqlError>

namespace {

const QString kDriver = QStringLiteral("QPSQL");

QString nextConnectionName()
{
    static QAtomicInt count;
    return QStringLiteral("velno-team-%1").arg(count.fetchAndAddRelaxed(1));
}

}   // namespace

TeamConnection::TeamConnection(const TeamAddress& address) : m_address(address), m_name(nextConnectionName())
{}

TeamConnection::~TeamConnection()
{
    m_db.close();
    m_db = QSqlDatabase();
    if (QSqlDatabase::contains(m_name))
        QSqlDatabase::removeDatabase(m_name);
}

bool TeamConnection::open()
{
    if (!QSqlDatabase::contains(m_name))
        m_db = QSqlDatabase::addDatabase(kDriver, m_name);
    if (!m_db.isValid()) {
        m_error = QStringLiteral("Qt's PostgreSQL driver (package libqt6sql6-psql) is not installed.");
        return false;
    }
    m_address.applyTo(m_db);
    if (m_db.open())
        return true;
    // libpq's reasons come on several lines; a message is one.
    const QSqlError error = m_db.lastError();
    const QString reason = error.databaseText().isEmpty() ? error.text() : error.databaseText();
    m_error = QStringLiteral("The team database %1 cannot be reached: %2")
                  .arg(m_address.describe(), reason.simplified());
    return false;
}

std::unique_ptr<TeamConnection> TeamConnection::openReady(const TeamAddress& address, QString* reason,
                                                          bool* tablesRefused)
{
    if (tablesRefused)
        *tablesRefused = false;
    auto connection = std::make_unique<TeamConnection>(address);
    if (!connection->open()) {
        *reason = connection->error();
        return nullptr;
    }
    const TeamSchema::State state = TeamSchema::check(connection->database());
    if (state.kind != TeamSchema::State::Kind::Ready) {
        *reason = state.text;
        if (tablesRefused)
            *tablesRefused = state.kind != TeamSchema::State::Kind::Failed;
        return nullptr;
    }
    return connection;
}
