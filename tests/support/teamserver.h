// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The PostgreSQL server of scripts/pg-test-server.sh for the tests that need
// one: its address, a database of a test's own with an owner and a
// technician, and a server of a test's own to stop and hang. The test's
// target defines VELNO_README and VELNO_PG_TEST_SERVER.
#include "store/teamaddress.h"
#include "store/teamconnection.h"
#include "store/teamschema.h"

#include <QAtomicInt>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <memory>
#include <optional>
#include <unistd.h>

inline const QString kPassword = QStringLiteral("a-Password-4-tests");

// The server of pg-test-server.sh, as its environment file names it.
struct TestServer {
    QString socket;
    QString port;
    QString ca;
    QString otherCa;
    QString superuser;

    static std::optional<TestServer> fromEnvironment()
    {
        TestServer s{qEnvironmentVariable("VELNO_TEST_PG_SOCKET"), qEnvironmentVariable("VELNO_TEST_PG_PORT"),
                     qEnvironmentVariable("VELNO_TEST_PG_CA"), qEnvironmentVariable("VELNO_TEST_PG_OTHER_CA"),
                     qEnvironmentVariable("VELNO_TEST_PG_SUPERUSER")};
        if (s.socket.isEmpty() || s.port.isEmpty() || s.ca.isEmpty() || s.superuser.isEmpty())
            return std::nullopt;
        return s;
    }

    QString socketUri(const QString& database) const
    {
        return QStringLiteral("postgresql:///%1?host=%2&port=%3&user=%4")
            .arg(database, socket, port, superuser);
    }

    // Over TLS on the loopback port; the password comes from the pgpass file.
    QString tlsUri(const QString& user, const QString& database,
                   const QString& host = QStringLiteral("localhost"),
                   const QString& rootCert = QString()) const
    {
        return QStringLiteral("postgresql://%1@%2:%3/%4?sslrootcert=%5")
            .arg(user, host, port, database, rootCert.isEmpty() ? ca : rootCert);
    }
};

inline TeamAddress addressOf(const QString& uri)
{
    QString error;
    const std::optional<TeamAddress> address = TeamAddress::read(uri, &error);
    if (!address)
        qFatal("%s: %s", qPrintable(uri), qPrintable(error));
    return *address;
}

inline bool run(QSqlDatabase& db, const QString& sql, QSqlError* error = nullptr)
{
    QSqlQuery q(db);
    const bool done = q.exec(sql);
    if (error)
        *error = q.lastError();
    else if (!done)
        qWarning("%s: %s", qPrintable(sql), qPrintable(q.lastError().text()));
    return done;
}

inline QVariant valueOf(QSqlDatabase& db, const QString& sql)
{
    QSqlQuery q(db);
    return q.exec(sql) && q.next() ? q.value(0) : QVariant();
}

// The grants README's "A team database" gives a technician, for the role named.
inline QStringList readmeGrants(const QString& role)
{
    QFile readme(QStringLiteral(VELNO_README));
    if (!readme.open(QIODevice::ReadOnly))
        return {};
    const QString text = QString::fromUtf8(readme.readAll());
    const QString section =
        text.section(QStringLiteral("## A team database"), 1).section(QStringLiteral("\n## "), 0, 0);
    QStringList grants;
    const QRegularExpression grant(QStringLiteral("^GRANT [^;]+ TO tech_anna;$"),
                                   QRegularExpression::MultilineOption);
    for (auto it = grant.globalMatch(section); it.hasNext();)
        grants << it.next().captured(0).replace(QStringLiteral("tech_anna"), role);
    return grants;
}

// A database of its own for one test, owned by a login role, with a
// technician role beside it; both sign in over TLS with a password from a
// pgpass file. All of it is dropped at the end.
class Scratch {
public:
    explicit Scratch(const TestServer& server) : m_server(server)
    {
        static QAtomicInt count;
        const QString tag = QStringLiteral("%1_%2").arg(getpid()).arg(count.fetchAndAddRelaxed(1));
        database = QStringLiteral("velno_test_") + tag;
        owner = QStringLiteral("velno_owner_") + tag;
        technician = QStringLiteral("tech_") + tag;
        m_admin = std::make_unique<TeamConnection>(addressOf(server.socketUri(QStringLiteral("postgres"))));
        if (!m_admin->open())
            return;
        QSqlDatabase& db = m_admin->database();
        m_ready = run(db, QStringLiteral("CREATE ROLE %1 LOGIN PASSWORD '%2'").arg(owner, kPassword))
            && run(db, QStringLiteral("CREATE ROLE %1 LOGIN PASSWORD '%2'").arg(technician, kPassword))
            && run(db, QStringLiteral("CREATE DATABASE %1 OWNER %2").arg(database, owner)) && writePgpass();
    }

    ~Scratch()
    {
        // A connection of its own: the server may have been stopped meanwhile.
        TeamConnection admin(addressOf(m_server.socketUri(QStringLiteral("postgres"))));
        if (!m_ready || !admin.open())
            return;
        QSqlDatabase& db = admin.database();
        run(db, QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(database));
        run(db, QStringLiteral("DROP ROLE IF EXISTS %1").arg(owner));
        run(db, QStringLiteral("DROP ROLE IF EXISTS %1").arg(technician));
        qunsetenv("PGPASSFILE");
    }

