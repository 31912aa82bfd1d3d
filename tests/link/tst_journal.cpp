// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/journalview.h"
#include "form/statuspanels.h"
#include "form1rig.h"
#include "link/journal.h"
#include "link/journalentry.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QDateTime kTime(QDate(2026, 12, 8), QTime(17, 20, 8));
const QString kStamp = QStringLiteral("2026-12-08T17:20:08 ");

QStringList linesOf(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
}

QStringList stamped(const QStringList& entries)
{
    QStringList lines;
    for (const QString& entry : entries)
        lines.append(kStamp + entry);
    return lines;
}

} // namespace

class TstJournal : public QObject {
    Q_OBJECT
private slots:
    void init();
    void entries_data();
    void entries();
    void monthFiles();
    void failures_data();
    void failures();
    void viewer_data();
    void viewer();
    void mainWindow();

private:
    QString monthFile() const { return m_dir->filePath(QStringLiteral("2026-12.log")); }

    std::unique_ptr<QTemporaryDir> m_dir;
    FixedClock m_clock;
};

void TstJournal::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_clock.time = kTime;
}

// Writes to the port (or one event when writes is empty) and the entries
// they give, after the time.
void TstJournal::entries_data()
{
    QTest::addColumn<QString>("site");
    QTest::addColumn<QByteArrayList>("writes");
    QTest::addColumn<QString>("event");
    QTest::addColumn<QStringList>("expected");

    const auto row = [](const char* name, const QString& site, const QByteArrayList& writes,
                        const QString& event, const QStringList& expected) {
        QTest::newRow(name) << site << writes << event << expected;
    };
    const QString none;
    const QString elm = QStringLiteral("Elm Court");
    row("sent, no site", none, {"PARDOT1 07\r\n"}, none, {QStringLiteral("- > PARDOT1 07")});
    row("sent, site", elm, {"PARDOT1 07\r\n"}, none, {QStringLiteral("Elm Court > PARDOT1 07")});
    row("event, site", elm, {}, JournalEntry::connected(1, QStringLiteral("/dev/ttyS0")),
        {QStringLiteral("Elm Court * connected to port 1 (/dev/ttyS0)")});
    row("closed", none, {}, JournalEntry::closed(), {QStringLiteral("- * port closed")});
    row("line lost", none, {}, JournalEntry::lineLost(),
        {QStringLiteral("- * line lost (the device went away)")});
    row("named line error", none, {}, JournalEntry::lineError(1008),
        {QStringLiteral("- * line error 1008: Receive Buffer Overflow")});
    row("other line error", none, {}, JournalEntry::lineError(1234), {QStringLiteral("- * line error 1234")});
    row("8-bit characters", none, {"PARMSG \xE9t\xE9 \xFF\r\n"}, none, {QStringLiteral("- > PARMSG été ÿ")});
    row("control characters shown", none,
        {"A\x07"
         "B\x85\tC\r\n"},
        none, {QStringLiteral("- > A<07>B<85>\tC")});
    row("one entry per line of a write", none, {"A\r\nB\nC\rD"}, none,
        {QStringLiteral("- > A"), QStringLiteral("- > B"), QStringLiteral("- > C"), QStringLiteral("- > D")});
    row("an empty line", none, {"\r\n"}, none, {QStringLiteral("- > ")});
    row("site kept on one line and apart from the marks", QStringLiteral(" Elm\n > Court * 2 "), {"END\r\n"},
        none, {QStringLiteral("Elm>Court*2 > END")});
    row("programming line masked", none, {"PGM1234\r\n"}, none, {QStringLiteral("- > PGM****")});
    row("mask hides the length", none, {"PGM12345678\r\n", "PGM\r\n"}, none,
        {QStringLiteral("- > PGM****"), QStringLiteral("- > PGM****")});
    row("new master code masked", none, {"PARCMC 9876\r\n"}, none, {QStringLiteral("- > PARCMC ****")});
    row("any case, after blanks, in a file's lines", none, {" pgm12\r\nParCmc  55\r\n"}, none,
        {QStringLiteral("- >  pgm****"), QStringLiteral("- > ParCmc  ****")});
    row("code in the write after its word", none, {"PGM", "1234\r\n", "PARDOT1 07\r\n"}, none,
        {QStringLiteral("- > PGM****"), QStringLiteral("- > ****"), QStringLiteral("- > PARDOT1 07")});
    row("other words untouched", none, {"PARDTM 1234\r\n", "PARMSG", " PAROPN 1 \r\n", "ATDT5551234\r\n"},
        none,
        {QStringLiteral("- > PARDTM 1234"), QStringLiteral("- > PARMSG"), QStringLiteral("- >  PAROPN 1 "),
         QStringLiteral("- > ATDT5551234")});
}

