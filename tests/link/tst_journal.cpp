// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/journalcommand.h"
#include "app/mainwindow.h"
#include "files/journalview.h"
#include "form/journalbacklog.h"
#include "form/statuspanels.h"
#include "form1rig.h"
#include "journalreader.h"
#include "core/journal.h"
#include "core/journalentry.h"
#include "store/journalexport.h"
#include "store/journalwriter.h"
#include "store/sqlitestore.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeZone>

#include <csignal>
#include <sys/resource.h>

namespace {

const QDateTime kTime(QDate(2026, 12, 8), QTime(17, 20, 8));
constexpr int kWriteMs = 5000;

// Everything the store's files hold, as bytes: the database and its WAL.
QByteArray storeBytes(const SqliteStore& store)
{
    QByteArray all;
    for (const QString& path : store.files()) {
        QFile file(path);
        if (file.open(QIODevice::ReadOnly))
            all += file.readAll();
    }
    return all;
}

// Files of this process cannot grow past one byte while it lives, as on a full disk.
class DiskFull {
public:
    DiskFull()
    {
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &m_before);
        rlimit limit = m_before;
        limit.rlim_cur = 1;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~DiskFull() { setrlimit(RLIMIT_FSIZE, &m_before); }

private:
    rlimit m_before{};
};

} // namespace

class TstJournal : public QObject {
    Q_OBJECT
private slots:
    void init();
    void entries_data();
    void entries();
    void recordFields_data();
    void recordFields();
    void failures_data();
    void failures();
    void lostPastLimit();
    void viewer_data();
    void viewer();
    void pagesFromEitherEnd_data();
    void pagesFromEitherEnd();
    void exportForms_data();
    void exportForms();
    void mainWindow();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    FixedClock m_clock;
};

void TstJournal::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_clock.time = kTime;
}

