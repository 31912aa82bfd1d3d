// SPDX-License-Identifier: GPL-3.0-or-later
#include "programmodes.h"

#include "fakeservices.h"
#include "median.h"
#include "usagesnapshot.h"

#include "core/journal.h"
#include "files/journalview.h"
#include "scriptedprompter.h"
#include "store/journalshipper.h"
#include "store/journalwriter.h"
#include "store/sqlitestore.h"
#include "store/teamaddress.h"
#include "store/teamconnection.h"
#include "store/teamschema.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QTableView>
#include <QTest>

namespace {

constexpr int kSendLines = 10000;
constexpr int kFillBatch = 10000;

// A tenant file's line as a file send writes it; every other one holds "Tenant".
QByteArray tenantLine(int i)
{
    return QStringLiteral("TNTDIR:%1TEL:0301%2 CODE:%3 DOOR:%4 NAME:%5 number %6")
        .arg(1000 + i % 9000)
        .arg(i, 7, 10, QLatin1Char('0'))
        .arg(i % 10000, 4, 10, QLatin1Char('0'))
        .arg(1 + i % 2)
        .arg(i % 2 == 0 ? QStringLiteral("Tenant") : QStringLiteral("Owner"))
        .arg(i)
        .toLatin1();
}

// Entries straight into the store, over three sites, in large transactions;
// a store filled by an earlier run is taken as it is (false).
bool fill(const QString& folder, int entries)
{
    SqliteStore store(folder);
    store.open();
    if (store.countEntries({}) >= entries)
        return false;
    const QStringList sites{QStringLiteral("Elm Court"), QStringLiteral("Oak Row"), QString()};
    const QDateTime start(QDate(2026, 10, 1), QTime(8, 0));
    for (int first = 0; first < entries; first += kFillBatch) {
        QList<JournalRecord> batch;
        for (int i = first; i < std::min(entries, first + kFillBatch); ++i) {
            JournalRecord r = JournalRecord::at(start.addSecs(i), JournalRecord::Kind::Sent,
                                                QString::fromLatin1(tenantLine(i)));
            r.operatorName = QStringLiteral("tech");
            r.host = QStringLiteral("workshop-pc");
            r.site = sites[(i / 1000) % sites.size()];
            batch.append(r);
        }
        store.appendEntries(batch);
    }
    return true;
}

double msOf(const std::function<void()>& work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return double(timer.nsecsElapsed()) / 1e6;
}

void measureViewer(const QString& folder, int entries, int runs)
{
    const std::string size = std::to_string(entries);
    SqliteStore store(folder);
    store.open();
    ScriptedPrompter prompter;
    report(("journal_view_ms_" + size).c_str(), medianMs(runs, [&] {
               JournalView view(store, prompter, SqliteStore::writerStore(folder));
               view.show();
               QCoreApplication::processEvents();
           }));
    JournalView view(store, prompter, SqliteStore::writerStore(folder));
    view.show();
    QCoreApplication::processEvents();
    QTableView* list = view.entries();
    // It opens at the newest: Ctrl+Home reads the oldest page, Ctrl+End the newest again.
    report(("journal_home_ms_" + size).c_str(), msOf([&] {
               QTest::keyClick(list, Qt::Key_Home, Qt::ControlModifier);
               QCoreApplication::processEvents();
           }));
    report(("journal_end_ms_" + size).c_str(), msOf([&] {
               QTest::keyClick(list, Qt::Key_End, Qt::ControlModifier);
               QCoreApplication::processEvents();
           }));
    // Until the newest finds show, then until all are counted.
    QElapsedTimer search;
    search.start();
    view.searchField()->setText(QStringLiteral("Tenant"));   // half the entries
    view.searchNow();
    while (view.model().reading())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    QCoreApplication::processEvents();
    report(("journal_search_ms_" + size).c_str(), double(search.nsecsElapsed()) / 1e6);
    // The window moved while the count goes on: the oldest finds, the
    // newest again, and a page read above the top of the window.
    report(("journal_search_home_ms_" + size).c_str(), msOf([&] {
               QTest::keyClick(list, Qt::Key_Home, Qt::ControlModifier);
               QCoreApplication::processEvents();
           }));
    report(("journal_search_end_ms_" + size).c_str(), msOf([&] {
               QTest::keyClick(list, Qt::Key_End, Qt::ControlModifier);
               QCoreApplication::processEvents();
           }));
    report(("journal_search_page_ms_" + size).c_str(), msOf([&] {
               list->verticalScrollBar()->setValue(0);
               QCoreApplication::processEvents();
           }));
    while (view.model().counting())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    QCoreApplication::processEvents();
    report(("journal_search_counted_ms_" + size).c_str(), double(search.nsecsElapsed()) / 1e6);
    report(("journal_found_" + size).c_str(), double(view.model().count()));
    report(("journal_site_ms_" + size).c_str(), msOf([&] {
               view.searchField()->clear();
               view.siteBox()->setCurrentText(QStringLiteral("Oak Row"));
               view.searchNow();
               while (view.model().counting())
                   QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
               QCoreApplication::processEvents();
           }));
    report(("journal_rss_mb_" + size).c_str(), double(UsageSnapshot::now().peakRssKb) / 1024);
}

// The team's journal on the test server of scripts/pg-test-server.sh (its
// environment variables set), over TLS on the loopback port as a
// technician's window reads it; filled once per size with one INSERT ...
// SELECT, kept between runs.
std::optional<QString> teamUri(const QString& workDir)
{
    const QString socket = qEnvironmentVariable("VELNO_TEST_PG_SOCKET");
    const QString port = qEnvironmentVariable("VELNO_TEST_PG_PORT");
    const QString superuser = qEnvironmentVariable("VELNO_TEST_PG_SUPERUSER");
    if (socket.isEmpty() || port.isEmpty())
        return std::nullopt;
    QString error;
    TeamConnection admin(*TeamAddress::read(
        QStringLiteral("postgresql:///postgres?host=%1&port=%2&user=%3").arg(socket, port, superuser),
        &error));
    if (!admin.open())
        return std::nullopt;
    QSqlQuery q(admin.database());
    q.exec(QStringLiteral("CREATE ROLE velno_bench LOGIN PASSWORD 'bench-Password-1'"));
    q.exec(QStringLiteral("CREATE DATABASE velno_bench OWNER velno_bench"));
    QFile pgpass(QDir(workDir).filePath(QStringLiteral("pgpass")));
    pgpass.open(QIODevice::WriteOnly);
    pgpass.write(QStringLiteral("*:%1:velno_bench:velno_bench:bench-Password-1\n").arg(port).toUtf8());
    pgpass.close();
    pgpass.setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    qputenv("PGPASSFILE", QFile::encodeName(pgpass.fileName()));
    return QStringLiteral("postgresql://velno_bench@localhost:%1/velno_bench?sslrootcert=%2")
        .arg(port, qEnvironmentVariable("VELNO_TEST_PG_CA"));
}

void fillTeam(const QString& uri, qint64 entries)
{
    QString error;
    TeamConnection owner(*TeamAddress::read(uri, &error));
    if (!owner.open() || TeamSchema::setUp(owner.database()).kind != TeamSchema::State::Kind::Ready)
        return;
    QSqlQuery q(owner.database());
    q.exec(QStringLiteral("SELECT count(*) FROM journal"));
    if (q.next() && q.value(0).toLongLong() >= entries)
        return;
    q.exec(QStringLiteral("TRUNCATE journal"));
    report(("team_fill_ms_" + std::to_string(entries)).c_str(), msOf([&] {
               q.exec(
                   QStringLiteral(
                       "INSERT INTO journal (installation_id, local_id, at_utc, utc_offset, operator, host, "
                       "site, kind, text) SELECT CASE i % 4 WHEN 0 THEN '%1' WHEN 1 THEN '%2' WHEN 2 THEN "
                       "'%3' ELSE '%4' END::uuid, i, timestamptz '2026-01-01 08:00Z' + i * interval '1 s', "
                       "3600, "
                       "'tech' || i % 4, 'pc' || i % 4, CASE WHEN i / 1000 % 3 = 0 THEN '' ELSE 'Elm Court' "
                       "END, "
                       "'sent', 'TNTDIR:' || i || ' NAME:Tenant number ' || i FROM generate_series(1, %5) i")
                       .arg(QStringLiteral("11111111-0000-4000-8000-000000000001"),
                            QStringLiteral("22222222-0000-4000-8000-000000000002"),
                            QStringLiteral("33333333-0000-4000-8000-000000000003"),
                            QStringLiteral("44444444-0000-4000-8000-000000000004"))
                       .arg(entries));
               q.exec(QStringLiteral("ANALYZE journal"));
           }));
}

void waitFor(const std::function<bool()>& done)
{
    while (!done())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
}

void measureTeam(const QString& workDir, const QString& uri, qint64 entries)
{
    fillTeam(uri, entries);
    const std::string size = std::to_string(entries);
    QString error;
    const TeamAddress address = *TeamAddress::read(uri, &error);
    const QString folder = QDir(workDir).filePath(QStringLiteral("team-local"));
    SqliteStore store(folder);
    store.open();
    ScriptedPrompter prompter;
    QElapsedTimer opening;
    opening.start();
    JournalView view(store, prompter, SqliteStore::writerStore(folder));
    view.showTeam(address, uri, SqliteStore::writerStore(folder));
    view.show();
    waitFor([&] { return !view.model().reading(); });
    report(("team_view_ms_" + size).c_str(), double(opening.nsecsElapsed()) / 1e6);
    QTableView* list = view.entries();
    report(("team_home_ms_" + size).c_str(), msOf([&] {
               QTest::keyClick(list, Qt::Key_Home, Qt::ControlModifier);
               waitFor([&] { return view.model().atOldest() && view.model().rowCount() > 0; });
           }));
    report(("team_end_ms_" + size).c_str(), msOf([&] {
               QTest::keyClick(list, Qt::Key_End, Qt::ControlModifier);
               waitFor([&] { return view.model().atNewest() && view.model().rowCount() > 0; });
           }));
    waitFor([&] { return !view.model().counting(); });
    report(("team_counted_ms_" + size).c_str(), double(opening.nsecsElapsed()) / 1e6);
    report(("team_count_" + size).c_str(), double(view.model().count()));
    report(("team_rss_mb_" + size).c_str(), double(UsageSnapshot::now().peakRssKb) / 1024);
}

// A day offline: 10,000 entries waiting in the local store, shipped until none wait.
void measureShipping(const QString& workDir, const QString& uri)
{
    const QString folder =
        QDir(workDir).filePath(QStringLiteral("offline%1").arg(QDateTime::currentMSecsSinceEpoch()));
    {
        SqliteStore store(folder);
        store.open();
        QList<JournalRecord> batch;
        for (int i = 0; i < kSendLines; ++i)
            batch.append(JournalRecord::at(QDateTime::currentDateTime().addSecs(i - kSendLines),
                                           JournalRecord::Kind::Sent, QString::fromLatin1(tenantLine(i))));
        store.appendEntries(batch);
    }
    QString error;
    report("team_ship_10000_ms", msOf([&] {
               JournalShipper shipper(SqliteStore::writerStore(folder), *TeamAddress::read(uri, &error), uri);
               QSignalSpy backlog(&shipper, &JournalShipper::backlogChanged);
               waitFor([&] { return !backlog.isEmpty() && backlog.last().at(0).toLongLong() == 0; });
           }));
}

}   // namespace