void TstJournal::entries()
{
    QFETCH(QString, site);
    QFETCH(QByteArrayList, writes);
    QFETCH(QString, event);
    QFETCH(QStringList, expected);

    Journal journal(m_clock, m_dir->path());
    journal.setSite(site);
    for (const QByteArray& bytes : writes)
        journal.recordSent(bytes);
    if (!event.isEmpty())
        journal.recordEvent(event);

    // On disk as soon as it is recorded, the journal still open.
    QCOMPARE(linesOf(monthFile()), stamped(expected));
}

void TstJournal::monthFiles()
{
    Journal journal(m_clock, m_dir->filePath(QStringLiteral("new/journal")));
    m_clock.time = QDateTime(QDate(2026, 12, 31), QTime(23, 59, 59));
    journal.recordSent("END\r\n");
    m_clock.time = m_clock.time.addSecs(1);
    journal.recordEvent(JournalEntry::closed());
    journal.recordSent("END\r\n");

    QCOMPARE(linesOf(m_dir->filePath(QStringLiteral("new/journal/2026-12.log"))),
             QStringList{QStringLiteral("2026-12-31T23:59:59 - > END")});
    QCOMPARE(linesOf(m_dir->filePath(QStringLiteral("new/journal/2027-01.log"))),
             (QStringList{QStringLiteral("2027-01-01T00:00:00 - * port closed"),
                          QStringLiteral("2027-01-01T00:00:00 - > END")}));
}

// A journal that cannot be written says so once, and writes again once it can.
void TstJournal::failures_data()
{
    QTest::addColumn<bool>("fullDisk");
    QTest::newRow("journal folder is a file") << false;
    QTest::newRow("full disk") << true;
}

void TstJournal::failures()
{
    QFETCH(bool, fullDisk);
    if (fullDisk && !QFile::exists(QStringLiteral("/dev/full")))
        QSKIP("no /dev/full here");
    const QString folder = m_dir->filePath(QStringLiteral("journal"));
    const auto monthFile = [&] { return folder + u'/' + JournalEntry::monthFileName(m_clock.time); };
    const auto breakIt = [&] {
        return fullDisk ? QDir().mkpath(folder) && QFile::link(QStringLiteral("/dev/full"), monthFile())
                        : QDir(folder).removeRecursively() && QFile(folder).open(QIODevice::WriteOnly);
    };
    const auto mendIt = [&] { return QFile::remove(fullDisk ? monthFile() : folder); };
    Journal journal(m_clock, folder);
    QSignalSpy unavailable(&journal, &Journal::unavailable);

    QVERIFY(breakIt());
    journal.recordSent("PARDOT1 07\r\n");
    journal.recordEvent(JournalEntry::closed());
    QCOMPARE(unavailable.size(), 1);
    QVERIFY(!unavailable.first().first().toString().isEmpty());

    QVERIFY(mendIt());
    journal.recordSent("END\r\n");
    QCOMPARE(linesOf(monthFile()), stamped({QStringLiteral("- > END")}));
    QCOMPARE(unavailable.size(), 1);

    m_clock.time = m_clock.time.addMonths(1);   // the open file is left for the new month's
    QVERIFY(breakIt());
    journal.recordSent("END\r\n");
    QCOMPARE(unavailable.size(), 2);   // failed again after a good write: said again
}

