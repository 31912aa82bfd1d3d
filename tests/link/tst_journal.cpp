// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/journalcommand.h"
#include "app/mainwindow.h"
#include "core/journal.h"
#include "core/journalentry.h"
#include "files/journalview.h"
#include "form/journalbacklog.h"
#include "form/statuspanels.h"
#include "form1rig.h"
#include "journalreader.h"
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
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTableView>
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

// Entries "even 0", "odd 1", ... up to n - 1, at the sites Even and Odd.
void fillNumbered(SqliteStore& store, int from, int n)
{
    QList<JournalRecord> entries;
    for (int i = from; i < from + n; ++i) {
        JournalRecord r = JournalRecord::at(kTime, JournalRecord::Kind::Event,
                                            QStringLiteral("%1 %2").arg(i % 2 ? "odd" : "even").arg(i));
        r.site = i % 2 ? QStringLiteral("Odd") : QStringLiteral("Even");
        entries << r;
    }
    QVERIFY(store.appendEntries(entries));
}

// The number of the entry in a row, -1 for none.
int numberAt(const JournalModel& model, int row)
{
    const JournalRecord* r = model.record(row);
    return r ? r->text.section(u' ', 1).toInt() : -1;
}

int currentNumber(const JournalView& view)
{
    return numberAt(const_cast<JournalView&>(view).model(), view.entries()->currentIndex().row());
}

// The entry at the top of the list as it is shown, the first wholly in
// sight (at the bottom of its scroll bar the list shows the last row whole).
int topNumber(const JournalView& view)
{
    const QTableView* list = view.entries();
    int row = list->rowAt(0);
    if (row >= 0 && list->rowViewportPosition(row) < 0)
        ++row;
    return numberAt(const_cast<JournalView&>(view).model(), row);
}

// The scroll bar a row or a page up (negative) or down: the entries in
// sight move by as many, whether a page was read there or not.
bool scrollKeepsPlace(JournalView& view, QAbstractSlider::SliderAction action, int step)
{
    QScrollBar* bar = view.entries()->verticalScrollBar();
    const int value = bar->value();
    const int to = std::clamp(value
                                  + (action == QAbstractSlider::SliderPageStepAdd         ? bar->pageStep()
                                         : action == QAbstractSlider::SliderPageStepSub   ? -bar->pageStep()
                                         : action == QAbstractSlider::SliderSingleStepAdd ? 1
                                                                                          : -1),
                              bar->minimum(), bar->maximum());
    const int expected = topNumber(view) + (to - value) * step;
    bar->triggerAction(action);
    if (topNumber(view) == expected)
        return true;
    qWarning("top entry %d, expected %d; scrolled from %d to %d, now %d of %d; rows %d from %d",
             topNumber(view), expected, value, to, bar->value(), bar->maximum(), view.model().rowCount(),
             numberAt(view.model(), 0));
    return false;
}

}   // namespace

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
    void viewerEnds_data();
    void viewerEnds();
    void pageBoundary_data();
    void pageBoundary();
    void windowBound();
    void newEntriesWhileOpen();
    void exportForms_data();
    void exportForms();
    void mainWindow();
    void teamBacklog();

