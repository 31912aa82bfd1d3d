// SPDX-License-Identifier: GPL-3.0-or-later
#include "journalreader.h"
#include "store/journalcounter.h"
#include "store/journalwriter.h"
#include "store/sqlitestore.h"
#include "testfiles.h"
#include "unprivileged.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <cstring>
#include <functional>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

// The store on real SQLite files: its files' modes, a damaged database, a
// folder that cannot be written, and two running programs at once.
class TstStore : public QObject {
    Q_OBJECT
private slots:
    void privateFiles();
    void unwritableFolder();
    void damagedDatabase_data();
    void damagedDatabase();
    void damagedWhileWriting();
    void setAsideByAnotherConnection();
    void newerSchemaRefused();
    void newestFoundBeforeCounted();
    void twoProgramsAtOnce();
    void writeLockHeldByTheOther();
    void shippingMarks();
};

namespace {

constexpr int kEntriesEach = 1000;

int modeOf(const QString& path)
{
    struct stat st {};
    return stat(QFile::encodeName(path).constData(), &st) == 0 ? int(st.st_mode & 07777) : -1;
}

JournalRecord entry(const QString& text)
{
    JournalRecord r = JournalRecord::at(QDateTime::currentDateTime(), JournalRecord::Kind::Event, text);
    r.operatorName = QStringLiteral("tech");
    r.host = QStringLiteral("pc");
    return r;
}

// This test program as a second running copy: "write" appends entries and
// adds a site; "hold" keeps the write lock for a time.
QProcess* startCopy(const QStringList& arguments)
{
    auto* process = new QProcess;
    process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process->start(QCoreApplication::applicationFilePath(), arguments);
    return process;
}

int writeAsCopy(const QString& folder, const QString& tag, int count)
{
    JournalWriter writer(SqliteStore::writerStore(folder));
    SqliteStore store(folder);
    if (store.open().outcome != SqliteStore::Opening::Outcome::Opened) {
        std::fputs(qPrintable(store.lastError() + u'\n'), stderr);
        return 1;
    }
    for (int i = 0; i < count; ++i) {
        writer.append(entry(tag + QString::number(i)));
        if (i % 100 == 0) {
            Site site;
            site.name = tag + QString::number(i);
            if (store.addSite(site) != Store::Change::Done)
                return 1;
        }
    }
    return writer.waitUntilWritten(60000) ? 0 : 1;
}

int holdAsCopy(const QString& folder, int seconds)
{
    SqliteStore store(folder);
    store.open();
    if (!store.run(QStringLiteral("BEGIN IMMEDIATE")))
        return 1;
    std::fputs("held\n", stdout);
    std::fflush(stdout);
    QThread::sleep(seconds);
    return store.run(QStringLiteral("COMMIT")) ? 0 : 1;
}

}   // namespace

// Made 0700 and 0600 whatever the umask, and set so again on opening.
void TstStore::privateFiles()
{
    const Unprivileged user;
    QTemporaryDir dir;
    QVERIFY(user.give(dir.path(), 0755));
    const QString folder = dir.filePath(QStringLiteral("Velno"));
    const auto filesArePrivate = [&] {
        SqliteStore store(folder);
        if (store.open().outcome != SqliteStore::Opening::Outcome::Opened)
            return false;
        QList<JournalRecord> one{entry(QStringLiteral("x"))};
        if (!store.appendEntries(one))
            return false;
        bool privateFiles = modeOf(folder) == 0700;
        for (const QString& path : store.files())
            privateFiles = privateFiles && modeOf(path) == 0600;
        return privateFiles;
    };
    const int made = user.run([&] {
        umask(022);
        return filesArePrivate();
    });
    if (made == Unprivileged::kCannotDrop)
        QSKIP("cannot run as an unprivileged user here");
    QCOMPARE(made, 0);
    const int corrected = user.run([&] {
        chmod(QFile::encodeName(folder).constData(), 0755);
        chmod(QFile::encodeName(folder + QStringLiteral("/velno.sqlite")).constData(), 0644);
        return filesArePrivate();
    });
    QCOMPARE(corrected, 0);
}