void TstJournal::viewer_data()
{
    QTest::addColumn<QString>("site");
    QTest::addColumn<QString>("search");
    QTest::addColumn<QStringList>("shown");

    const QString nov1 = QStringLiteral("2026-11-30T10:00:00 Elm Court * connected to port 1 (/dev/ttyS0)");
    const QString nov2 = QStringLiteral("2026-11-30T10:00:01 Elm Court > PARDOT1 07");
    const QString dec1 = QStringLiteral("2026-12-01T08:00:00 - > PRIALL");
    const QString dec2 = QStringLiteral("2026-12-01T08:00:05 Oak Row > PARDOT2 05");
    const QString odd = QStringLiteral("not an entry pardot");
    QTest::newRow("all, oldest month first")
        << JournalView::kAllSites << QString() << QStringList{nov1, nov2, dec1, dec2, odd};
    QTest::newRow("one site") << QStringLiteral("Elm Court") << QString() << QStringList{nov1, nov2};
    QTest::newRow("no site") << QStringLiteral("-") << QString() << QStringList{dec1};
    QTest::newRow("search ignores case")
        << JournalView::kAllSites << QStringLiteral("pardot") << QStringList{nov2, dec2, odd};
    QTest::newRow("site and search") << QStringLiteral("Oak Row") << QStringLiteral("PARDOT")
                                     << QStringList{dec2};
    QTest::newRow("nothing found") << QStringLiteral("Oak Row") << QStringLiteral("PRIALL") << QStringList{};
}

void TstJournal::viewer()
{
    QFETCH(QString, site);
    QFETCH(QString, search);
    QFETCH(QStringList, shown);

    QFile november(m_dir->filePath(QStringLiteral("2026-11.log")));
    QFile december(m_dir->filePath(QStringLiteral("2026-12.log")));
    QVERIFY(november.open(QIODevice::WriteOnly) && december.open(QIODevice::WriteOnly));
    november.write("2026-11-30T10:00:00 Elm Court * connected to port 1 (/dev/ttyS0)\n"
                   "2026-11-30T10:00:01 Elm Court > PARDOT1 07\n");
    december.write("2026-12-01T08:00:00 - > PRIALL\n\n2026-12-01T08:00:05 Oak Row > PARDOT2 05\n"
                   "not an entry pardot\n");
    november.close();
    december.close();
    TestPlatform fakes;

    JournalView view(m_dir->path(), fakes.opener, fakes.prompter);
    QCOMPARE(view.siteBox()->count(), 4);   // All sites, -, Elm Court, Oak Row
    view.siteBox()->setCurrentText(site);
    QTest::keyClicks(view.searchField(), search);

    QStringList rows;
    for (int row = 0; row < view.model().rowCount(); ++row)
        rows.append(view.model().index(row).data().toString());
    QCOMPARE(rows, shown);
    QCOMPARE(view.findChild<QLabel*>(QStringLiteral("count"))->text(),
             QStringLiteral("%1 of 5 entries").arg(shown.size()));
    view.findChild<QPushButton*>(QStringLiteral("openFolder"))->click();
    QCOMPARE(fakes.opener.opened, QStringList{m_dir->path()});
}

// The menu item after "&Setting" shows the journal; a journal that cannot be
// written is told in the status bar.
void TstJournal::mainWindow()
{
    Form1Rig rig;
    const QList<QAction*> menus = rig.window->menuBar()->actions();
    const qsizetype setting = menus.indexOf(rig.ui().Setting);
    QCOMPARE(menus.value(setting + 1)->text(), QStringLiteral("S&ites"));
    QCOMPARE(rig.ui().journal->text(), QStringLiteral("&Journal..."));
    Journal& journal = rig.window->journal();
    QCOMPARE(journal.folder(), rig.fakes.journalDir.path());
    journal.setSite(QStringLiteral("Elm Court"));
    journal.recordSent("PRIALL\r\n");

    rig.ui().journal->trigger();
    JournalView* view = rig.window->journalView();
    QVERIFY(view && view->isVisible());
    QCOMPARE(view->model().rowCount(), 1);
    journal.recordSent("END\r\n");
    rig.ui().journal->trigger();   // the open one, read again
    QCOMPARE(rig.window->journalView(), view);
    QCOMPARE(view->model().rowCount(), 2);

    QVERIFY(QDir(journal.folder()).removeRecursively());
    QVERIFY(QFile(journal.folder()).open(QIODevice::WriteOnly));
    rig.fakes.clock.time = rig.fakes.clock.time.addMonths(1);   // a month whose file is not open yet
    journal.recordSent("END\r\n");
    QVERIFY(rig.ui().bar->panel(1).startsWith(QStringLiteral("Status: Journal not written: ")));
}

QTEST_MAIN(TstJournal)
#include "tst_journal.moc"