private:
    std::unique_ptr<JournalView> openView(SqliteStore& store, TestPlatform& fakes, const QString& narrowing);
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
    row("new master code masked", none, {"PARCMC 9876\r\n"}, none, {QStringLiteral("- > PARCMC ****")},
        {"9876"});
    row("any case, after blanks, in a file's lines", none, {" pgm7512\r\nParCmc  5588\r\n"}, none,
        {QStringLiteral("- >  pgm****"), QStringLiteral("- > ParCmc  ****")}, {"7512", "5588"});
    row("code in the write after its word", none, {"PGM", "1357\r\n", "PARDOT1 07\r\n"}, none,
        {QStringLiteral("- > PGM****"), QStringLiteral("- > ****"), QStringLiteral("- > PARDOT1 07")},
        {"1357"});
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
    QTest::newRow("before the clocks go back")
        << firstHalfPast << QStringLiteral("2026-10-25T02:30:00+02:00");
    QTest::newRow("the same hour again")
        << firstHalfPast.addSecs(3600) << QStringLiteral("2026-10-25T02:30:00+01:00");
    QTest::newRow("west of UTC, past the half hour")
        << QDateTime(kTime.date(), kTime.time(), Qt::OffsetFromUTC, -(3 * 3600 + 30 * 60))
        << QStringLiteral("2026-12-08T17:20:08-03:30");
    QTest::newRow("UTC") << QDateTime(kTime.date(), kTime.time(), Qt::UTC)
                         << QStringLiteral("2026-12-08T17:20:08+00:00");
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
    QCOMPARE(entry.line(),
             shown + u' ' + entry.operatorName + u'@' + entry.host + QStringLiteral(" - > END"));
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
    const QStringList texts = {QStringLiteral("connected to port 1 (/dev/ttyS0)"),
                               QStringLiteral("PARDOT1 07"), QStringLiteral("PRIALL"),
                               QStringLiteral("TNTDIR:31TEL:5550301 CODE:****"),
                               QStringLiteral("PARDOT2 05")};
    QTest::newRow("all, oldest first") << all << anyone << QString() << QString() << texts;
    QTest::newRow("one site") << QStringLiteral("Elm Court") << anyone << QString() << QString()
                              << texts.mid(0, 2);
    QTest::newRow("no site") << JournalView::kNoSite << anyone << QString() << QString()
                             << QStringList{texts.at(2)};
    QTest::newRow("a site named with a dash is not none")
        << QStringLiteral("Block B *") << anyone << QString() << QString() << QStringList{texts.at(3)};
    QTest::newRow("search ignores case")
        << all << anyone << QString() << QStringLiteral("pardot") << QStringList{texts.at(1), texts.at(4)};
    QTest::newRow("search of two characters")
        << all << anyone << QString() << QStringLiteral("t2") << QStringList{texts.at(4)};
    QTest::newRow("search inside a word")
        << all << anyone << QString() << QStringLiteral("5550") << QStringList{texts.at(3)};
    QTest::newRow("operator") << all << QStringLiteral("ann") << QString() << QString()
                              << QStringList{texts.at(4)};
    QTest::newRow("from a date") << all << anyone << QStringLiteral("2026-12-01") << QString()
                                 << texts.mid(2);
    QTest::newRow("not a date: all shown")
        << all << anyone << QStringLiteral("2026-13-01") << QString() << texts;
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
    const auto entry = [](const QDateTime& time, const QString& who, const QString& site,
                          const QString& text) {
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
        entry(dec.addSecs(2), tech, QStringLiteral("Block B *"),
              QStringLiteral("TNTDIR:31TEL:5550301 CODE:****")),
        entry(dec.addSecs(5), QStringLiteral("ann"), QStringLiteral("Oak Row"),
              QStringLiteral("PARDOT2 05"))};
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
    QCOMPARE(view.model().index(0).data().toString().size(),
             longEntry.first().line().size() - 5000 + JournalModel::kShownLength - 7 + 1);
    QCOMPARE(view.details()->toPlainText(), longEntry.first().line());
}

