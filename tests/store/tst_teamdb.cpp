// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/appsettings.h"
#include "core/teamjoin.h"
#include "core/teamshipping.h"
#include "platform/inisettingsstore.h"
#include "scriptedprompter.h"
#include "store/journalprint.h"
#include "store/journalshipper.h"
#include "store/sqlitestore.h"
#include "store/teamaddress.h"
#include "store/teamconnection.h"
#include "store/teamjournal.h"
#include "store/teamschema.h"
#include "store/teamsitelink.h"
#include "store/teamsites.h"
#include "teamserver.h"

#include <QAtomicInt>
#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <memory>
#include <optional>
#include <unistd.h>

Q_DECLARE_METATYPE(JournalFilter)

// The team database's address read from URIs, then its schema, its grants and
// TLS on the PostgreSQL server that scripts/pg-test-server.sh starts; without
// that server the tests that need it are skipped.
class TstTeamDb : public QObject {
    Q_OBJECT
private slots:
    void address_data();
    void address();
    void addressRefused_data();
    void addressRefused();
    void setUpMakesTheTablesOnce();
    void newerSchemaLeftAlone();
    void technicianAppendsOnly();
    void tls_data();
    void tls();
    void journalShippedOnce();
    void journalWaitsForTheServer();
    void siteBookSharedByTwoHomes();
    void siteSavedOverAVersionChangedMeanwhile();
    void siteBookCopyServesWhileOffline();
    void joinShipsFromThenOn();
    void teamJournalPages_data();
    void teamJournalPages();
    void teamJournalMergesOwnUnshipped();
    void teamJournalPrinted();
};

namespace {

const QString kLiveness = QStringLiteral(
    ";keepalives_idle='60';keepalives_interval='10';keepalives_count='3';tcp_user_timeout='60000'");
const QString kDefaults = QStringLiteral("connect_timeout='5';application_name='velno'") + kLiveness;
const QString kVerified = QStringLiteral("sslmode='verify-full';") + kDefaults;

QList<JournalRecord> journalEntries(int count, const QString& tag)
{
    QList<JournalRecord> entries;
    for (int i = 0; i < count; ++i) {
        JournalRecord entry = JournalRecord::at(QDateTime::currentDateTime(), JournalRecord::Kind::Sent,
                                                tag + QString::number(i));
        entry.operatorName = QStringLiteral("anna");
        entries << entry;
    }
    return entries;
}

// Two installations' entries put on the server by its owner, their times
// interleaved, some of them at the same moment: 0bbb... (ben, every 3 ms)
// sorts before aaaa... (anna, every 2 ms) there.
const QString kAnna = QStringLiteral("aaaaaaaa-0000-4000-8000-000000000001");
const QString kBen = QStringLiteral("0bbbbbbb-0000-4000-8000-000000000002");
const QString kStart = QStringLiteral("timestamptz '2026-11-02 08:00:00Z'");

bool putInterleaved(QSqlDatabase& db, int each)
{
    const QString insert = QStringLiteral(
        "INSERT INTO journal (installation_id, local_id, at_utc, utc_offset, operator, host, site, kind, "
        "text) "
        "SELECT '%1', i, %2 + i * interval '%3 ms', 3600, '%4', '%4-pc', "
        "CASE WHEN i % 3 = 0 THEN '' ELSE 'Elm House' END, CASE WHEN i % 2 = 0 THEN 'sent' ELSE 'event' END, "
        "'Line ' || i || CASE WHEN i % 5 = 0 THEN ' %5' WHEN i % 7 = 0 THEN ' 5% off' ELSE '' END "
        "FROM generate_series(1, %6) i");
    return run(db,
               insert.arg(kAnna, kStart)
                   .arg(2)
                   .arg(QStringLiteral("anna"), QStringLiteral("Tenant"))
                   .arg(each))
        && run(db,
               insert.arg(kBen, kStart)
                   .arg(3)
                   .arg(QStringLiteral("ben"), QStringLiteral("tenant"))
                   .arg(each));
}

QString keyOf(const JournalRecord& r)
{
    return r.installationId + u':' + QString::number(r.id);
}

// Every entry that passes, a page at a time from the oldest, or from the newest back.
QStringList allByPages(TeamJournal& journal, const JournalFilter& filter, bool newestFirst, int page)
{
    QStringList keys;
    QList<JournalRecord> rows;
    std::optional<JournalRecord> edge;
    do {
        const JournalRecord* from = edge ? &*edge : nullptr;
        if (!(newestFirst ? journal.readBefore(filter, from, page, &rows)
                          : journal.readAfter(filter, from, page, &rows))) {
            qWarning("%s", qPrintable(journal.lastError()));
            return {};
        }
        if (rows.isEmpty())
            break;
        QStringList got;
        for (const JournalRecord& r : std::as_const(rows))
            got << keyOf(r);
        keys = newestFirst ? got + keys : keys + got;
        edge = newestFirst ? rows.first() : rows.last();
    } while (rows.size() == page);
    return keys;
}

QList<JournalRecord> allRecords(TeamJournal& journal, const JournalFilter& filter)
{
    QList<JournalRecord> all;
    QList<JournalRecord> rows;
    do {
        if (!journal.readAfter(filter, all.isEmpty() ? nullptr : &all.last(), 6, &rows))
            return {};
        all += rows;
    } while (rows.size() == 6);
    return all;
}

JournalRecord entryAt(const QDateTime& when, const QString& text)
{
    JournalRecord entry = JournalRecord::at(when, JournalRecord::Kind::Sent, text);
    entry.operatorName = QStringLiteral("anna");
    entry.host = QStringLiteral("pc");
    return entry;
}

bool shipAll(const QString& folder, const QString& uri)
{
    JournalShipper shipper(SqliteStore::writerStore(folder), addressOf(uri), uri);
    QSignalSpy backlog(&shipper, &JournalShipper::backlogChanged);
    return QTest::qWaitFor([&] { return !backlog.isEmpty() && backlog.last().at(0).toLongLong() == 0; },
                           30000);
}

}   // namespace

