// SPDX-License-Identifier: GPL-3.0-or-later
#include "programmodes.h"

#include "fakeservices.h"
#include "median.h"
#include "usagesnapshot.h"

#include "core/journal.h"
#include "files/journalview.h"
#include "scriptedprompter.h"
#include "store/journalwriter.h"
#include "store/sqlitestore.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QScrollBar>
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