// Pages from either end and from the ids at the window's ends, each one query.
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
    fillNumbered(store, 0, 1001);
    JournalModel model(store);
    JournalFilter filter;
    if (!site.isEmpty())
        filter.site = site;
    filter.search = search;
    model.setFilter(filter);
    const int step = filter.passesAll() ? 1 : 2;
    const int last = 1000;
    QCOMPARE(model.count(), filter.passesAll() ? 1001 : 501);
    QCOMPARE(model.rowCount(), JournalModel::kPageRows);   // the newest page
    QVERIFY(model.atNewest() && !model.atOldest());
    QCOMPARE(numberAt(model, model.rowCount() - 1), last);
    QCOMPARE(numberAt(model, 0), last - (JournalModel::kPageRows - 1) * step);

    QCOMPARE(model.readOlder(), JournalModel::kPageRows);
    QCOMPARE(model.rowCount(), 2 * JournalModel::kPageRows);
    QCOMPARE(numberAt(model, 0), last - (2 * JournalModel::kPageRows - 1) * step);
    for (int row = 1; row < model.rowCount(); ++row)
        QCOMPARE(numberAt(model, row), numberAt(model, row - 1) + step);

    model.showOldest();
    QCOMPARE(model.rowCount(), JournalModel::kPageRows);
    QVERIFY(model.atOldest() && !model.atNewest());
    QCOMPARE(numberAt(model, 0), 0);
    QCOMPARE(model.readNewer(), 0);   // added below: nothing moves
    QCOMPARE(numberAt(model, JournalModel::kPageRows), JournalModel::kPageRows * step);
    while (!model.atNewest())
        model.readNewer();
    QCOMPARE(numberAt(model, model.rowCount() - 1), last);
    QCOMPARE(model.rowCount(), model.count());   // all of them, under the bound
}

std::unique_ptr<JournalView> TstJournal::openView(SqliteStore& store, TestPlatform& fakes,
                                                  const QString& narrowing)
{
    auto view = std::make_unique<JournalView>(store, fakes.prompter, SqliteStore::writerStore(m_dir->path()));
    view->show();
    if (narrowing == QLatin1String("site"))
        view->siteBox()->setCurrentText(QStringLiteral("Even"));
    else if (narrowing == QLatin1String("search"))
        view->searchField()->setText(QStringLiteral("EVEN"));
    view->searchNow();
    if (!QTest::qWaitFor([&] { return !view->model().reading() && !view->model().counting(); }, 20000))
        return nullptr;
    return view;
}

// Ctrl+Home and Ctrl+End reach the ends of all the entries that pass, past
// the bound of the window; the count is said beneath the list.
void TstJournal::viewerEnds_data()
{
    QTest::addColumn<QString>("narrowing");
    QTest::addColumn<int>("step");
    QTest::newRow("whole journal") << QString() << 1;
    QTest::newRow("one site") << QStringLiteral("site") << 2;
    QTest::newRow("search") << QStringLiteral("search") << 2;
}

void TstJournal::viewerEnds()
{
    QFETCH(QString, narrowing);
    QFETCH(int, step);
    SqliteStore store(m_dir->path());
    store.open();
    const int entries = 2 * JournalModel::kMaxRows + 1001;
    fillNumbered(store, 0, entries);
    TestPlatform fakes;
    const std::unique_ptr<JournalView> view = openView(store, fakes, narrowing);
    QVERIFY(view);
    const int passing = (entries + step - 1) / step;
    QVERIFY(passing > JournalModel::kMaxRows);
    const int newest = (passing - 1) * step;
    const QLabel* count = view->findChild<QLabel*>(QStringLiteral("count"));
    QCOMPARE(count->text(), QStringLiteral("%1 entries").arg(passing));
    QCOMPARE(view->model().rowCount(), JournalModel::kPageRows);
    QCOMPARE(currentNumber(*view), newest);

    QTest::keyClick(view->entries(), Qt::Key_Home, Qt::ControlModifier);
    QCOMPARE(currentNumber(*view), 0);
    QCOMPARE(view->entries()->currentIndex().row(), 0);
    QCOMPARE(topNumber(*view), 0);
    QVERIFY(view->model().atOldest());
    QVERIFY(view->details()->toPlainText().endsWith(QStringLiteral("even 0")));
    QCOMPARE(count->text(), QStringLiteral("%1 entries").arg(passing));

    QTest::keyClick(view->entries(), Qt::Key_End, Qt::ControlModifier);
    QCOMPARE(currentNumber(*view), newest);
    QCOMPARE(view->entries()->currentIndex().row(), view->model().rowCount() - 1);
    QVERIFY(view->model().atNewest());
    QTableView* list = view->entries();
    QVERIFY(list->visualRect(list->currentIndex()).intersects(list->viewport()->rect()));
    QVERIFY(fakes.prompter.prompts().isEmpty());
}