void TstTeamDb::address_data()
{
    QTest::addColumn<QString>("uri");
    QTest::addColumn<QString>("host");
    QTest::addColumn<int>("port");
    QTest::addColumn<QString>("database");
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("options");
    QTest::addColumn<bool>("overSocket");
    QTest::addColumn<bool>("weakTls");

    QTest::addRow("TCP: verify-full unless asked otherwise") << "postgresql://tech@db.example.org:5432/velno"
                                                             << "db.example.org" << 5432 << "velno"
                                                             << "tech" << kVerified << false << false;
    QTest::addRow("postgres:// without port and user") << "postgres://db.example.org/velno"
                                                       << "db.example.org" << -1 << "velno"
                                                       << "" << kVerified << false << false;
    QTest::addRow("spaces around, as pasted") << "  postgresql://h/velno\n"
                                              << "h" << -1 << "velno"
                                              << "" << kVerified << false << false;
    QTest::addRow("IPv6 with port") << "postgresql://[::1]:6543/velno"
                                    << "::1" << 6543 << "velno"
                                    << "" << kVerified << false << false;
    QTest::addRow("IPv6 without port") << "postgresql://tech@[2001:db8::5]/velno"
                                       << "2001:db8::5" << -1 << "velno"
                                       << "tech" << kVerified << false << false;
    QTest::addRow("percent-encoded user and database")
        << "postgresql://o%27brien%40team@h/team%20db%C3%A9"
        << "h" << -1 << QString::fromUtf8("team dbé") << "o'brien@team" << kVerified << false << false;
    QTest::addRow("root certificate with a space, quoted for libpq")
        << "postgresql://h/velno?sslrootcert=%2Fetc%2Fvelno%20ca.crt"
        << "h" << -1 << "velno"
        << ""
        << "sslmode='verify-full';sslrootcert='/etc/velno ca.crt';" + kDefaults << false << false;
    QTest::addRow("quote and backslash escaped") << "postgresql://h/velno?application_name=it%27s%5Cme"
                                                 << "h" << -1 << "velno"
                                                 << ""
                                                 << "sslmode='verify-full';connect_timeout='5';"
                                                    "application_name='it\\'s\\\\me'"
            + kLiveness << false << false;
    QTest::addRow("timeout and client certificate given")
        << "postgresql://h/velno?connect_timeout=12&sslcert=/c/tech.crt&sslkey=/c/tech.key"
        << "h" << -1 << "velno"
        << ""
        << "sslmode='verify-full';sslcert='/c/tech.crt';sslkey='/c/tech.key';connect_timeout='12';"
           "application_name='velno'"
            + kLiveness
        << false << false;
    QTest::addRow("liveness given") << "postgresql://h/velno?keepalives_idle=5&tcp_user_timeout=0"
                                    << "h" << -1 << "velno"
                                    << ""
                                    << "sslmode='verify-full';connect_timeout='5';application_name='velno';"
                                       "keepalives_idle='5';keepalives_interval='10';keepalives_count='3';"
                                       "tcp_user_timeout='0'"
                                    << false << false;
    QTest::addRow("require: weak") << "postgresql://h/velno?sslmode=require"
                                   << "h" << -1 << "velno"
                                   << ""
                                   << "sslmode='require';" + kDefaults << false << true;
    QTest::addRow("verify-ca: weak") << "postgresql://h/velno?sslmode=verify-ca"
                                     << "h" << -1 << "velno"
                                     << ""
                                     << "sslmode='verify-ca';" + kDefaults << false << true;
    QTest::addRow("disable: weak") << "postgresql://h/velno?sslmode=disable"
                                   << "h" << -1 << "velno"
                                   << ""
                                   << "sslmode='disable';" + kDefaults << false << true;
    QTest::addRow("prefer: weak") << "postgresql://h/velno?sslmode=prefer"
                                  << "h" << -1 << "velno"
                                  << ""
                                  << "sslmode='prefer';" + kDefaults << false << true;
    QTest::addRow("socket folder as host parameter")
        << "postgresql:///velno?host=/run/postgresql&port=5433&user=velno_owner"
        << "/run/postgresql" << 5433 << "velno"
        << "velno_owner" << kDefaults << true << false;
    QTest::addRow("socket folder percent-encoded as host") << "postgresql://%2Frun%2Fpostgresql/velno"
                                                           << "/run/postgresql" << -1 << "velno"
                                                           << "" << kDefaults << true << false;
    QTest::addRow("no host: libpq's socket") << "postgresql:///velno"
                                             << "" << -1 << "velno"
                                             << "" << kDefaults << true << false;
    QTest::addRow("database as parameter") << "postgresql://h?dbname=velno"
                                           << "h" << -1 << "velno"
                                           << "" << kVerified << false << false;
}

void TstTeamDb::address()
{
    QFETCH(QString, uri);
    QString error;
    const std::optional<TeamAddress> address = TeamAddress::read(uri, &error);
    QVERIFY2(address, qPrintable(error));
    QTEST(address->host, "host");
    QTEST(address->port, "port");
    QTEST(address->database, "database");
    QTEST(address->user, "user");
    QTEST(address->connectOptions, "options");
    QTEST(address->overSocket, "overSocket");
    QTEST(address->weakTls, "weakTls");
    QCOMPARE(address->weakTlsText.isEmpty(), !address->weakTls);
}

void TstTeamDb::addressRefused_data()
{
    QTest::addColumn<QString>("uri");
    QTest::addColumn<QString>("error");   // a part of the message

    const QString password = QStringLiteral("keep it in ~/.pgpass");
    QTest::addRow("other scheme")
        << "mysql://h/velno"
        << "'mysql://h/velno' is not a PostgreSQL URI: it starts with postgresql://";
    QTest::addRow("no scheme") << "h/velno"
                               << "is not a PostgreSQL URI";
    QTest::addRow("scheme in capitals") << "POSTGRESQL://h/velno"
                                        << "is not a PostgreSQL URI";
    QTest::addRow("password after the user") << "postgresql://tech:secret@h/velno" << password;
    QTest::addRow("empty password after the user") << "postgresql://tech:@h/velno" << password;
    QTest::addRow("password parameter") << "postgresql://tech@h/velno?password=secret" << password;
    QTest::addRow("port 0") << "postgresql://h:0/velno"
                            << "'0' is not a port number (1 to 65535).";
    QTest::addRow("port too big") << "postgresql://h:65536/velno"
                                  << "'65536' is not a port number";
    QTest::addRow("port not a number") << "postgresql://h:54x/velno"
                                       << "'54x' is not a port number";
    QTest::addRow("port parameter signed") << "postgresql://h/velno?port=+5432"
                                           << "'+5432' is not a port number";
    QTest::addRow("colon without port") << "postgresql://h:/velno"
                                        << "has a ':' but no port";
    QTest::addRow("IPv6 colon without port") << "postgresql://[::1]:/velno"
                                             << "has a ':' but no port";
    QTest::addRow("no database") << "postgresql://h"
                                 << "names no database";
    QTest::addRow("empty database") << "postgresql://h/"
                                    << "names no database";
    QTest::addRow("empty dbname parameter") << "postgresql://h?dbname="
                                            << "names no database";
    QTest::addRow("unsupported parameter") << "postgresql://h/velno?options=-csearch_path%3Dx"
                                           << "parameter 'options' is not one the program passes on";
    QTest::addRow("unknown parameter") << "postgresql://h/velno?sslmod=require"
                                       << "parameter 'sslmod' is not one";
    QTest::addRow("unknown sslmode") << "postgresql://h/velno?sslmode=strict"
                                     << "sslmode 'strict' is not one of";
    QTest::addRow("timeout 0 waits for ever") << "postgresql://h/velno?connect_timeout=0"
                                              << "connect_timeout '0' is not a number of seconds, 1 or more.";
    QTest::addRow("timeout not a number") << "postgresql://h/velno?connect_timeout=5s"
                                          << "'5s'";
    QTest::addRow("parameter twice") << "postgresql://h/velno?sslmode=require&sslmode=disable"
                                     << "gives the sslmode twice";
    QTest::addRow("host twice") << "postgresql://h/velno?host=/run/postgresql"
                                << "gives the host twice";
    QTest::addRow("broken percent sequence") << "postgresql://h/vel%zzno"
                                             << "broken %-sequence";
    QTest::addRow("truncated percent sequence") << "postgresql://h/velno%4"
                                                << "broken %-sequence";
    QTest::addRow("two servers") << "postgresql://a,b/velno"
                                 << "more than one server";
    QTest::addRow("IPv6 without brackets") << "postgresql://::1/velno"
                                           << "an IPv6 address goes in brackets";
    QTest::addRow("IPv6 bracket not closed") << "postgresql://[::1/velno"
                                             << "not an IPv6 address in brackets";
    QTest::addRow("parameter without value") << "postgresql://h/velno?sslmode"
                                             << "'sslmode' in the URI is not key=value";
    QTest::addRow("semicolon the driver would split") << "postgresql://h/velno?application_name=a%3Bb"
                                                      << "holds a ';'";
}