// The journal waits with the reason; nothing is written anywhere else.
void TstStore::unwritableFolder()
{
    const Unprivileged user;
    QTemporaryDir dir;
    QVERIFY(user.give(dir.path(), 0555));
    const QString folder = dir.filePath(QStringLiteral("Velno"));
    const int result = user.run([&] {
        SqliteStore store(folder);
        const SqliteStore::Opening opening = store.open();
        JournalWriter writer(SqliteStore::writerStore(folder));
        writer.append(entry(QStringLiteral("waits")));
        return opening.outcome == SqliteStore::Opening::Outcome::Failed && !opening.reason.isEmpty()
            && !writer.waitUntilWritten(1000) && writer.waiting() == 1;
    });
    QVERIFY(chmod(QFile::encodeName(dir.path()).constData(), 0755) == 0);   // for the clean-up
    if (result == Unprivileged::kCannotDrop)
        QSKIP("cannot run as an unprivileged user here");
    QCOMPARE(result, 0);
    QVERIFY(!QFile::exists(folder));
}

// A damaged database is set aside with its -wal and -shm, never over an
// earlier one, and a new one is made.
void TstStore::damagedDatabase_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addRow("not a database")
        << QByteArray("These are not the droids you are looking for.").repeated(200);
    QTest::addRow("header kept, pages broken") << QByteArray();
}

void TstStore::damagedDatabase()
{
    QFETCH(QByteArray, content);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("velno.sqlite"));
    for (const QString& aside : {path + QStringLiteral(".damaged"), path + QStringLiteral(".damaged.2")}) {
        if (content.isEmpty()) {
            SqliteStore store(dir.path());
            QVERIFY(store.open().outcome != SqliteStore::Opening::Outcome::Failed);
            store.run(QStringLiteral("PRAGMA journal_mode = DELETE"));
        }
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadWrite));
        const QByteArray broken = content.isEmpty() ? file.read(100) + QByteArray(4000, '\xA5') : content;
        QVERIFY(file.resize(0) && file.write(broken) == broken.size());
        file.close();
        QFile wal(path + QStringLiteral("-wal"));
        QVERIFY(wal.open(QIODevice::WriteOnly) && wal.write("wal") == 3);
        wal.close();

        SqliteStore store(dir.path());
        const SqliteStore::Opening opening = store.open();
        QCOMPARE(opening.outcome, SqliteStore::Opening::Outcome::Renewed);
        QCOMPARE(opening.keptAs, aside);
        QCOMPARE(contentOf(aside), broken);
        QCOMPARE(contentOf(aside + QStringLiteral("-wal")), QByteArray("wal"));
        QList<JournalRecord> one{entry(QStringLiteral("after"))};
        QVERIFY(store.appendEntries(one));
    }
    QCOMPARE(storedLines(dir.path()), QStringList{QStringLiteral("- * after")});
}

// Damage that only a write finds: the writer keeps the database aside and
// writes into a new one.
void TstStore::damagedWhileWriting()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("velno.sqlite"));
    {
        SqliteStore store(dir.path());
        store.open();
        QList<JournalRecord> many;
        for (int i = 0; i < 2000; ++i)
            many << entry(QStringLiteral("before %1").arg(i));
        QVERIFY(store.appendEntries(many));
        QVERIFY(store.run(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)")));
    }
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite) && file.seek(4096));   // the tables' pages, the schema kept
    QVERIFY(file.write(QByteArray(4096 * 40, '\xA5')) == 4096 * 40);
    file.close();

    JournalWriter writer(SqliteStore::writerStore(dir.path()));
    QSignalSpy renewed(&writer, &JournalWriter::renewed);
    writer.append(entry(QStringLiteral("after")));
    QVERIFY(writer.waitUntilWritten(10000));
    QCOMPARE(renewed.size(), 1);
    QCOMPARE(renewed.first().first().toString(), path + QStringLiteral(".damaged"));
    QVERIFY(QFile::exists(path + QStringLiteral(".damaged")));
    QCOMPARE(storedLines(dir.path()), QStringList{QStringLiteral("- * after")});
}