// Moving past the top or the bottom of the window reads the next page; the
// same entries stay in sight, and the next key goes to the next entry.
void TstJournal::pageBoundary_data()
{
    QTest::addColumn<QString>("narrowing");
    QTest::addColumn<int>("step");
    QTest::newRow("whole journal") << QString() << 1;
    QTest::newRow("search") << QStringLiteral("search") << 2;
}

void TstJournal::pageBoundary()
{
    QFETCH(QString, narrowing);
    QFETCH(int, step);
    SqliteStore store(m_dir->path());
    store.open();
    fillNumbered(store, 0, 2001);
    TestPlatform fakes;
    const std::unique_ptr<JournalView> view = openView(store, fakes, narrowing);
    QVERIFY(view);
    QTableView* list = view->entries();
    JournalModel& model = view->model();
    const int newest = 2000;

    // Up, a row at a time, across the top of the window.
    list->setCurrentIndex(model.index(1));
    const int second = currentNumber(*view);
    QCOMPARE(second, newest - (JournalModel::kPageRows - 2) * step);
    QTest::keyClick(list, Qt::Key_Up);   // to the first row: the page above is read
    QCOMPARE(model.rowCount(), 2 * JournalModel::kPageRows);
    QCOMPARE(currentNumber(*view), second - step);
    QCOMPARE(list->currentIndex().row(), JournalModel::kPageRows);
    QCOMPARE(topNumber(*view), second - step);   // still at the top of the list
    QTest::keyClick(list, Qt::Key_Up);
    QCOMPARE(currentNumber(*view), second - 2 * step);

    // The scroll bar a row at a time to the top and past it.
    while (model.rowCount() == 2 * JournalModel::kPageRows)
        QVERIFY(scrollKeepsPlace(*view, QAbstractSlider::SliderSingleStepSub, step));
    QCOMPARE(model.rowCount(), 3 * JournalModel::kPageRows);
    QVERIFY(scrollKeepsPlace(*view, QAbstractSlider::SliderSingleStepSub, step));   // a row up again

    // Down across the bottom of a window that starts at the oldest.
    QTest::keyClick(list, Qt::Key_Home, Qt::ControlModifier);
    QCOMPARE(model.rowCount(), JournalModel::kPageRows);
    list->setCurrentIndex(model.index(JournalModel::kPageRows - 2));
    const int before = currentNumber(*view);
    QTest::keyClick(list, Qt::Key_Down);   // to the last row: the page below is read
    QCOMPARE(model.rowCount(), 2 * JournalModel::kPageRows);
    QCOMPARE(currentNumber(*view), before + step);
    QVERIFY(list->visualRect(list->currentIndex()).intersects(list->viewport()->rect()));
    QTest::keyClick(list, Qt::Key_Down);
    QCOMPARE(currentNumber(*view), before + 2 * step);
    QCOMPARE(list->currentIndex().row(), JournalModel::kPageRows);
    // The scroll bar a row at a time to the bottom and past it.
    while (model.rowCount() == 2 * JournalModel::kPageRows)
        QVERIFY(scrollKeepsPlace(*view, QAbstractSlider::SliderSingleStepAdd, step));
    QCOMPARE(model.rowCount(), 3 * JournalModel::kPageRows);
    QVERIFY(scrollKeepsPlace(*view, QAbstractSlider::SliderSingleStepAdd, step));
    QVERIFY(fakes.prompter.prompts().isEmpty());
}