void TstTeamDb::addressRefused()
{
    QFETCH(QString, uri);
    QFETCH(QString, error);
    QString reason;
    QVERIFY(!TeamAddress::read(uri, &reason));
    QVERIFY2(reason.contains(error), qPrintable(reason));
}

void TstTeamDb::setUpMakesTheTablesOnce()
{
    REQUIRE_SERVER(server);
    REQUIRE_SCRATCH(scratch, server);
    using Kind = TeamSchema::State::Kind;
    // A technician may not make the tables; nothing is left half made.
    const TeamSchema::State refused = TeamSchema::setUp(scratch.connectAs(scratch.technician)->database());
    QCOMPARE(refused.kind, Kind::NotAllowed);
    QVERIFY2(refused.text.contains(QStringLiteral("as the role that owns")), qPrintable(refused.text));

    const auto owner = scratch.connectAs(scratch.owner);
    QSqlDatabase& db = owner->database();
    QVERIFY(db.isOpen());
    const TeamSchema::State before = TeamSchema::check(db);
    QCOMPARE(before.kind, Kind::Missing);
    QVERIFY2(before.text.contains(QStringLiteral("--team-setup")), qPrintable(before.text));

    // pg_trgm kept out by a function of its name: the tables are made without its index.
    QVERIFY(run(db,
                QStringLiteral("CREATE FUNCTION similarity(text, text) RETURNS real "
                               "LANGUAGE sql AS 'SELECT 0::real'")));
    const TeamSchema::State made = TeamSchema::setUp(db);
    QVERIFY2(made.kind == Kind::Ready, qPrintable(made.text));
    QCOMPARE(made.version, TeamSchema::currentVersion());
    QVERIFY2(made.note.contains(QStringLiteral("reads every entry")), qPrintable(made.note));
    QVERIFY(!valueOf(db, QStringLiteral("SELECT to_regclass('journal_text_trgm') IS NOT NULL")).toBool());
    QVERIFY(run(db, QStringLiteral("DROP FUNCTION similarity(text, text)")));
    QVERIFY(run(
        db, QStringLiteral("INSERT INTO sites (name, port, phone, setup) VALUES ('Elm House', 2, '0', '')")));

    // Again: nothing made twice, nothing lost; the text search's index made now.
    const TeamSchema::State again = TeamSchema::setUp(db);
    QVERIFY2(again.kind == Kind::Ready, qPrintable(again.text));
    QVERIFY2(again.note.contains(QStringLiteral("trigram index")), qPrintable(again.note));
    QVERIFY(valueOf(db, QStringLiteral("SELECT to_regclass('journal_text_trgm') IS NOT NULL")).toBool());
    QCOMPARE(TeamSchema::check(db).kind, Kind::Ready);
    QCOMPARE(valueOf(db, QStringLiteral("SELECT count(*) FROM velno_schema")).toInt(), 1);
    QCOMPARE(valueOf(db, QStringLiteral("SELECT count(*) FROM sites")).toInt(), 1);
    QCOMPARE(valueOf(db, QStringLiteral("SELECT changed_by FROM sites")).toString(), scratch.owner);

    // The tables of the first version: older, until set up again, the rows kept.
    QVERIFY(run(db, QStringLiteral("DROP INDEX journal_site, journal_operator")));
    QVERIFY(run(db, QStringLiteral("UPDATE velno_schema SET version = 1")));
    const TeamSchema::State older = TeamSchema::check(db);
    QCOMPARE(older.kind, Kind::Older);
    QVERIFY2(older.text.contains(QStringLiteral("--team-setup")), qPrintable(older.text));
    QCOMPARE(TeamSchema::setUp(db).kind, Kind::Ready);
    QCOMPARE(valueOf(db,
                     QStringLiteral("SELECT count(*) FROM pg_indexes WHERE indexname IN "
                                    "('journal_site', 'journal_operator')"))
                 .toInt(),
             2);
    QCOMPARE(valueOf(db, QStringLiteral("SELECT count(*) FROM sites")).toInt(), 1);
}

void TstTeamDb::newerSchemaLeftAlone()
{
    REQUIRE_SERVER(server);
    REQUIRE_SCRATCH(scratch, server);
    const auto owner = scratch.connectAs(scratch.owner);
    QSqlDatabase& db = owner->database();
    using Kind = TeamSchema::State::Kind;
    QCOMPARE(TeamSchema::setUp(db).kind, Kind::Ready);
    const int newer = TeamSchema::currentVersion() + 1;
    QVERIFY(run(db, QStringLiteral("UPDATE velno_schema SET version = %1").arg(newer)));

    const TeamSchema::State checked = TeamSchema::check(db);
    QCOMPARE(checked.kind, Kind::Newer);
    QCOMPARE(checked.version, newer);
    QVERIFY2(checked.text.contains(QStringLiteral("newer than this program")), qPrintable(checked.text));
    QVERIFY2(checked.text.contains(QStringLiteral("--team-setup")), qPrintable(checked.text));
    // Set-up does not take it back.
    QCOMPARE(TeamSchema::setUp(db).kind, Kind::Newer);
    QCOMPARE(valueOf(db, QStringLiteral("SELECT version FROM velno_schema")).toInt(), newer);
}