// Writes to the port (or one event when writes is empty), the entries they
// give, and codes that must be found nowhere in the store.
void TstJournal::entries_data()
{
    QTest::addColumn<QString>("site");
    QTest::addColumn<QByteArrayList>("writes");
    QTest::addColumn<QString>("event");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<QStringList>("secrets");

    const auto row = [](const char* name, const QString& site, const QByteArrayList& writes,
                        const QString& event, const QStringList& expected, const QStringList& secrets = {}) {
        QTest::newRow(name) << site << writes << event << expected << secrets;
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
    row("site kept on one line", QStringLiteral(" Elm\n Court "), {"END\r\n"}, none,
        {QStringLiteral("Elm Court > END")});
    row("programming line masked", none, {"PGM7531\r\n"}, none, {QStringLiteral("- > PGM****")}, {"7531"});
    row("mask hides the length", none, {"PGM12345678\r\n", "PGM\r\n"}, none,
        {QStringLiteral("- > PGM****"), QStringLiteral("- > PGM****")}, {"12345678"});
    row("new master code masked", none, {"PARCMC 9876\r\n"}, none, {QStringLiteral("- > PARCMC ****")}, {"9876"});
    row("any case, after blanks, in a file's lines", none, {" pgm7512\r\nParCmc  5588\r\n"}, none,
        {QStringLiteral("- >  pgm****"), QStringLiteral("- > ParCmc  ****")}, {"7512", "5588"});
    row("code in the write after its word", none, {"PGM", "1357\r\n", "PARDOT1 07\r\n"}, none,
        {QStringLiteral("- > PGM****"), QStringLiteral("- > ****"), QStringLiteral("- > PARDOT1 07")}, {"1357"});
    row("access code of a tenant line", none, {"TNTDIR:31TEL:5550301 CODE:3131 DOOR:1 NAME:ABE\r\n"}, none,
        {QStringLiteral("- > TNTDIR:31TEL:5550301 CODE:**** DOOR:1 NAME:ABE")}, {"3131"});
    row("access code, lower case", none, {"tntdir:32tel:5550302 code:3232 door:1\r\n"}, none,
        {QStringLiteral("- > tntdir:32tel:5550302 code:**** door:1")}, {"3232"});
    row("access code, blanks around the colon", none, {"TNTDIR:33 CODE : 3333 DOOR:1\r\n"}, none,
        {QStringLiteral("- > TNTDIR:33 CODE : **** DOOR:1")}, {"3333"});
    row("access code split inside the code", none, {"TNTDIR:34 CODE:34", "43 DOOR:1\r\n"}, none,
        {QStringLiteral("- > TNTDIR:34 CODE:****"), QStringLiteral("- > **** DOOR:1")}, {"3443"});
    row("access code split inside the word", none, {"TNTDIR:35 CO", "DE:3553 DOOR:1\r\n"}, none,
        {QStringLiteral("- > TNTDIR:35 CO"), QStringLiteral("- > DE:**** DOOR:1")}, {"3553"});
    row("code word outside a tenant line kept", none, {"PARMSG CODE:12\r\n"}, none,
        {QStringLiteral("- > PARMSG CODE:12")});
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
    QFETCH(QStringList, secrets);

    JournalWriter writer(SqliteStore::writerStore(m_dir->path()));
    Journal journal(m_clock, writer);
    journal.setSite(site);
    for (const QByteArray& bytes : writes)
        journal.recordSent(bytes);
    if (!event.isEmpty())
        journal.recordEvent(event);

    QVERIFY(writer.waitUntilWritten(kWriteMs));
    QCOMPARE(storedLines(m_dir->path()), expected);
    SqliteStore store(m_dir->path());
    QCOMPARE(store.open().outcome, SqliteStore::Opening::Outcome::Opened);
    for (const QString& secret : secrets) {
        QVERIFY2(!storeBytes(store).contains(secret.toUtf8()), qPrintable(secret));
        JournalFilter search;
        search.search = secret;
        QCOMPARE(store.countEntries(search), 0);   // nor in the search index
        QBuffer csv;
        csv.open(QIODevice::WriteOnly);
        QVERIFY(JournalExport::write(store, {}, JournalExport::Format::Csv, csv));
        QVERIFY(!csv.data().contains(secret.toUtf8()));   // nor in an export
    }
}

// Each entry's time in UTC with the offset of its moment: the hour the
// clocks go back in Berlin comes twice, once at +02:00, once at +01:00.
void TstJournal::recordFields_data()
{
    QTest::addColumn<QDateTime>("time");
    QTest::addColumn<QString>("shown");
    const QTimeZone berlin("Europe/Berlin");
    const QDateTime firstHalfPast = QDateTime(QDate(2026, 10, 25), QTime(0, 30), Qt::UTC).toTimeZone(berlin);
    QTest::newRow("before the clocks go back") << firstHalfPast << QStringLiteral("2026-10-25T02:30:00+02:00");
    QTest::newRow("the same hour again") << firstHalfPast.addSecs(3600) << QStringLiteral("2026-10-25T02:30:00+01:00");
    QTest::newRow("west of UTC, past the half hour")
        << QDateTime(kTime.date(), kTime.time(), Qt::OffsetFromUTC, -(3 * 3600 + 30 * 60))
        << QStringLiteral("2026-12-08T17:20:08-03:30");
    QTest::newRow("UTC") << QDateTime(kTime.date(), kTime.time(), Qt::UTC) << QStringLiteral("2026-12-08T17:20:08+00:00");
}

void TstJournal::recordFields()
{
    QFETCH(QDateTime, time);
    QFETCH(QString, shown);
    if (!QTimeZone("Europe/Berlin").isValid())
        QSKIP("no time zone data (tzdata)");
    JournalWriter writer(SqliteStore::writerStore(m_dir->path()));
    Journal journal(m_clock, writer);
    m_clock.time = time.addSecs(-1);
    journal.recordEvent(JournalEntry::closed());
    m_clock.time = time;
    journal.recordSent("END\r\n");
    QVERIFY(writer.waitUntilWritten(kWriteMs));

    const QList<JournalRecord> stored = storedEntries(m_dir->path());
    QCOMPARE(stored.size(), 2);
    const JournalRecord& entry = stored.last();
    QCOMPARE(entry.utcMs, time.toMSecsSinceEpoch());
    QCOMPARE(entry.timeText(), shown);
    QVERIFY(stored.first().utcMs < entry.utcMs);
    QCOMPARE(entry.operatorName, Journal::loginName());
    QVERIFY(!entry.operatorName.isEmpty());
    QCOMPARE(entry.host, QSysInfo::machineHostName());
    QCOMPARE(entry.kind, JournalRecord::Kind::Sent);
    QCOMPARE(entry.line(), shown + u' ' + entry.operatorName + u'@' + entry.host + QStringLiteral(" - > END"));
}

// A store that cannot be written keeps the entries waiting, says why, and
// writes them all, in order, once it can.
void TstJournal::failures_data()
{
    QTest::addColumn<bool>("fullDisk");
    QTest::newRow("store folder is a file") << false;
    QTest::newRow("full disk") << true;
}

void TstJournal::failures()
{
    QFETCH(bool, fullDisk);
    const QString folder = m_dir->filePath(QStringLiteral("store"));
    JournalWriter writer(SqliteStore::writerStore(folder));
    QSignalSpy backlog(&writer, &JournalWriter::backlogChanged);
    Journal journal(m_clock, writer);
    journal.recordSent("FIRST\r\n");
    QVERIFY(writer.waitUntilWritten(kWriteMs));
    std::unique_ptr<DiskFull> full;
    if (fullDisk)
        full = std::make_unique<DiskFull>();
    else
        QVERIFY(QDir(folder).removeRecursively() && QFile(folder).open(QIODevice::WriteOnly));

    journal.recordSent("PARDOT1 07\r\n");
    journal.recordEvent(JournalEntry::closed());
    QTRY_VERIFY_WITH_TIMEOUT(!backlog.isEmpty() && backlog.last().at(0).toInt() == 2, kWriteMs);
    QVERIFY(!backlog.last().at(1).toString().isEmpty());
    QVERIFY(!writer.waitUntilWritten(100));

    full.reset();
    if (!fullDisk)
        QVERIFY(QFile::remove(folder));
    journal.recordSent("END\r\n");
    QVERIFY(writer.waitUntilWritten(kWriteMs));
    QTRY_COMPARE(backlog.last().at(0).toInt(), 0);
    QCOMPARE(backlog.last().at(1).toString(), QString());
    const QStringList kept = {QStringLiteral("- > PARDOT1 07"), QStringLiteral("- * port closed"),
                              QStringLiteral("- > END")};
    QCOMPARE(storedLines(folder), fullDisk ? QStringList{QStringLiteral("- > FIRST")} + kept : kept);
}

// Past the limit the newest entries are only counted, and the count is journalled.
void TstJournal::lostPastLimit()
{
    const QString folder = m_dir->filePath(QStringLiteral("store"));
    QVERIFY(QFile(folder).open(QIODevice::WriteOnly));
    JournalWriter writer(SqliteStore::writerStore(folder));
    Journal journal(m_clock, writer);
    for (int i = 0; i < JournalWriter::kMaxWaiting + 3; ++i)
        journal.recordEvent(QString::number(i));
    QCOMPARE(writer.waiting(), JournalWriter::kMaxWaiting + 3);
    QVERIFY(QFile::remove(folder));
    QVERIFY(writer.waitUntilWritten(60000));

    const QList<JournalRecord> stored = storedEntries(folder);
    QCOMPARE(stored.size(), JournalWriter::kMaxWaiting + 1);
    QCOMPARE(stored.at(JournalWriter::kMaxWaiting - 1).text, QString::number(JournalWriter::kMaxWaiting - 1));
    QCOMPARE(stored.last().text, QStringLiteral("3 entries lost while the journal could not be written"));
    QCOMPARE(stored.last().kind, JournalRecord::Kind::Event);
}

void TstJournal::viewer_data()
{
    QTest::addColumn<QString>("site");
    QTest::addColumn<QString>("operatorName");
    QTest::addColumn<QString>("since");
    QTest::addColumn<QString>("search");
    QTest::addColumn<QStringList>("shown");

    const QString all = JournalView::kAllSites;
    const QString anyone = JournalView::kAllOperators;
    const QStringList texts = {QStringLiteral("connected to port 1 (/dev/ttyS0)"), QStringLiteral("PARDOT1 07"),
                               QStringLiteral("PRIALL"), QStringLiteral("TNTDIR:31TEL:5550301 CODE:****"),
                               QStringLiteral("PARDOT2 05")};
    QTest::newRow("all, oldest first") << all << anyone << QString() << QString() << texts;
    QTest::newRow("one site") << QStringLiteral("Elm Court") << anyone << QString() << QString()
                              << texts.mid(0, 2);
    QTest::newRow("no site") << JournalView::kNoSite << anyone << QString() << QString()
                             << QStringList{texts.at(2)};
    QTest::newRow("a site named with a dash is not none")
        << QStringLiteral("Block B *") << anyone << QString() << QString() << QStringList{texts.at(3)};
    QTest::newRow("search ignores case") << all << anyone << QString() << QStringLiteral("pardot")
                                         << QStringList{texts.at(1), texts.at(4)};
    QTest::newRow("search of two characters") << all << anyone << QString() << QStringLiteral("t2")
                                              << QStringList{texts.at(4)};
    QTest::newRow("search inside a word") << all << anyone << QString() << QStringLiteral("5550")
                                          << QStringList{texts.at(3)};
    QTest::newRow("operator") << all << QStringLiteral("ann") << QString() << QString()
                              << QStringList{texts.at(4)};
    QTest::newRow("from a date") << all << anyone << QStringLiteral("2026-12-01") << QString()
                                 << texts.mid(2);
    QTest::newRow("not a date: all shown") << all << anyone << QStringLiteral("2026-13-01") << QString()
                                           << texts;
    QTest::newRow("site and search") << QStringLiteral("Oak Row") << anyone << QString()
                                     << QStringLiteral("PRIALL") << QStringList{};
}

void TstJournal::viewer()
{
    QFETCH(QString, site);
    QFETCH(QString, operatorName);
    QFETCH(QString, since);
    QFETCH(QString, search);
    QFETCH(QStringList, shown);

    SqliteStore store(m_dir->path());
    QCOMPARE(store.open().outcome, SqliteStore::Opening::Outcome::Opened);
    const auto entry = [](const QDateTime& time, const QString& who, const QString& site, const QString& text) {
        JournalRecord r = JournalRecord::at(time, JournalRecord::Kind::Sent, text);
        r.operatorName = who;
        r.host = QStringLiteral("pc");
        r.site = site;
        return r;
    };
    const QDateTime nov(QDate(2026, 11, 30), QTime(10, 0));
    const QDateTime dec(QDate(2026, 12, 1), QTime(8, 0));
    const QString tech = QStringLiteral("tech");
    QList<JournalRecord> entries = {
        entry(nov, tech, QStringLiteral("Elm Court"), QStringLiteral("connected to port 1 (/dev/ttyS0)")),
        entry(nov.addSecs(1), tech, QStringLiteral("Elm Court"), QStringLiteral("PARDOT1 07")),
        entry(dec, tech, QString(), QStringLiteral("PRIALL")),
        entry(dec.addSecs(2), tech, QStringLiteral("Block B *"), QStringLiteral("TNTDIR:31TEL:5550301 CODE:****")),
        entry(dec.addSecs(5), QStringLiteral("ann"), QStringLiteral("Oak Row"), QStringLiteral("PARDOT2 05"))};
    QVERIFY(store.appendEntries(entries));
    TestPlatform fakes;

    JournalView view(store, fakes.prompter, SqliteStore::writerStore(m_dir->path()));
    view.show();
    QCOMPARE(view.siteBox()->count(), 5);   // All sites, -, Block B *, Elm Court, Oak Row
    view.siteBox()->setCurrentText(site);
    view.operatorBox()->setCurrentText(operatorName);
    QTest::keyClicks(view.sinceField(), since);
    QTest::keyClicks(view.searchField(), search);
    QTest::keyClick(view.searchField(), Qt::Key_Return);
    QTRY_VERIFY(!view.model().counting());

    QStringList rows;
    for (int row = 0; row < view.model().rowCount(); ++row)
        rows.append(view.model().record(row)->text);
    QCOMPARE(rows, shown);
    QCOMPARE(view.findChild<QLabel*>(QStringLiteral("count"))->text(),
             QStringLiteral("%1 entries").arg(shown.size()));
    // Enter in Search goes to the list, never closes the viewer; the newest entry is chosen.
    QVERIFY(view.isVisible());
    QCOMPARE(view.focusWidget(), view.entries());
    QCOMPARE(view.details()->toPlainText(),
             shown.isEmpty() ? QString() : view.model().record(int(shown.size()) - 1)->line());

    // A long entry is cut in the list, whole below it.
    const QString longText = QStringLiteral("PARMSG ") + QString(5000, u'x');
    QList<JournalRecord> longEntry{entry(dec.addSecs(9), tech, QString(), longText)};
    QVERIFY(store.appendEntries(longEntry));
    view.siteBox()->setCurrentIndex(0);
    view.operatorBox()->setCurrentIndex(0);
    view.sinceField()->clear();
    view.searchField()->setText(QStringLiteral("xxx"));
    view.searchNow();
    QTRY_COMPARE(view.model().rowCount(), 1);
    QCOMPARE(view.model().index(0).data().toString().size(), longEntry.first().line().size() - 5000 + JournalModel::kShownLength - 7 + 1);
    QCOMPARE(view.details()->toPlainText(), longEntry.first().line());
}

// Rows far from the ends, near them, and past a page, read without the rows before them.
void TstJournal::pagesFromEitherEnd_data()
{
    QTest::addColumn<QString>("site");
    QTest::addColumn<QString>("search");
    QTest::newRow("whole journal") << QString() << QString();
    QTest::newRow("one site") << QStringLiteral("Even") << QString();
    QTest::newRow("found through the index") << QString() << QStringLiteral("even");
}

void TstJournal::pagesFromEitherEnd()
{
    QFETCH(QString, site);
    QFETCH(QString, search);
    SqliteStore store(m_dir->path());
    store.open();
    QList<JournalRecord> entries;
    for (int i = 0; i < 1001; ++i) {
        JournalRecord r = JournalRecord::at(kTime, JournalRecord::Kind::Event,
                                            QStringLiteral("%1 %2").arg(i % 2 ? "odd" : "even").arg(i));
        r.site = i % 2 ? QStringLiteral("Odd") : QStringLiteral("Even");
        entries << r;
    }
    QVERIFY(store.appendEntries(entries));
    JournalModel model(store);
    JournalFilter filter;
    if (!site.isEmpty())
        filter.site = site;
    filter.search = search;
    model.setFilter(filter);
    const int step = filter.passesAll() ? 1 : 2;
    QCOMPARE(model.rowCount(), filter.passesAll() ? 1001 : 501);
    for (int row : {model.rowCount() - 1, 0, model.rowCount() / 2, JournalModel::kPageRows, model.rowCount() - 2}) {
        const JournalRecord* r = model.record(row);
        QVERIFY(r);
        QCOMPARE(r->text.section(u' ', 1).toInt(), row * step);
    }
}

// velno --journal: the entries as text or CSV, narrowed as asked; dates local.
void TstJournal::exportForms_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("printed");
    const QByteArray elm = "2026-12-09T15:02:11+01:00 tech@workshop-pc Elm House > PARDOT1 07\n";
    const QByteArray none = "2026-12-09T15:02:12+01:00 tech@workshop-pc - * connected to port 1 (/dev/ttyS0)\n";
    const QByteArray ann = "2026-12-10T23:30:00-05:00 ann@laptop Oak Row > PARMSG \"Hi, there\"\n";
    QTest::newRow("all") << QStringList{} << elm + none + ann;
    QTest::newRow("one site") << QStringList{"--site", "Elm House"} << elm;
    QTest::newRow("no site") << QStringList{"--site=-"} << none;
    QTest::newRow("operator") << QStringList{"--operator", "ann"} << ann;
    QTest::newRow("one local day, both ends") << QStringList{"--since", "2026-12-11", "--until", "2026-12-11"} << ann;
    QTest::newRow("until a day") << QStringList{"--until", "2026-12-09"} << elm + none;
    QTest::newRow("CSV") << QStringList{"--csv", "--site", "Oak Row"}
                         << QByteArray("time,operator,host,site,kind,text\r\n"
                                       "2026-12-10T23:30:00-05:00,ann,laptop,Oak Row,sent,\"PARMSG \"\"Hi, there\"\"\"\r\n");
    QTest::newRow("CSV of an event, no site") << QStringList{"--csv", "--site", "-"}
                         << QByteArray("time,operator,host,site,kind,text\r\n"
                                       "2026-12-09T15:02:12+01:00,tech,workshop-pc,,event,connected to port 1 (/dev/ttyS0)\r\n");
}