// Scrolled through from one end to the other, the window never holds more
// than its bound; rows dropped above keep the entries in sight where they were.
void TstJournal::windowBound()
{
    SqliteStore store(m_dir->path());
    store.open();
    const int entries = 2 * JournalModel::kMaxRows + 1001;
    fillNumbered(store, 0, entries);
    TestPlatform fakes;
    const std::unique_ptr<JournalView> view = openView(store, fakes, QStringLiteral("search"));
    QVERIFY(view);
    JournalModel& model = view->model();
    QScrollBar* bar = view->entries()->verticalScrollBar();
    const int newest = entries - 1;

    int moves = 0;
    while (!(model.atOldest() && bar->value() == bar->minimum()) && moves++ < entries) {
        QVERIFY(scrollKeepsPlace(*view, QAbstractSlider::SliderPageStepSub, 2));
        QVERIFY(model.rowCount() <= JournalModel::kMaxRows);
    }
    QCOMPARE(model.rowCount(), JournalModel::kMaxRows);
    QVERIFY(!model.atNewest());
    QCOMPARE(numberAt(model, 0), 0);
    QCOMPARE(topNumber(*view), 0);
    for (int row = 1; row < model.rowCount(); ++row)
        QCOMPARE(numberAt(model, row), numberAt(model, row - 1) + 2);

    while (!(model.atNewest() && bar->value() == bar->maximum()) && moves++ < 2 * entries) {
        QVERIFY(scrollKeepsPlace(*view, QAbstractSlider::SliderPageStepAdd, 2));
        QVERIFY(model.rowCount() <= JournalModel::kMaxRows);
    }
    QVERIFY(!model.atOldest());
    QCOMPARE(numberAt(model, model.rowCount() - 1), newest);
    QCOMPARE(model.rowCount(), JournalModel::kMaxRows);
}

// New entries come at the bottom while the newest is in the window, the
// newest stays chosen, and they are counted; away from the newest they are
// only counted, and Ctrl+End finds them.
void TstJournal::newEntriesWhileOpen()
{
    SqliteStore store(m_dir->path());
    store.open();
    fillNumbered(store, 0, 1001);
    TestPlatform fakes;
    const std::unique_ptr<JournalView> view = openView(store, fakes, QStringLiteral("search"));
    QVERIFY(view);
    JournalModel& model = view->model();
    QLabel* count = view->findChild<QLabel*>(QStringLiteral("count"));
    QCOMPARE(count->text(), QStringLiteral("501 entries"));

    fillNumbered(store, 1001, 4);   // 1002 and 1004 pass
    view->refresh();
    QCOMPARE(model.rowCount(), JournalModel::kPageRows + 2);
    QCOMPARE(currentNumber(*view), 1004);
    QVERIFY(view->details()->toPlainText().endsWith(QStringLiteral("even 1004")));
    QTRY_COMPARE(count->text(), QStringLiteral("503 entries"));

    fillNumbered(store, 1005, 1);   // none pass: nothing read again
    view->refresh();
    QCOMPARE(model.rowCount(), JournalModel::kPageRows + 2);
    QVERIFY(!model.counting());

    QTest::keyClick(view->entries(), Qt::Key_Home, Qt::ControlModifier);
    fillNumbered(store, 1006, 2);   // 1006 passes
    view->refresh();
    QCOMPARE(numberAt(model, model.rowCount() - 1), 2 * (JournalModel::kPageRows - 1));
    QCOMPARE(currentNumber(*view), 0);
    QTRY_COMPARE(count->text(), QStringLiteral("504 entries"));
    QTest::keyClick(view->entries(), Qt::Key_End, Qt::ControlModifier);
    QCOMPARE(currentNumber(*view), 1006);
}

