// SPDX-License-Identifier: GPL-3.0-or-later
// velno-batch as a script runs it, against the panel simulator, directly and
// through its modem front end with a connect delay: exit status, capture
// file and journal.
#include "core/appsettings.h"
#include "journalreader.h"
#include "platform/inisettingsstore.h"
#include "platform/qtserialport.h"
#include "simulatorprocess.h"
#include "store/sqlitestore.h"
#include "store/teamsites.h"
#include "teamserver.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

const QString kSite = QStringLiteral("Elm House");

void writeFile(const QString& path, const QByteArray& bytes, QFile::Permissions permissions)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
    file.close();
    QVERIFY(file.setPermissions(permissions));
}

}   // namespace

class TstBatch : public QObject {
    Q_OBJECT
private slots:
    void job_data();
    void job();
};

void TstBatch::job_data()
{
    QTest::addColumn<QStringList>("simulator");
    QTest::addColumn<QStringList>("arguments");   // $DEV, $OUT, $CODE, $TNT stand for the test's own
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("captured");   // a line the capture holds; empty: no capture file
    QTest::addColumn<QStringList>("journalled");   // entries the journal holds, "site > text"
    // Where the site book is: "" the local one; "server" the team's, on the
    // test server; "copy" the local copy of a team's whose server cannot be
    // reached, which velno-batch warns about; "no tables" a team database
    // its owner has not set up, whose copy is then not used.
    QTest::addColumn<QString>("team");
    QTest::addColumn<bool>("warned");

    const QStringList modem{QStringLiteral("--modem"), QStringLiteral("--connect-delay"),
                            QStringLiteral("1")};
    const QStringList pull{QStringLiteral("--code-stdin"),
                           QStringLiteral("--pull"),
                           QStringLiteral("events"),
                           QStringLiteral("--out"),
                           QStringLiteral("$OUT"),
                           QStringLiteral("--quiet"),
                           QStringLiteral("2")};
    const QStringList device{QStringLiteral("--device"), QStringLiteral("$DEV")};
    const QStringList dial = device + QStringList{QStringLiteral("--phone"), QStringLiteral("5550100")};
    const QStringList fromSite{QStringLiteral("--site"),      kSite,
                               QStringLiteral("--code-file"), QStringLiteral("$CODE"),
                               QStringLiteral("--pull"),      QStringLiteral("events"),
                               QStringLiteral("--out"),       QStringLiteral("$OUT")};
    const QStringList quietly{QStringLiteral("--quiet"), QStringLiteral("2")};

    QTest::newRow("direct, events into a new file")
        << QStringList() << device + pull << 0 << QStringLiteral("PROGRAMMING MODE ENTERED")
        << QStringList{QStringLiteral("- > PGM****"), QStringLiteral("- > PRIEVR"), QStringLiteral("- > END")}
        << QString() << false;
    QTest::newRow("by modem from the site book, code from a private file")
        << modem << fromSite + quietly << 0 << QStringLiteral("PROGRAMMING MODE ENTERED")
        << QStringList{kSite + QStringLiteral(" > ATDT5550100"), kSite + QStringLiteral(" > PGM****"),
                       kSite + QStringLiteral(" > PRIEVR"), kSite + QStringLiteral(" > END")}
        << QString() << false;
    for (const QString& team : {QStringLiteral("server"), QStringLiteral("copy")})
        QTest::addRow("by modem from the team's site book, %s", qPrintable(team))
            << modem << fromSite + quietly << 0 << QStringLiteral("PROGRAMMING MODE ENTERED")
            << QStringList{kSite + QStringLiteral(" > ATDT5550100"), kSite + QStringLiteral(" > END")} << team
            << (team == QStringLiteral("copy"));
    QTest::newRow("the team's tables not set up") << QStringList() << fromSite << 12 << QString()
                                                  << QStringList() << QStringLiteral("no tables") << false;
    QTest::newRow("a tenant file sent, its codes masked in the journal")
        << QStringList()
        << device
            + QStringList{QStringLiteral("--code-stdin"), QStringLiteral("--send"), QStringLiteral("$TNT")}
        << 0 << QString()
        << QStringList{QStringLiteral("- > TNTDIR:31TEL:5550301 CODE:**** DOOR:1 NAME:Flat 31"),
                       QStringLiteral("- > END")}
        << QString() << false;
    QTest::newRow("BUSY") << modem + QStringList{QStringLiteral("--dial-result"), QStringLiteral("busy")}
                          << dial + pull << 5 << QString() << QStringList{QStringLiteral("- > ATDT5550100")}
                          << QString() << false;
    QTest::newRow("NO CARRIER") << modem
            + QStringList{QStringLiteral("--dial-result"), QStringLiteral("no-carrier")}
                                << dial + pull << 4 << QString() << QStringList() << QString() << false;
    QTest::newRow("NO DIALTONE") << modem
            + QStringList{QStringLiteral("--dial-result"), QStringLiteral("no-dialtone")}
                                 << dial + pull << 6 << QString() << QStringList() << QString() << false;
    QTest::newRow("no CONNECT within the dial timeout")
        << QStringList{QStringLiteral("--modem"), QStringLiteral("--connect-delay"), QStringLiteral("20")}
        << dial + pull + QStringList{QStringLiteral("--dial-timeout"), QStringLiteral("1")} << 7 << QString()
        << QStringList() << QString() << false;
    QTest::newRow("a code file others may read is refused")
        << QStringList() << device + QStringList{QStringLiteral("--code-file"), QStringLiteral("$OPENCODE"),
                                                 QStringLiteral("--pull"),      QStringLiteral("events"),
                                                 QStringLiteral("--out"),       QStringLiteral("$OUT")}
        << 2 << QString() << QStringList() << QString() << false;
    QTest::newRow("a code on the command line is refused")
        << QStringList()
        << device + QStringList{QStringLiteral("--code"), QStringLiteral("1234")} + pull.mid(1) << 2
        << QString() << QStringList() << QString() << false;
    QTest::newRow("an existing capture file is kept")
        << QStringList() << device + pull.mid(0, 4) + QStringList{QStringLiteral("$OLD")} << 11 << QString()
        << QStringList() << QString() << false;
}