void TstJournal::exportForms()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, printed);
    qputenv("TZ", "UTC");   // the dates are read in the computer's zone
    SqliteStore store(m_dir->path());
    QCOMPARE(store.open().outcome, SqliteStore::Opening::Outcome::Opened);
    const auto entry = [](const QDateTime& time, const char* who, const char* host, const char* site,
                          JournalRecord::Kind kind, const QString& text) {
        JournalRecord r = JournalRecord::at(time, kind, text);
        r.operatorName = QLatin1String(who);
        r.host = QLatin1String(host);
        r.site = QLatin1String(site);
        return r;
    };
    const QDateTime plusOne(QDate(2026, 12, 9), QTime(15, 2, 11), Qt::OffsetFromUTC, 3600);
    QList<JournalRecord> entries = {
        entry(plusOne, "tech", "workshop-pc", "Elm House", JournalRecord::Kind::Sent, QStringLiteral("PARDOT1 07")),
        entry(plusOne.addSecs(1), "tech", "workshop-pc", "", JournalRecord::Kind::Event,
              QStringLiteral("connected to port 1 (/dev/ttyS0)")),
        entry(QDateTime(QDate(2026, 12, 10), QTime(23, 30), Qt::OffsetFromUTC, -5 * 3600), "ann", "laptop",
              "Oak Row", JournalRecord::Kind::Sent, QStringLiteral("PARMSG \"Hi, there\""))};
    QVERIFY(store.appendEntries(entries));

    QByteArrayList argv{"velno", "--journal"};
    for (const QString& argument : arguments)
        argv << argument.toUtf8();
    std::vector<const char*> pointers;
    for (const QByteArray& a : argv)
        pointers.push_back(a.constData());
    const ProgramArguments read = readProgramArguments(int(pointers.size()), pointers.data());
    QCOMPARE(read.action, ProgramArguments::Action::ExportJournal);
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    QCOMPARE(printJournal(read.journal, m_dir->path(), out), 0);
    QCOMPARE(out.data(), printed);
    qunsetenv("TZ");
}