void TstTeamDb::technicianAppendsOnly()
{
    REQUIRE_SERVER(server);
    REQUIRE_SCRATCH(scratch, server);
    const auto owner = scratch.connectAs(scratch.owner);
    QCOMPARE(TeamSchema::setUp(owner->database()).kind, TeamSchema::State::Kind::Ready);
    const QStringList grants = readmeGrants(scratch.technician);
    QCOMPARE(grants.size(), 4);
    for (const QString& grant : grants)
        QVERIFY2(run(owner->database(), grant), qPrintable(grant));

    const auto technician = scratch.connectAs(scratch.technician);
    QSqlDatabase& db = technician->database();
    QVERIFY(db.isOpen());
    using Kind = TeamSchema::State::Kind;
    QCOMPARE(TeamSchema::check(db).kind, Kind::Ready);
    const TeamSchema::State setUp = TeamSchema::setUp(db);
    // Ready already: nothing to make, so nothing refused.
    QCOMPARE(setUp.kind, Kind::Ready);

    // The journal: added to and read, the sender's role the server's, never changed.
    QVERIFY(
        run(db,
            QStringLiteral("INSERT INTO journal (installation_id, local_id, at_utc, utc_offset, operator, "
                           "host, site, kind, text, db_user) VALUES "
                           "('6f1c1c2e-9d1f-4a57-8a57-3c1e0c7b2a10', 1, now(), 3600, 'anna', 'pc', "
                           "'Elm House', 'sent', 'PARDOT1 07', '%1')")
                .arg(scratch.owner)));
    QCOMPARE(valueOf(db, QStringLiteral("SELECT db_user FROM journal")).toString(), scratch.technician);
    QSqlError error;
    QVERIFY(!run(db, QStringLiteral("UPDATE journal SET text = 'changed'"), &error));
    QCOMPARE(error.nativeErrorCode(), QStringLiteral("42501"));
    QVERIFY(!run(db, QStringLiteral("DELETE FROM journal"), &error));
    QCOMPARE(error.nativeErrorCode(), QStringLiteral("42501"));
    QCOMPARE(valueOf(db, QStringLiteral("SELECT text FROM journal")).toString(),
             QStringLiteral("PARDOT1 07"));

    // The site book: kept by every technician.
    QVERIFY(run(db,
                QStringLiteral("INSERT INTO sites (name, port, phone, setup, changed_by) "
                               "VALUES ('Elm House', 2, '0', '', 'someone')")));
    QCOMPARE(valueOf(db, QStringLiteral("SELECT changed_by FROM sites")).toString(), scratch.technician);
    QVERIFY(!run(
        db, QStringLiteral("INSERT INTO sites (name, port, phone, setup) VALUES ('ELM HOUSE', 1, '', '')"),
        &error));
    QCOMPARE(error.nativeErrorCode(), QStringLiteral("23505"));   // the same name in other case
    QVERIFY(run(db, QStringLiteral("UPDATE sites SET port = 3, version = version + 1")));
    QVERIFY(run(db, QStringLiteral("DELETE FROM sites")));

    // Tables are the owner's to change.
    QVERIFY(!run(db, QStringLiteral("DROP TABLE journal"), &error));
    QVERIFY(!run(db, QStringLiteral("ALTER TABLE journal DISABLE TRIGGER journal_sender"), &error));
}

void TstTeamDb::tls_data()
{
    QTest::addColumn<QString>("host");
    QTest::addColumn<bool>("otherCa");
    QTest::addColumn<QString>("error");   // a part of it; empty: connects

    QTest::addRow("name checked against the test CA") << "localhost" << false << "";
    QTest::addRow("address checked against the test CA") << "127.0.0.1" << false << "";
    QTest::addRow("another CA refuses the certificate") << "localhost" << true << "certificate verify failed";
}

void TstTeamDb::tls()
{
    QFETCH(QString, host);
    QFETCH(bool, otherCa);
    QFETCH(QString, error);
    REQUIRE_SERVER(server);
    REQUIRE_SCRATCH(scratch, server);
    QVERIFY(!server->otherCa.isEmpty());
    const QString uri =
        server->tlsUri(scratch.technician, scratch.database, host, otherCa ? server->otherCa : QString());
    const TeamAddress address = addressOf(uri);
    QVERIFY(!address.weakTls);
    TeamConnection connection(address);
    const bool opened = connection.open();
    if (!error.isEmpty()) {
        QVERIFY(!opened);
        QVERIFY2(connection.error().contains(error), qPrintable(connection.error()));
        QVERIFY2(connection.error().contains(scratch.database), qPrintable(connection.error()));
        return;
    }
    QVERIFY2(opened, qPrintable(connection.error()));
    QCOMPARE(valueOf(connection.database(),
                     QStringLiteral("SELECT ssl FROM pg_stat_ssl WHERE pid = pg_backend_pid()"))
                 .toBool(),
             true);
}

// The journal shipped by a technician: in order, each entry once however
// often it is sent, under the technician's role; and a local database made
// anew ships its entries beside those of the one it replaced.
void TstTeamDb::journalShippedOnce()
{
    REQUIRE_SERVER(server);
    REQUIRE_SCRATCH(scratch, server);
    const auto owner = scratch.connectAs(scratch.owner);
    QCOMPARE(TeamSchema::setUp(owner->database()).kind, TeamSchema::State::Kind::Ready);
    for (const QString& grant : readmeGrants(scratch.technician))
        QVERIFY2(run(owner->database(), grant), qPrintable(grant));
    const QString uri = server->tlsUri(scratch.technician, scratch.database);

    QTemporaryDir home;
    auto store = std::make_unique<SqliteStore>(home.path());
    QCOMPARE(store->open().outcome, SqliteStore::Opening::Outcome::Opened);
    const int count = JournalShipper::kBatch + 500;   // more than one batch
    QList<JournalRecord> entries;
    for (int i = 0; i < count; ++i) {
        JournalRecord entry =
            JournalRecord::at(QDateTime::currentDateTime(), JournalRecord::Kind::Sent, QString::number(i));
        entry.operatorName = QStringLiteral("anna");
        entries << entry;
    }
    QVERIFY(store->appendEntries(entries));

    auto shipAll = [&] {
        JournalShipper shipper(SqliteStore::writerStore(home.path()), addressOf(uri), uri);
        QSignalSpy backlog(&shipper, &JournalShipper::backlogChanged);
        return QTest::qWaitFor([&] { return !backlog.isEmpty() && backlog.last().at(0).toLongLong() == 0; },
                               30000);
    };
    auto onServer = [&](const QString& what) {
        return valueOf(owner->database(), QStringLiteral("SELECT %1 FROM journal").arg(what));
    };
    QVERIFY(shipAll());
    QCOMPARE(onServer(QStringLiteral("count(*)")).toInt(), count);
    QCOMPARE(onServer(QStringLiteral("count(DISTINCT db_user)")).toInt(), 1);
    QCOMPARE(onServer(QStringLiteral("min(db_user)")).toString(), scratch.technician);
    // In order: each entry's time is not before the one shipped before it.
    QCOMPARE(onServer(QStringLiteral("string_agg(text, ',' ORDER BY local_id)")).toString(),
             onServer(QStringLiteral("string_agg(text, ',' ORDER BY at_utc, local_id)")).toString());
    qint64 shipped = 0;
    QVERIFY(store->readShipped(uri, &shipped));
    QCOMPARE(shipped, entries.last().id);

    // The server's answer lost: all of it sent again, none of it twice.
    QVERIFY(store->run(QStringLiteral("DELETE FROM shipping")));
    QVERIFY(shipAll());
    QCOMPARE(onServer(QStringLiteral("count(*)")).toInt(), count);

    // The local database replaced by a new one: its ids start again, under an id of its own.
    const QString oldInstallation = store->installationId();
    store.reset();
    for (const QString& file : QDir(home.path()).entryList(QDir::Files))
        QVERIFY(QFile::remove(home.filePath(file)));
    store = std::make_unique<SqliteStore>(home.path());
    QCOMPARE(store->open().outcome, SqliteStore::Opening::Outcome::Opened);
    QVERIFY(store->installationId() != oldInstallation);
    QList<JournalRecord> more = entries.mid(0, 10);
    QVERIFY(store->appendEntries(more));
    QVERIFY(shipAll());
    QCOMPARE(onServer(QStringLiteral("count(*)")).toInt(), count + 10);
    QCOMPARE(onServer(QStringLiteral("count(DISTINCT installation_id)")).toInt(), 2);
}