// The sizes measured: 100,000 entries, and more as VELNO_JOURNAL_ENTRIES
// says (e.g. "100000,10000000"): filling ten million takes many minutes,
// so VELNO_JOURNAL_FOLDER may name a folder where the filled journals are
// kept from one run to the next (the run's own folder otherwise).
int runJournal(const QString& workDir, int runs)
{
    const QStringList sizes =
        qEnvironmentVariable("VELNO_JOURNAL_ENTRIES", QStringLiteral("100000")).split(u',');
    const QString kept = qEnvironmentVariable("VELNO_JOURNAL_FOLDER", workDir);
    for (const QString& size : sizes) {
        const QString folder = QDir(kept).filePath(QStringLiteral("journal") + size);
        bool filled = false;
        const double fillMs = msOf([&] { filled = fill(folder, size.toInt()); });
        if (filled)
            report(("journal_fill_ms_" + size.toStdString()).c_str(), fillMs);
        measureViewer(folder, size.toInt(), runs);
    }

    // The team's journal, with the test server: 1,000,000 entries, and
    // more as VELNO_TEAM_ENTRIES says (e.g. "1000000,10000000").
    if (const std::optional<QString> uri = teamUri(workDir)) {
        for (const QString& size :
             qEnvironmentVariable("VELNO_TEAM_ENTRIES", QStringLiteral("1000000")).split(u','))
            measureTeam(workDir, *uri, size.toLongLong());
        measureShipping(workDir, *uri);
    }

    // A file send through the journal as the program keeps it: each entry
    // masked, handed to the writer and durable (synchronous commits).
    QList<QByteArray> lines;
    for (int i = 0; i < kSendLines; ++i)
        lines.append(tenantLine(i) + "\r\n");
    SystemClock clock;
    int run = 0;   // each run into a folder of its own
    report("journal_send_ms", medianMs(runs, [&] {
               JournalWriter writer(
                   SqliteStore::writerStore(QDir(workDir).filePath(QStringLiteral("send%1").arg(run++))));
               Journal journal(clock, writer);
               for (const QByteArray& line : lines)
                   journal.recordSent(line);
           }));
    report("journal_send_durable_ms", medianMs(runs, [&] {
               JournalWriter writer(
                   SqliteStore::writerStore(QDir(workDir).filePath(QStringLiteral("send%1").arg(run++))));
               Journal journal(clock, writer);
               for (const QByteArray& line : lines)
                   journal.recordSent(line);
               writer.waitUntilWritten(600000);
           }));
    report("journal_send_one_durable_ms",
           medianMs(runs, [&] {
               JournalWriter writer(
                   SqliteStore::writerStore(QDir(workDir).filePath(QStringLiteral("one%1").arg(run++))));
               Journal journal(clock, writer);
               for (int i = 0; i < 100; ++i) {
                   journal.recordSent(lines.at(i));
                   writer.waitUntilWritten(600000);
               }
           }) / 100);
    return 0;
}