void TstBatch::job()
{
    QFETCH(QStringList, simulator);
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QString, captured);
    QFETCH(QStringList, journalled);
    QFETCH(QString, team);
    QFETCH(bool, warned);

    QTemporaryDir dir;
    const QString data = dir.filePath(QStringLiteral("data"));
    const QString config = dir.filePath(QStringLiteral("config"));
    SimulatorProcess panel;
    QVERIFY(panel.start(simulator));

    // The site book and the port the site uses, where velno keeps them.
    SqliteStore store(data + QStringLiteral("/Velno"));
    QCOMPARE(store.open().outcome, SqliteStore::Opening::Outcome::Opened);
    Site site;
    site.name = kSite;
    site.port = 2;
    site.phone = QStringLiteral("5550100");
    site.setup = QStringLiteral("ATZ");
    std::unique_ptr<Scratch> scratch;
    QString uri;
    if (team == QStringLiteral("no tables")) {
        REQUIRE_SERVER(server);
        scratch = std::make_unique<Scratch>(*server);
        QVERIFY2(scratch->ready(), qPrintable(scratch->error()));
        uri = server->tlsUri(scratch->technician, scratch->database);
        site.id = 7;
        site.version = 1;
        QVERIFY(store.keepTeamSites(uri, {site}));
    } else if (team == QStringLiteral("server")) {
        REQUIRE_SERVER(server);
        scratch = std::make_unique<Scratch>(*server);
        QVERIFY2(scratch->ready(), qPrintable(scratch->error()));
        QVERIFY(setUpForTechnician(*scratch));
        uri = server->tlsUri(scratch->technician, scratch->database);
        QCOMPARE(TeamSites::add(scratch->connectAs(scratch->technician)->database(), site).change,
                 Store::Change::Done);
    } else if (team == QStringLiteral("copy")) {
        uri = QStringLiteral("postgresql://tech@127.0.0.1:1/velno?connect_timeout=2");
        site.id = 7;
        site.version = 1;
        QVERIFY(store.keepTeamSites(uri, {site}));
    } else {
        QCOMPARE(store.addSite(site), Store::Change::Done);
    }
    IniSettingsStore settings(config);
    AppSettings(settings).storeTeamDatabase(uri);
    IniSettingsStore(config).store(QLatin1String(QtSerialPort::kApplication),
                                   QLatin1String(QtSerialPort::kSection), QStringLiteral("2"), panel.path());

    const QString out = dir.filePath(QStringLiteral("events.EVR"));
    const QString old = dir.filePath(QStringLiteral("old.EVR"));
    writeFile(old, "kept\r\n", QFile::ReadOwner | QFile::WriteOwner);
    writeFile(dir.filePath(QStringLiteral("code")), "1234\n", QFile::ReadOwner | QFile::WriteOwner);
    writeFile(dir.filePath(QStringLiteral("opencode")), "1234\n",
              QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther);
    writeFile(dir.filePath(QStringLiteral("site.TNT")),
              "TNTDIR:31TEL:5550301 CODE:3131 DOOR:1 NAME:Flat 31\r\n", QFile::ReadOwner | QFile::WriteOwner);
    for (QString& argument : arguments) {
        argument.replace(QStringLiteral("$DEV"), panel.path());
        argument.replace(QStringLiteral("$OUT"), out);
        argument.replace(QStringLiteral("$OLD"), old);
        argument.replace(QStringLiteral("$OPENCODE"), dir.filePath(QStringLiteral("opencode")));
        argument.replace(QStringLiteral("$CODE"), dir.filePath(QStringLiteral("code")));
        argument.replace(QStringLiteral("$TNT"), dir.filePath(QStringLiteral("site.TNT")));
    }

    QProcess batch;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_DATA_HOME"), data);
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), config);
    batch.setProcessEnvironment(environment);
    batch.start(QStringLiteral(VELNO_BATCH), arguments);
    QVERIFY(batch.waitForStarted());
    batch.write("1234\n");
    batch.closeWriteChannel();
    QVERIFY(batch.waitForFinished(60000));
    const QString errors = QString::fromLocal8Bit(batch.readAllStandardError());
    QVERIFY2(batch.exitCode() == status,
             qPrintable(QStringLiteral("%1: %2").arg(batch.exitCode()).arg(errors)));
    QCOMPARE(errors.isEmpty(), status == 0 && !warned);
    QCOMPARE(
        errors.contains(QStringLiteral("team database unreachable: using the local copy of its site book")),
        warned);
    // One line, or the refusal and the usage; an unreachable team's server
    // is told once for its site book and once for the run's entries.
    QVERIFY(errors.count(u'\n') <= (warned ? 2 : 1) || status == 2);
    QCOMPARE(errors.contains(QStringLiteral("journal entries wait to be shipped to the team")), warned);
    QCOMPARE(errors.contains(QStringLiteral("velno --team-setup")), status == 12);

    QFile capture(out);
    QCOMPARE(capture.exists(), !captured.isEmpty());
    if (!captured.isEmpty()) {
        QVERIFY(capture.open(QIODevice::ReadOnly));
        QVERIFY(QString::fromLatin1(capture.readAll()).contains(captured));
    }
    QFile kept(old);
    QVERIFY(kept.open(QIODevice::ReadOnly));
    QCOMPARE(kept.readAll(), QByteArray("kept\r\n"));

    const QStringList lines = storedLines(data + QStringLiteral("/Velno"));
    for (const QString& line : journalled)
        QVERIFY2(lines.contains(line), qPrintable(lines.join(u'\n')));
    QVERIFY(!lines.join(u'\n').contains(QStringLiteral("1234")));
    QVERIFY(!lines.join(u'\n').contains(QStringLiteral("3131")));
    if (status == 2)
        QVERIFY(lines.isEmpty());   // refused before anything was written
    if (team == QStringLiteral("server")) {   // the run's entries shipped; the copy follows the server
        const auto technician = scratch->connectAs(scratch->technician);
        QSqlQuery shipped(technician->database());
        QVERIFY(shipped.exec(QStringLiteral("SELECT site || ' > ' || text FROM journal")));
        QStringList onServer;
        while (shipped.next())
            onServer << shipped.value(0).toString();
        for (const QString& line : journalled)
            QVERIFY2(onServer.contains(line), qPrintable(onServer.join(u'\n')));
        QList<Site> copy;
        QVERIFY(store.readTeamSites(uri, &copy));
        QCOMPARE(copy.size(), 1);
        QCOMPARE(copy.first(), site);
    }
}

QTEST_GUILESS_MAIN(TstBatch)
#include "tst_batch.moc"