// A server stopped and started again, then one hung mid-shipment: the
// entries wait, counted, while the caller's thread goes on, and each is on
// the server once when it is back; stopping the shipper does not wait for
// a hung server.
void TstTeamDb::journalWaitsForTheServer()
{
    REQUIRE_OWN_TEAM(own, scratch, uri);
    QTemporaryDir home;
    SqliteStore store(home.path());
    QCOMPARE(store.open().outcome, SqliteStore::Opening::Outcome::Opened);

    auto shipper =
        std::make_unique<JournalShipper>(SqliteStore::writerStore(home.path()), addressOf(uri), uri);
    QSignalSpy backlog(shipper.get(), &JournalShipper::backlogChanged);
    auto waiting = [&] { return backlog.isEmpty() ? -1 : backlog.last().at(0).toLongLong(); };
    auto reason = [&] { return backlog.isEmpty() ? QString() : backlog.last().at(1).toString(); };
    auto append = [&](int count, const QString& tag) {
        QList<JournalRecord> entries = journalEntries(count, tag);
        const bool appended = store.appendEntries(entries);
        shipper->wake();
        return appended;
    };
    QVERIFY(append(100, QStringLiteral("before ")));
    QTRY_COMPARE_WITH_TIMEOUT(waiting(), 0, 20000);

    QVERIFY(own.act(QStringLiteral("halt")));
    QVERIFY(append(100, QStringLiteral("while down ")));
    QTRY_COMPARE_WITH_TIMEOUT(waiting(), 100, 20000);
    QVERIFY2(reason().contains(scratch.database), qPrintable(reason()));
    QVERIFY(own.act(QStringLiteral("resume")));
    QTRY_COMPARE_WITH_TIMEOUT(waiting(), 0, 20000);
    QVERIFY(reason().isEmpty());

    // Hung: the shipper's statements get no answer, and this thread goes on.
    QVERIFY(own.act(QStringLiteral("freeze")));
    QVERIFY(append(JournalShipper::kBatch + 1, QStringLiteral("while hung ")));
    QTest::qWait(1000);   // the first batch is sent, and not answered
    QElapsedTimer waking;
    waking.start();
    shipper->wake();
    QVERIFY2(waking.elapsed() < 1000, qPrintable(QString::number(waking.elapsed())));
    QCOMPARE(waiting(), JournalShipper::kBatch + 1);   // told before the server is asked
    QVERIFY(own.act(QStringLiteral("thaw")));
    QTRY_COMPARE_WITH_TIMEOUT(waiting(), 0, 30000);

    // Hung again, and the shipper stopped meanwhile: it does not wait for the answer.
    QVERIFY(own.act(QStringLiteral("freeze")));
    QVERIFY(append(10, QStringLiteral("at the end ")));
    QTest::qWait(500);
    QElapsedTimer stopping;
    stopping.start();
    shipper.reset();
    QVERIFY2(stopping.elapsed() < 5000, qPrintable(QString::number(stopping.elapsed())));
    QVERIFY(own.act(QStringLiteral("thaw")));

    JournalShipper again(SqliteStore::writerStore(home.path()), addressOf(uri), uri);
    QSignalSpy lastBacklog(&again, &JournalShipper::backlogChanged);
    QTRY_VERIFY_WITH_TIMEOUT(!lastBacklog.isEmpty() && lastBacklog.last().at(0).toLongLong() == 0, 30000);
    const auto owner = scratch.connectAs(scratch.owner);
    const int all = 100 + 100 + JournalShipper::kBatch + 1 + 10;
    QCOMPARE(valueOf(owner->database(), QStringLiteral("SELECT count(*) FROM journal")).toInt(), all);
    QCOMPARE(
        valueOf(owner->database(), QStringLiteral("SELECT count(DISTINCT local_id) FROM journal")).toInt(),
        all);
}

namespace {

Site siteNamed(const QString& name, int port, const QString& phone)
{
    Site site;
    site.name = name;
    site.port = port;
    site.phone = phone;
    return site;
}

// One computer of the team: its own local store, and its own link to the server.
struct Home {
    explicit Home(const QString& uri) : team(uri), store(folder.path()), link(addressOf(uri))
    {
        opened = store.open().outcome == SqliteStore::Opening::Outcome::Opened;
    }

    // The server's book, as the link reads it; kept as this home's copy.
    std::optional<QList<Site>> read()
    {
        QSignalSpy read(&link, &TeamSiteLink::sitesRead);
        link.read();
        if (!read.wait(20000))
            return std::nullopt;
        const QList<Site> sites = read.takeLast().at(0).value<QList<Site>>();
        if (!store.keepTeamSites(team, sites))
            return std::nullopt;
        return sites;
    }

    TeamSites::Answer save(TeamSiteLink::Kind kind, const Site& site)
    {
        QSignalSpy saved(&link, &TeamSiteLink::saved);
        const int request = link.save(kind, site);
        if (!saved.wait(20000) || saved.last().at(0).toInt() != request)
            return TeamSites::Answer{Store::Change::Failed, Site(), QStringLiteral("no answer")};
        return saved.last().at(1).value<TeamSites::Answer>();
    }

    QString team;
    QTemporaryDir folder;
    SqliteStore store;
    TeamSiteLink link;
    bool opened = false;
};

}   // namespace

// Two computers of a team, each with its own local store and connection:
// what one adds the other reads, and its copy keeps it; the time of use
// stays on the computer that used the site.
void TstTeamDb::siteBookSharedByTwoHomes()
{
    REQUIRE_TEAM(server, scratch);
    const QString uri = server->tlsUri(scratch.technician, scratch.database);
    Home anna(uri);
    Home ben(uri);
    QVERIFY(anna.opened && ben.opened);

    Site elm = siteNamed(QStringLiteral("Elm House"), 2, QStringLiteral("5550100"));
    elm.notes = QStringLiteral("gate code 12\nsecond line");
    const TeamSites::Answer added = anna.save(TeamSiteLink::Kind::Add, elm);
    QVERIFY2(added.change == Store::Change::Done, qPrintable(added.error));
    QCOMPARE(added.site.version, 1);
    QVERIFY(added.site.id > 0);

    const std::optional<QList<Site>> bens = ben.read();
    QVERIFY(bens);
    QCOMPARE(bens->size(), 1);
    QCOMPARE(bens->first(), elm);
    QCOMPARE(bens->first().id, added.site.id);

    QList<Site> copy;
    QVERIFY(ben.store.readTeamSites(uri, &copy));
    QCOMPARE(copy, *bens);
    QVERIFY(ben.store.readSites(&copy) && copy.isEmpty());   // the local book is another
    const QDateTime used = QDateTime::currentDateTime();
    QCOMPARE(ben.store.markTeamSiteUsed(uri, copy.emplaceBack(bens->first()), used), Store::Change::Done);

    // The use is not the team's: no version raised, nothing on the server.
    const std::optional<QList<Site>> again = anna.read();
    QVERIFY(again);
    QCOMPARE(again->first().version, 1);
    QVERIFY(!again->first().lastUsed.isValid());
    // Read again, ben's copy keeps the time of use.
    QVERIFY(ben.read());
    QVERIFY(ben.store.readTeamSites(uri, &copy));
    QCOMPARE(copy.first().lastUsed.toMSecsSinceEpoch(), used.toMSecsSinceEpoch());
    // A site deleted on the server goes from the copy.
    QCOMPARE(anna.save(TeamSiteLink::Kind::Remove, added.site).change, Store::Change::Done);
    QVERIFY(ben.read());
    QVERIFY(ben.store.readTeamSites(uri, &copy) && copy.isEmpty());
}