// velno --journal: the entries as text or CSV, narrowed as asked; dates local.
void TstJournal::exportForms_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("printed");
    const QByteArray elm = "2026-12-09T15:02:11+01:00 tech@workshop-pc Elm House > PARDOT1 07\n";
    const QByteArray none =
        "2026-12-09T15:02:12+01:00 tech@workshop-pc - * connected to port 1 (/dev/ttyS0)\n";
    const QByteArray ann = "2026-12-10T23:30:00-05:00 ann@laptop Oak Row > PARMSG \"Hi, there\"\n";
    QTest::newRow("all") << QStringList{} << elm + none + ann;
    QTest::newRow("one site") << QStringList{"--site", "Elm House"} << elm;
    QTest::newRow("no site") << QStringList{"--site=-"} << none;
    QTest::newRow("operator") << QStringList{"--operator", "ann"} << ann;
    QTest::newRow("one local day, both ends")
        << QStringList{"--since", "2026-12-11", "--until", "2026-12-11"} << ann;
    QTest::newRow("until a day") << QStringList{"--until", "2026-12-09"} << elm + none;
    QTest::newRow("CSV")
        << QStringList{"--csv", "--site", "Oak Row"}
        << QByteArray("time,operator,host,site,kind,text\r\n"
                      "2026-12-10T23:30:00-05:00,ann,laptop,Oak Row,sent,\"PARMSG \"\"Hi, there\"\"\"\r\n");
    QTest::newRow("CSV of an event, no site")
        << QStringList{"--csv", "--site", "-"}
        << QByteArray(
               "time,operator,host,site,kind,text\r\n"
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
        entry(plusOne, "tech", "workshop-pc", "Elm House", JournalRecord::Kind::Sent,
              QStringLiteral("PARDOT1 07")),
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
    QCOMPARE(printJournal(read.journal, m_dir->path(), QString(), out), 0);
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

// Entries to ship are shown at once when the team's server cannot take
// them, otherwise only once they have waited a while: shipping as usual
// never flickers in the status bar.
void TstJournal::teamBacklog()
{
    constexpr int kMsPerSecond = 20;
    QWidget bar;
    JournalBacklog backlog(&bar, kMsPerSecond);
    const int quietMs = JournalBacklog::kShipQuietSeconds * kMsPerSecond;

    backlog.showShipping(5, QString());
    QVERIFY(backlog.isHidden());
    QTest::qWait(quietMs / 2);
    backlog.showShipping(0, QString());   // shipped in time
    QTest::qWait(quietMs * 2);
    QVERIFY(backlog.isHidden());

    backlog.showShipping(3, QString());
    QVERIFY(backlog.isHidden());
    QTRY_VERIFY(!backlog.isHidden());
    QCOMPARE(backlog.text(), QStringLiteral("Team: 3 to ship"));
    QCOMPARE(backlog.toolTip(),
             QStringLiteral("3 journal entries wait to be shipped to the team: being shipped"));
    backlog.showShipping(0, QString());
    QVERIFY(backlog.isHidden());

    const QString reason = QStringLiteral("The team database velno on db:5432 cannot be reached: timeout");
    backlog.showShipping(1, reason);
    QVERIFY(!backlog.isHidden());
    QCOMPARE(backlog.accessibleName(),
             QStringLiteral("1 journal entry waits to be shipped to the team: ") + reason);
    backlog.showBacklog(2, QStringLiteral("disk full"));
    QVERIFY2(backlog.text().contains(QStringLiteral("Journal: 2 waiting"))
                 && backlog.text().contains(QStringLiteral("Team: 1 to ship")),
             qPrintable(backlog.text()));
    QVERIFY(backlog.toolTip().contains(reason) && backlog.toolTip().contains(QStringLiteral("disk full")));
    backlog.showShipping(0, QString());
    QCOMPARE(backlog.text(), QStringLiteral("Journal: 2 waiting"));
    backlog.showBacklog(0, QString());
    QVERIFY(backlog.isHidden());
}

QTEST_MAIN(TstJournal)
#include "tst_journal.moc"