    bool ready() const { return m_ready; }
    QString error() const { return m_admin->error(); }

    // A connection as the role, over TLS; failures say why.
    std::unique_ptr<TeamConnection> connectAs(const QString& role) const
    {
        auto connection = std::make_unique<TeamConnection>(addressOf(m_server.tlsUri(role, database)));
        if (!connection->open())
            qWarning("%s", qPrintable(connection->error()));
        return connection;
    }

    QString database;
    QString owner;
    QString technician;

private:
    // libpq reads the passwords from the file PGPASSFILE names, when only its owner may read it.
    bool writePgpass()
    {
        QFile file(m_folder.filePath(QStringLiteral("pgpass")));
        if (!file.open(QIODevice::WriteOnly))
            return false;
        for (const QString& role : {owner, technician})
            file.write(
                QStringLiteral("*:%1:%2:%3:%4\n").arg(m_server.port, database, role, kPassword).toUtf8());
        file.close();
        file.setPermissions(QFile::ReadOwner | QFile::WriteOwner);
        qputenv("PGPASSFILE", QFile::encodeName(file.fileName()));
        return true;
    }

    TestServer m_server;
    QTemporaryDir m_folder;
    std::unique_ptr<TeamConnection> m_admin;
    bool m_ready = false;
};

#define REQUIRE_SERVER(server)                                                                               \
    const std::optional<TestServer> server = TestServer::fromEnvironment();                                  \
    if (!server)                                                                                             \
        QSKIP("No PostgreSQL test server: run scripts/pg-test-server.sh start DIR and source "               \
              "DIR/pg-test-server.env (scripts/test.sh does).");

#define REQUIRE_SCRATCH(scratch, server)                                                                     \
    Scratch scratch(*server);                                                                                \
    QVERIFY2(scratch.ready(), qPrintable(scratch.error()));

// A server of this test's own, to be stopped, started and hung without
// disturbing the one the other tests share.
class PrivateServer {
public:
    PrivateServer()
    {
        if (act(QStringLiteral("start")))
            server = fromEnvFile(m_folder.filePath(QStringLiteral("pg-test-server.env")));
    }
    ~PrivateServer()
    {
        if (server)
            act(QStringLiteral("stop"));
    }

    // halt, resume, freeze or thaw: see scripts/pg-test-server.sh.
    bool act(const QString& action)
    {
        QProcess script;
        script.setProcessChannelMode(QProcess::ForwardedChannels);
        script.start(QStringLiteral(VELNO_PG_TEST_SERVER), {action, m_folder.path()});
        return script.waitForFinished(60000) && script.exitStatus() == QProcess::NormalExit
            && script.exitCode() == 0;
    }

    std::optional<TestServer> server;

private:
    static std::optional<TestServer> fromEnvFile(const QString& path)
    {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return std::nullopt;
        const QRegularExpression line(QStringLiteral("^export (\\w+)='(.*)'$"),
                                      QRegularExpression::MultilineOption);
        QMap<QString, QString> values;
        for (auto it = line.globalMatch(QString::fromUtf8(file.readAll())); it.hasNext();) {
            const QRegularExpressionMatch match = it.next();
            values.insert(match.captured(1), match.captured(2));
        }
        return TestServer{values.value(QStringLiteral("VELNO_TEST_PG_SOCKET")),
                          values.value(QStringLiteral("VELNO_TEST_PG_PORT")),
                          values.value(QStringLiteral("VELNO_TEST_PG_CA")),
                          values.value(QStringLiteral("VELNO_TEST_PG_OTHER_CA")),
                          values.value(QStringLiteral("VELNO_TEST_PG_SUPERUSER"))};
    }

    QTemporaryDir m_folder;
};

// The team database set up by its owner, with the README's grants for the technician.
inline bool setUpForTechnician(const Scratch& scratch)
{
    const auto owner = scratch.connectAs(scratch.owner);
    if (TeamSchema::setUp(owner->database()).kind != TeamSchema::State::Kind::Ready)
        return false;
    const QStringList grants = readmeGrants(scratch.technician);
    return !grants.isEmpty() && std::all_of(grants.begin(), grants.end(), [&](const QString& grant) {
        return run(owner->database(), grant);
    });
}

// The shared server, with a database set up for the technician.
#define REQUIRE_TEAM(server, scratch)                                                                        \
    REQUIRE_SERVER(server);                                                                                  \
    REQUIRE_SCRATCH(scratch, server);                                                                        \
    QVERIFY(setUpForTechnician(scratch))

// A server of the test's own, to stop and hang, with a database set up for
// the technician, and the technician's URI over TLS.
#define REQUIRE_OWN_TEAM(own, scratch, uri)                                                                  \
    REQUIRE_SERVER(shared_##own);                                                                            \
    PrivateServer own;                                                                                       \
    QVERIFY(own.server);                                                                                     \
    REQUIRE_SCRATCH(scratch, own.server);                                                                    \
    QVERIFY(setUpForTechnician(scratch));                                                                    \
    const QString uri = own.server->tlsUri(scratch.technician, scratch.database)