// Both technicians edit one site: the second save is refused with the
// server's version, and goes through when made over it; one deleted
// meanwhile is Gone; a name the team has, in any case, is NameTaken.
void TstTeamDb::siteSavedOverAVersionChangedMeanwhile()
{
    REQUIRE_TEAM(server, scratch);
    const auto anna = scratch.connectAs(scratch.technician);
    const auto ben = scratch.connectAs(scratch.technician);
    const TeamSites::Answer added =
        TeamSites::add(anna->database(), siteNamed(QStringLiteral("Mill"), 1, QStringLiteral("1")));
    QVERIFY2(added.change == Store::Change::Done, qPrintable(added.error));
    const Site read = added.site;

    Site annas = read;
    annas.port = 4;
    const TeamSites::Answer first = TeamSites::update(anna->database(), annas);
    QCOMPARE(first.change, Store::Change::Done);
    QCOMPARE(first.site.version, 2);

    Site bens = read;
    bens.phone = QStringLiteral("5550199");
    const TeamSites::Answer second = TeamSites::update(ben->database(), bens);
    QCOMPARE(second.change, Store::Change::Changed);
    QCOMPARE(second.site.port, 4);   // anna's, as it is now
    QCOMPARE(second.site.phone, QStringLiteral("1"));
    QCOMPARE(second.site.version, 2);
    QCOMPARE(valueOf(anna->database(), QStringLiteral("SELECT phone FROM sites")).toString(),
             QStringLiteral("1"));
    QCOMPARE(TeamSites::remove(ben->database(), bens).change, Store::Change::Changed);

    bens.version = second.site.version;   // saved again, over the version now
    const TeamSites::Answer over = TeamSites::update(ben->database(), bens);
    QCOMPARE(over.change, Store::Change::Done);
    QCOMPARE(over.site.version, 3);
    QCOMPARE(valueOf(anna->database(), QStringLiteral("SELECT changed_by FROM sites")).toString(),
             scratch.technician);

    QCOMPARE(TeamSites::remove(anna->database(), over.site).change, Store::Change::Done);
    QCOMPARE(TeamSites::update(ben->database(), over.site).change, Store::Change::Gone);
    QCOMPARE(TeamSites::remove(ben->database(), over.site).change, Store::Change::Gone);
    QCOMPARE(TeamSites::add(ben->database(), bens).change, Store::Change::Done);
    QCOMPARE(TeamSites::add(anna->database(), siteNamed(QStringLiteral("MILL"), 1, QString())).change,
             Store::Change::NameTaken);
    QCOMPARE(valueOf(anna->database(), QStringLiteral("SELECT count(*) FROM sites")).toInt(), 1);
}

// The server stopped: the link says why, a change is not made, and the
// copy still serves; back, the link reads and saves again.
void TstTeamDb::siteBookCopyServesWhileOffline()
{
    REQUIRE_OWN_TEAM(own, scratch, uri);
    Home home(uri);
    QVERIFY(home.opened);
    QCOMPARE(
        home.save(TeamSiteLink::Kind::Add, siteNamed(QStringLiteral("Quay"), 3, QStringLiteral("7"))).change,
        Store::Change::Done);
    QVERIFY(home.read());

    QVERIFY(own.act(QStringLiteral("halt")));
    QSignalSpy unreachable(&home.link, &TeamSiteLink::unreachable);
    home.link.read();
    QVERIFY(unreachable.wait(20000));
    QVERIFY2(unreachable.last().at(0).toString().contains(scratch.database),
             qPrintable(unreachable.last().at(0).toString()));
    const TeamSites::Answer refused =
        home.save(TeamSiteLink::Kind::Add, siteNamed(QStringLiteral("Dock"), 1, QString()));
    QCOMPARE(refused.change, Store::Change::Failed);
    QVERIFY2(refused.error.contains(scratch.database), qPrintable(refused.error));
    QList<Site> copy;
    QVERIFY(home.store.readTeamSites(uri, &copy));
    QCOMPARE(copy.size(), 1);
    QCOMPARE(copy.first().name, QStringLiteral("Quay"));

    QVERIFY(own.act(QStringLiteral("resume")));
    QCOMPARE(home.save(TeamSiteLink::Kind::Add, siteNamed(QStringLiteral("Dock"), 1, QString())).change,
             Store::Change::Done);
    const std::optional<QList<Site>> back = home.read();
    QVERIFY(back);
    QCOMPARE(back->size(), 2);
}