// The window's connection sets the database aside while the writer's is
// open: the writer goes on with the new one, both keep what they write
// there, and the one set aside is left as it was.
void TstStore::setAsideByAnotherConnection()
{
    QTemporaryDir dir;
    SqliteStore window(dir.path());
    QCOMPARE(window.open().outcome, SqliteStore::Opening::Outcome::Opened);
    JournalWriter writer(SqliteStore::writerStore(dir.path()));
    writer.append(entry(QStringLiteral("before")));
    QVERIFY(writer.waitUntilWritten(10000));

    const QString keptAs = window.renew();
    QCOMPARE(keptAs, window.path() + QStringLiteral(".damaged"));
    writer.append(entry(QStringLiteral("after")));
    QVERIFY(writer.waitUntilWritten(10000));
    Site mill;
    mill.name = QStringLiteral("Mill");
    mill.port = 1;
    QCOMPARE(window.addSite(mill), Store::Change::Done);

    QCOMPARE(storedLines(dir.path()), QStringList{QStringLiteral("- * after")});
    SqliteStore other(dir.path());
    other.open();
    QList<Site> sites;
    QVERIFY(other.readSites(&sites));
    QCOMPARE(sites.size(), 1);
    QTemporaryDir aside;
    for (const QString& suffix : {QString(), QStringLiteral("-wal"), QStringLiteral("-shm")})
        QFile::copy(keptAs + suffix, aside.filePath(SqliteStore::kFileName + suffix));
    QCOMPARE(storedLines(aside.path()), QStringList{QStringLiteral("- * before")});
}

void TstStore::newerSchemaRefused()
{
    QTemporaryDir dir;
    {
        SqliteStore store(dir.path());
        QCOMPARE(store.open().outcome, SqliteStore::Opening::Outcome::Opened);
        QVERIFY(store.run(QStringLiteral("PRAGMA user_version = 999")));
    }
    SqliteStore store(dir.path());
    const SqliteStore::Opening opening = store.open();
    QCOMPARE(opening.outcome, SqliteStore::Opening::Outcome::Failed);
    QVERIFY(opening.reason.contains(QStringLiteral("newer version")));
    QVERIFY(QFile::exists(dir.filePath(QStringLiteral("velno.sqlite"))));   // left as it is
}

// A search's newest finds come first, oldest first among them, then the count of all.
void TstStore::newestFoundBeforeCounted()
{
    QTemporaryDir dir;
    SqliteStore store(dir.path());
    store.open();
    QList<JournalRecord> entries;
    for (int i = 0; i < 1001; ++i)
        entries << entry(QStringLiteral("%1 %2").arg(i % 2 ? "odd" : "even").arg(i));
    QVERIFY(store.appendEntries(entries));

    JournalCounter counter(SqliteStore::writerStore(dir.path()));
    QList<QString> answers;
    connect(&counter, &JournalCounter::newestRead, this, [&](int, const QList<JournalRecord>& newest) {
        answers << newest.first().text + u'-' + newest.last().text + u' ' + QString::number(newest.size());
    });
    connect(&counter, &JournalCounter::counted, this,
            [&](int, qint64 count, const QString&) { answers << QString::number(count); });
    JournalFilter even;
    even.search = QStringLiteral("EVEN");
    counter.request(even, true);
    QTRY_COMPARE(answers.size(), 2);
    QCOMPARE(answers, (QList<QString>{QStringLiteral("even 602-even 1000 200"), QStringLiteral("501")}));
}

// Two programs write at once into a new store: no entry and no site lost,
// each program's entries in its own order.
void TstStore::twoProgramsAtOnce()
{
    QTemporaryDir dir;
    std::unique_ptr<QProcess> a(startCopy({QStringLiteral("write"), dir.path(), QStringLiteral("a")}));
    std::unique_ptr<QProcess> b(startCopy({QStringLiteral("write"), dir.path(), QStringLiteral("b")}));
    QVERIFY(a->waitForFinished(120000) && b->waitForFinished(120000));
    QCOMPARE(a->exitCode(), 0);
    QCOMPARE(b->exitCode(), 0);

    QStringList fromA;
    QStringList fromB;
    for (const JournalRecord& r : storedEntries(dir.path()))
        (r.text.startsWith(u'a') ? fromA : fromB) << r.text;
    QCOMPARE(fromA.size(), kEntriesEach);
    QCOMPARE(fromB.size(), kEntriesEach);
    QCOMPARE(fromA.first(), QStringLiteral("a0"));
    QCOMPARE(fromA.last(), QStringLiteral("a999"));
    SqliteStore store(dir.path());
    store.open();
    QList<Site> sites;
    QVERIFY(store.readSites(&sites));
    QCOMPARE(sites.size(), 2 * kEntriesEach / 100);
}