// The menu item after "&Setting" shows the journal; new entries appear in
// it; entries that cannot be written are shown waiting in the status bar,
// and closing then asks.
void TstJournal::mainWindow()
{
    Form1Rig rig;
    const QList<QAction*> menus = rig.window->menuBar()->actions();
    const qsizetype setting = menus.indexOf(rig.ui().Setting);
    QCOMPARE(menus.value(setting + 1)->text(), QStringLiteral("S&ites"));
    QCOMPARE(rig.ui().journal->text(), QStringLiteral("&Journal..."));
    Journal& journal = rig.window->journal();
    QCOMPARE(rig.window->store().path(), rig.fakes.dataDir.filePath(QStringLiteral("velno.sqlite")));
    journal.setSite(QStringLiteral("Elm Court"));
    journal.recordSent("PRIALL\r\n");
    QVERIFY(rig.window->journalWriter().waitUntilWritten(kWriteMs));

    rig.ui().journal->trigger();
    JournalView* view = rig.window->journalView();
    QVERIFY(view && view->isVisible());
    QCOMPARE(view->model().rowCount(), 1);
    journal.recordSent("END\r\n");
    QTRY_COMPARE(view->model().rowCount(), 2);   // appears while the viewer is open
    rig.ui().journal->trigger();
    QCOMPARE(rig.window->journalView(), view);

    auto full = std::make_unique<DiskFull>();
    journal.recordSent("END\r\n");
    JournalBacklog& backlog = rig.window->journalBacklog();
    QTRY_VERIFY(backlog.isVisible());
    QCOMPARE(backlog.text(), QStringLiteral("Journal: 1 waiting"));
    QVERIFY(backlog.accessibleName().startsWith(QStringLiteral("1 journal entry waits to be written: ")));
    QVERIFY(rig.ui().bar->panel(1) != backlog.text());

    rig.fakes.prompter.answer(MessageBox::Answer::Yes);   // wait
    QVERIFY(!rig.window->close());
    QVERIFY(rig.fakes.prompter.prompts().last().startsWith(QStringLiteral("1 journal entries are waiting")));
    full.reset();
    QTRY_VERIFY(!rig.window->isVisible());   // closed once written
    QVERIFY(!backlog.isVisible());
}

QTEST_MAIN(TstJournal)
#include "tst_journal.moc"