// Joining as the Team dialog does: refused while the tables are missing;
// then the URI stored in the settings file as given, the entries made
// before left here and those written after shipped, the local sites
// brought into the team's book on the operator's word with a name the
// team has already left out; leaving empties the key and stops shipping.
void TstTeamDb::joinShipsFromThenOn()
{
    REQUIRE_SERVER(server);
    REQUIRE_SCRATCH(scratch, server);
    // '&' and '=' in the value, as a URI has them in its query.
    const QString uri = server->tlsUri(scratch.technician, scratch.database)
        + QStringLiteral("&sslmode=verify-full&application_name=velno%20tests");
    QTemporaryDir home;
    IniSettingsStore ini(home.path());
    AppSettings settings(ini);
    auto storedTeam = [&] {   // as the next run reads the file
        IniSettingsStore again(home.path());
        return AppSettings(again).teamDatabase();
    };
    ScriptedPrompter prompter;
    SqliteStore store(home.path());
    QCOMPARE(store.open().outcome, SqliteStore::Opening::Outcome::Opened);
    QList<JournalRecord> before = journalEntries(3, QStringLiteral("before "));
    QVERIFY(store.appendEntries(before));
    for (const QString& name : {QStringLiteral("Elm House"), QStringLiteral("Oak Court")}) {
        Site site;
        site.name = name;
        site.phone = QStringLiteral("0123");
        QCOMPARE(store.addSite(site), Store::Change::Done);
    }
    JournalWriter writer(SqliteStore::writerStore(home.path()));
    TeamShipping shipping(settings, SqliteStore::writerStore(home.path()));
    connect(&writer, &JournalWriter::written, &shipping, &TeamShipping::wake);
    TeamJoin join(settings, prompter, store);
    connect(&join, &TeamJoin::teamChanged, &shipping, &TeamShipping::follow);
    QSignalSpy done(&join, &TeamJoin::done);

    QVERIFY(join.join(uri));
    QTRY_COMPARE_WITH_TIMEOUT(done.size(), 1, 20000);
    QCOMPARE(done.last().at(0).toBool(), false);
    QVERIFY2(done.last().at(1).toString().contains(QStringLiteral("--team-setup")),
             qPrintable(done.last().at(1).toString()));
    QVERIFY(settings.teamDatabase().isEmpty());

    QVERIFY(setUpForTechnician(scratch));
    const auto owner = scratch.connectAs(scratch.owner);
    QVERIFY(
        run(owner->database(),
            QStringLiteral("INSERT INTO sites (name, port, phone, setup) VALUES ('OAK COURT', 3, '9', '')")));
    prompter.answer(MessageBox::Answer::Yes);   // bring the sites in
    QVERIFY(join.join(uri));
    QVERIFY(join.busy());
    QTRY_COMPARE_WITH_TIMEOUT(done.size(), 3, 20000);   // joined, then the sites brought in
    QVERIFY2(done.at(1).at(1).toString().startsWith(QStringLiteral("Connected: ")),
             qPrintable(done.at(1).at(1).toString()));
    QCOMPARE(storedTeam(), uri);
    QCOMPARE(shipping.team(), uri);
    qint64 mark = 0;
    QVERIFY(store.readShipped(uri, &mark));
    QCOMPARE(mark, before.last().id);

    QCOMPARE(prompter.boxes.size(), 2);
    QCOMPARE(prompter.boxes.at(0).buttons, MessageBox::Buttons::YesNo);
    QVERIFY2(prompter.boxes.at(1).prompt.contains(QStringLiteral("1 site was brought")),
             qPrintable(prompter.boxes.at(1).prompt));
    QVERIFY2(prompter.boxes.at(1).prompt.contains(QStringLiteral("Oak Court")),
             qPrintable(prompter.boxes.at(1).prompt));
    QCOMPARE(valueOf(owner->database(),
                     QStringLiteral("SELECT string_agg(name || ':' || port, ',' ORDER BY "
                                    "name) FROM sites"))
                 .toString(),
             QStringLiteral("Elm House:1,OAK COURT:3"));
    QList<Site> local;
    QVERIFY(store.readSites(&local));
    QCOMPARE(local.size(), 2);

    writer.append(journalEntries(1, QStringLiteral("after ")).first());
    QTRY_COMPARE_WITH_TIMEOUT(
        valueOf(owner->database(), QStringLiteral("SELECT string_agg(text, ',') FROM journal")).toString(),
        QStringLiteral("after 0"), 20000);

    join.leave();
    QVERIFY(storedTeam().isEmpty());
    QVERIFY(shipping.team().isEmpty());
}

void TstTeamDb::teamJournalPages_data()
{
    QTest::addColumn<JournalFilter>("filter");
    QTest::addColumn<QString>("where");   // the same entries as SQL
    QTest::addColumn<int>("page");
    JournalFilter all;
    QTest::addRow("everything, small pages") << all << "true" << 7;
    QTest::addRow("everything, a page larger than all") << all << "true" << 5000;
    JournalFilter ben;
    ben.operatorName = QStringLiteral("ben");
    QTest::addRow("one operator") << ben << "operator = 'ben'" << 9;
    JournalFilter noSite;
    noSite.site = QString();
    QTest::addRow("no site") << noSite << "site = ''" << 11;
    JournalFilter tenant;
    tenant.search = QStringLiteral("TENANT");
    QTest::addRow("search in any case") << tenant << "lower(text) LIKE '%tenant%'" << 8;
    JournalFilter wildcards;
    wildcards.search = QStringLiteral("5%");
    QTest::addRow("search: a percent sign is a character") << wildcards << "strpos(text, '5%') > 0" << 3;
    JournalFilter hour;
    hour.fromUtcMs = QDateTime(QDate(2026, 11, 2), QTime(8, 0, 0, 500), Qt::UTC).toMSecsSinceEpoch();
    hour.toUtcMs = QDateTime(QDate(2026, 11, 2), QTime(8, 0, 1, 200), Qt::UTC).toMSecsSinceEpoch();
    hour.operatorName = QStringLiteral("anna");
    QTest::addRow("time range and operator")
        << hour
        << "at_utc >= '2026-11-02 08:00:00.5Z' AND at_utc < '2026-11-02 08:00:01.2Z' AND operator = 'anna'"
        << 10;
}

// Pages from the key at their edge give the entries that one query in the
// journal's order gives, each once, read forward or back.
void TstTeamDb::teamJournalPages()
{
    QFETCH(JournalFilter, filter);
    QFETCH(QString, where);
    QFETCH(int, page);
    REQUIRE_TEAM(server, scratch);
    {
        const auto owner = scratch.connectAs(scratch.owner);
        QVERIFY(putInterleaved(owner->database(), 700));
    }
    const auto technician = scratch.connectAs(scratch.technician);
    QSqlDatabase& db = technician->database();
    QSqlQuery q(db);
    QVERIFY(
        q.exec(QStringLiteral(
                   "SELECT replace(installation_id::text, '-', '') || ':' || local_id FROM journal WHERE %1 "
                   "ORDER BY at_utc, installation_id, local_id")
                   .arg(where)));
    QStringList expected;
    while (q.next())
        expected << q.value(0).toString();
    QVERIFY(expected.size() > 3 * 3);   // more than a page or three
    QVERIFY(expected.size() < 1400 || filter.passesAll());

    TeamJournal journal(db, nullptr, QString());
    QCOMPARE(allByPages(journal, filter, false, page), expected);
    QCOMPARE(allByPages(journal, filter, true, page), expected);
    QCOMPARE(journal.count(filter), qint64(expected.size()));
}