// While the other program holds the write lock for 10 s, entries made here
// at the pace of a file send are taken at once and written once it lets go.
void TstStore::writeLockHeldByTheOther()
{
    QTemporaryDir dir;
    {
        SqliteStore store(dir.path());
        store.open();
    }
    std::unique_ptr<QProcess> holder(startCopy({QStringLiteral("hold"), dir.path(), QStringLiteral("10")}));
    QVERIFY(holder->waitForReadyRead(10000));
    QCOMPARE(holder->readLine(), QByteArray("held\n"));

    JournalWriter writer(SqliteStore::writerStore(dir.path()));
    QSignalSpy backlog(&writer, &JournalWriter::backlogChanged);
    qint64 longestMs = 0;
    for (int i = 0; i < 100; ++i) {   // a line each 100 ms, as a paced send writes
        QElapsedTimer append;
        append.start();
        writer.append(entry(QString::number(i)));
        longestMs = std::max(longestMs, append.elapsed());
        QTest::qWait(100);
    }
    QVERIFY2(longestMs < 1000, qPrintable(QString::number(longestMs)));   // never held up by the lock
    QVERIFY(!backlog.isEmpty());   // the wait was shown
    QVERIFY(holder->state() == QProcess::NotRunning || holder->waitForFinished(30000));
    QCOMPARE(holder->exitCode(), 0);
    QVERIFY(writer.waitUntilWritten(10000));
    QStringList texts;
    for (const JournalRecord& r : storedEntries(dir.path()))
        texts << r.text;
    QStringList expected;
    for (int i = 0; i < 100; ++i)
        expected << QString::number(i);
    QCOMPARE(texts, expected);
}

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() == 4 && args.at(1) == QStringLiteral("write"))
        return writeAsCopy(args.at(2), args.at(3), kEntriesEach);
    if (args.size() == 4 && args.at(1) == QStringLiteral("hold"))
        return holdAsCopy(args.at(2), args.at(3).toInt());
    TstStore test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_store.moc"

// Each database has an id of its own, made with it (a database of the
// version before gets one when brought up to date), and keeps per team
// database the last entry shipped there.
void TstStore::shippingMarks()
{
    QTemporaryDir dir;
    QTemporaryDir otherDir;
    const QString teamA = QStringLiteral("postgresql://tech@a/velno");
    const QString teamB = QStringLiteral("postgresql://tech@b/velno");
    QString id;
    {
        SqliteStore store(dir.path());
        QCOMPARE(store.open().outcome, SqliteStore::Opening::Outcome::Opened);
        id = store.installationId();
        QVERIFY2(QRegularExpression(QStringLiteral("^[0-9a-f]{32}$")).match(id).hasMatch(), qPrintable(id));
        qint64 shipped = -1;
        QVERIFY(store.readShipped(teamA, &shipped));
        QCOMPARE(shipped, qint64(0));
        QVERIFY(store.setShipped(teamA, 41) && store.setShipped(teamA, 42) && store.setShipped(teamB, 7));
    }
    SqliteStore store(dir.path());
    QCOMPARE(store.open().outcome, SqliteStore::Opening::Outcome::Opened);
    QCOMPARE(store.installationId(), id);
    qint64 shippedA = 0;
    qint64 shippedB = 0;
    QVERIFY(store.readShipped(teamA, &shippedA) && store.readShipped(teamB, &shippedB));
    QCOMPARE(shippedA, qint64(42));
    QCOMPARE(shippedB, qint64(7));

    SqliteStore other(otherDir.path());
    QCOMPARE(other.open().outcome, SqliteStore::Opening::Outcome::Opened);
    QVERIFY(other.installationId() != id);
    // Back to the first version, as a database of the program before shipping was.
    QVERIFY(other.run(QStringLiteral("DROP TABLE installation"))
            && other.run(QStringLiteral("DROP TABLE shipping"))
            && other.run(QStringLiteral("DROP TABLE team_sites"))
            && other.run(QStringLiteral("PRAGMA user_version = 1")));
    other.close();
    QCOMPARE(other.open().outcome, SqliteStore::Opening::Outcome::Opened);
    QCOMPARE(other.installationId().size(), 32);
    QList<Site> teamCopy;
    QVERIFY2(other.readTeamSites(teamA, &teamCopy), qPrintable(other.lastError()));
}