// This computer's entries not on the server yet come in their place among
// the others, marked; one shipped while the journal is read shows once.
void TstTeamDb::teamJournalMergesOwnUnshipped()
{
    REQUIRE_TEAM(server, scratch);
    {
        const auto owner = scratch.connectAs(scratch.owner);
        QVERIFY(putInterleaved(owner->database(), 40));   // 08:00:00.002 to 08:00:00.120
    }
    const QString uri = server->tlsUri(scratch.technician, scratch.database);
    QTemporaryDir home;
    SqliteStore store(home.path());
    QCOMPARE(store.open().outcome, SqliteStore::Opening::Outcome::Opened);
    const QDateTime start(QDate(2026, 11, 2), QTime(8, 0), Qt::UTC);
    QList<JournalRecord> shipped;
    for (int i = 0; i < 20; ++i)
        shipped << entryAt(start.addMSecs(7 * i), QStringLiteral("shipped %1").arg(i));
    QVERIFY(store.appendEntries(shipped));
    QVERIFY(shipAll(home.path(), uri));
    QList<JournalRecord> waiting;
    for (int i = 0; i < 10; ++i)   // the clock put back: not in the order of their ids
        waiting << entryAt(start.addMSecs(101 - 9 * i), QStringLiteral("waiting %1").arg(i));
    QVERIFY(store.appendEntries(waiting));

    const auto technician = scratch.connectAs(scratch.technician);
    TeamJournal journal(technician->database(), &store, uri);
    const auto check = [&](int pending) {
        const QList<JournalRecord> rows = allRecords(journal, {});
        QCOMPARE(rows.size(), 80 + 30);
        QCOMPARE(journal.count({}), qint64(rows.size()));
        QSet<QString> keys;
        int marked = 0;
        for (int i = 0; i < rows.size(); ++i) {
            const JournalRecord& r = rows.at(i);
            QVERIFY2(i == 0 || TeamJournal::before(rows.at(i - 1), r), qPrintable(r.line()));
            keys.insert(keyOf(r));
            if (r.pending) {
                ++marked;
                QVERIFY(r.dbUser.isEmpty());
                QCOMPARE(r.installationId, store.installationId());
                QVERIFY2(r.line().contains(QStringLiteral("anna@pc (not shipped)")), qPrintable(r.line()));
            } else {
                const QString role =
                    r.installationId == store.installationId() ? scratch.technician : scratch.owner;
                QCOMPARE(r.dbUser, role);
                QVERIFY2(r.line().contains(QStringLiteral("@%1-pc (%2) ").arg(r.operatorName, role))
                             || r.line().contains(QStringLiteral("anna@pc (%1) ").arg(role)),
                         qPrintable(r.line()));
            }
        }
        QCOMPARE(keys.size(), rows.size());
        QCOMPARE(marked, pending);
    };
    check(10);
    // The local store's operator filter and the server's agree.
    JournalFilter anna;
    anna.operatorName = QStringLiteral("anna");
    QCOMPARE(allRecords(journal, anna).size(), 40 + 30);
    QCOMPARE(journal.count(anna), qint64(40 + 30));

    // The mark lost, as when entries were shipped while the journal was
    // read: those on the server are shown once, as the server has them.
    QVERIFY(store.run(QStringLiteral("DELETE FROM shipping")));
    check(10);
    // All shipped: none marked.
    QVERIFY(shipAll(home.path(), uri));
    check(0);
}

// velno --journal in a team: the team's entries with the server's role,
// this computer's not shipped yet marked; --local, and a server that
// cannot be reached or is not set up, give this computer's journal (with a
// warning and status 3 for the latter).
void TstTeamDb::teamJournalPrinted()
{
    REQUIRE_TEAM(server, scratch);
    {
        const auto owner = scratch.connectAs(scratch.owner);
        QVERIFY(putInterleaved(owner->database(), 5));
    }
    const QString uri = server->tlsUri(scratch.technician, scratch.database);
    QTemporaryDir home;
    {
        SqliteStore store(home.path());
        QCOMPARE(store.open().outcome, SqliteStore::Opening::Outcome::Opened);
        QList<JournalRecord> entries{
            entryAt(QDateTime(QDate(2026, 11, 2), QTime(8, 0), Qt::UTC), "own, sent")};
        QVERIFY(store.appendEntries(entries));
    }
    QVERIFY(shipAll(home.path(), uri));
    {
        SqliteStore store(home.path());
        QCOMPARE(store.open().outcome, SqliteStore::Opening::Outcome::Opened);
        QList<JournalRecord> entries{
            entryAt(QDateTime(QDate(2026, 11, 2), QTime(9, 0), Qt::UTC), "own, waiting")};
        QVERIFY(store.appendEntries(entries));
    }
    const auto print = [&](const QString& team, JournalExport::Format format, QStringList* warnings,
                           const std::optional<QString>& operatorName = std::nullopt) {
        JournalPrint::Request request;
        request.dataFolder = home.path();
        request.teamUri = team;
        request.format = format;
        request.filter.operatorName = operatorName;
        QBuffer out;
        QBuffer err;
        out.open(QIODevice::WriteOnly);
        err.open(QIODevice::WriteOnly);
        const int status = JournalPrint::print(request, out, err);
        *warnings = QString::fromLocal8Bit(err.data()).split(u'\n', Qt::SkipEmptyParts);
        return std::make_pair(status, QString::fromUtf8(out.data()));
    };
    const auto text = JournalExport::Format::Text;
    QStringList warnings;

    const auto [teamStatus, team] = print(uri, text, &warnings);
    QCOMPARE(teamStatus, JournalPrint::kDone);
    QVERIFY(warnings.isEmpty());
    const QStringList lines = team.split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 5 + 5 + 2);
    QVERIFY2(lines.first().contains(QStringLiteral("anna@pc (%1) - > own, sent").arg(scratch.technician)),
             qPrintable(lines.first()));
    QVERIFY2(lines.at(1).contains(QStringLiteral("anna@anna-pc (%1) Elm House * Line 1").arg(scratch.owner)),
             qPrintable(lines.at(1)));
    QVERIFY2(lines.last().endsWith(QStringLiteral("anna@pc (not shipped) - > own, waiting")),
             qPrintable(lines.last()));

    const auto [benStatus, ben] = print(uri, text, &warnings, QStringLiteral("ben"));
    QCOMPARE(benStatus, JournalPrint::kDone);
    QCOMPARE(ben.count(u'\n'), 5);
    QCOMPARE(ben.count(QStringLiteral("ben@ben-pc (%1) ").arg(scratch.owner)), 5);

    const auto [csvStatus, csv] = print(uri, JournalExport::Format::Csv, &warnings);
    QCOMPARE(csvStatus, JournalPrint::kDone);
    QVERIFY(csv.startsWith(QStringLiteral("time,operator,host,site,kind,text,role,shipped\r\n")));
    QVERIFY2(csv.contains(QStringLiteral(",anna,pc,,sent,\"own, sent\",%1,yes\r\n").arg(scratch.technician)),
             qPrintable(csv));
    QVERIFY2(csv.endsWith(QStringLiteral(",anna,pc,,sent,\"own, waiting\",,no\r\n")), qPrintable(csv));

    const auto [localStatus, local] = print(QString(), text, &warnings);
    QCOMPARE(localStatus, JournalPrint::kDone);
    QVERIFY(warnings.isEmpty());
    QCOMPARE(local.count(u'\n'), 2);
    QVERIFY(!local.contains(QStringLiteral(" (")));

    const QString away = QStringLiteral("postgresql://%1@127.0.0.1:1/velno").arg(scratch.technician);
    const auto [awayStatus, awayOut] = print(away, text, &warnings);
    QCOMPARE(awayStatus, JournalPrint::kLocalInstead);
    QCOMPARE(awayOut, local);
    QCOMPARE(warnings.size(), 1);
    QVERIFY2(warnings.first().contains(QStringLiteral("cannot be reached")), qPrintable(warnings.first()));
    QVERIFY2(warnings.first().endsWith(QStringLiteral("This computer's journal follows.")),
             qPrintable(warnings.first()));

    // A database without the tables (its own pgpass file from here on).
    Scratch other(*server);
    QVERIFY(other.ready());
    const QString bare = server->tlsUri(other.technician, other.database);
    const auto [bareStatus, bareOut] = print(bare, text, &warnings);
    QCOMPARE(bareStatus, JournalPrint::kLocalInstead);
    QCOMPARE(bareOut, local);
    QCOMPARE(warnings.size(), 1);
    QVERIFY2(warnings.first().contains(QStringLiteral("--team-setup")), qPrintable(warnings.first()));
}

QTEST_GUILESS_MAIN(TstTeamDb)
#include "tst_teamdb.moc"
