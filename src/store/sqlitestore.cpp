// SPDX-License-Identifier: GPL-3.0-or-later
#include "sqlitestore.h"

#include "store/privatefiles.h"
#include "store/schema.h"
#include "store/siterow.h"

#include <QAtomicInt>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QThread>
#include <QVariant>

#include <algorithm>
#include <sys/stat.h>

const QString SqliteStore::kFileName = QStringLiteral("velno.sqlite");

namespace {

const QString kDriver = QStringLiteral("QSQLITE");
constexpr int kSqliteBusy = 5;
constexpr int kSqliteLocked = 6;
constexpr int kLockRetryMs = 20;
const QString kAsideMark = QStringLiteral("damaged");
const QStringList kCompanions = {QString(), QStringLiteral("-wal"), QStringLiteral("-shm")};
// SQLite's result codes for a file that is damaged or no database at all.
const QStringList kDamageCodes = {QStringLiteral("11"), QStringLiteral("26")};
constexpr int kMinTrigram = 3;

// The journal's texts are never NULL either.
using SiteRow::notNull;

QString nextConnectionName()
{
    static QAtomicInt count;
    return QStringLiteral("velno-store-%1").arg(count.fetchAndAddRelaxed(1));
}

// The parts of a filter as SQL conditions on the journal ("j") and, for a
// search of three characters or more, its index ("t").
struct Conditions {
    QStringList sql;
    QVariantList values;
    bool indexed = false;
};

QString likePattern(const QString& text)
{
    QString escaped = text;
    escaped.replace(u'\\', QStringLiteral("\\\\"))
        .replace(u'%', QStringLiteral("\\%"))
        .replace(u'_', QStringLiteral("\\_"));
    return u'%' + escaped + u'%';
}

Conditions conditionsOf(const JournalFilter& filter)
{
    Conditions c;
    if (filter.site) {
        c.sql << QStringLiteral("j.site = ?");
        c.values << notNull(*filter.site);
    }
    if (filter.operatorName) {
        c.sql << QStringLiteral("j.operator = ?");
        c.values << notNull(*filter.operatorName);
    }
    if (filter.fromUtcMs) {
        c.sql << QStringLiteral("j.utc >= ?");
        c.values << *filter.fromUtcMs;
    }
    if (filter.toUtcMs) {
        c.sql << QStringLiteral("j.utc < ?");
        c.values << *filter.toUtcMs;
    }
    if (filter.search.size() >= kMinTrigram) {
        c.indexed = true;
        c.sql << QStringLiteral("t.journal_text MATCH ?");
        c.values << u'"' + QString(filter.search).replace(u'"', QStringLiteral("\"\"")) + u'"';
    } else if (!filter.search.isEmpty()) {
        c.sql << QStringLiteral("j.text LIKE ? ESCAPE '\\'");
        c.values << likePattern(filter.search);
    }
    return c;
}

QString fromClause(const Conditions& c)
{
    return c.indexed ? QStringLiteral(" FROM journal_text t JOIN journal j ON j.id = t.rowid")
                     : QStringLiteral(" FROM journal j");
}

QString idColumn(const Conditions& c)
{
    return c.indexed ? QStringLiteral("t.rowid") : QStringLiteral("j.id");
}

JournalRecord recordOf(const QSqlQuery& q)
{
    JournalRecord r;
    r.id = q.value(0).toLongLong();
    r.utcMs = q.value(1).toLongLong();
    if (!q.value(2).isNull())
        r.offsetSeconds = q.value(2).toInt();
    r.operatorName = q.value(3).toString();
    r.host = q.value(4).toString();
    r.site = q.value(5).toString();
    r.kind = q.value(6).toInt() == 0 ? JournalRecord::Kind::Sent : JournalRecord::Kind::Event;
    r.text = q.value(7).toString();
    return r;
}

}   // namespace

QString SqliteStore::defaultFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/Velno");
}

JournalWriter::StoreMaker SqliteStore::writerStore(const QString& folder)
{
    return [folder](QString* error) -> std::unique_ptr<Store> {
        auto store = std::make_unique<SqliteStore>(folder, kWriterBusyMs);
        const Opening opening = store->open(Damage::Refuse);
        if (opening.outcome != Opening::Outcome::Failed)
            return store;
        *error = opening.reason;
        return nullptr;
    };
}

SqliteStore::SqliteStore(const QString& folder, int busyMs)
    : m_folder(folder.isEmpty() ? defaultFolder() : folder),
      m_path(QDir(m_folder).filePath(kFileName)),
      m_busyMs(busyMs),
      m_connectionName(nextConnectionName())
{}

SqliteStore::~SqliteStore()
{
    close();
}

QStringList SqliteStore::files() const
{
    QStringList paths;
    for (const QString& suffix : kCompanions)
        paths << m_path + suffix;
    return paths;
}

void SqliteStore::close()
{
    if (!m_db.isValid())
        return;
    m_db.close();
    m_db = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_connectionName);
}

SqliteStore::Opening SqliteStore::open(Damage damage)
{
    Opening opening;
    if (connect() && setUp()) {
        opening.outcome = Opening::Outcome::Opened;
        return opening;
    }
    opening.reason = m_error;
    if (!m_damaged || damage == Damage::Refuse) {
        close();
        return opening;
    }
    opening.keptAs = setAside();
    if (!opening.keptAs.isEmpty() && connect() && setUp()) {
        opening.outcome = Opening::Outcome::Renewed;
        return opening;
    }
    if (opening.keptAs.isEmpty())
        opening.reason += QStringLiteral("\nThe damaged database could not be set aside.");
    close();
    return opening;
}

QString SqliteStore::renew()
{
    // Another connection found it first and set it aside: the new one in its place is used.
    if (isOpen() && !isOpenedFile()) {
        close();
        if (connect())
            setUp();
        return QString();
    }
    const QString keptAs = setAside();
    if (keptAs.isEmpty() || !(connect() && setUp()))
        return QString();
    return keptAs;
}

bool SqliteStore::connect()
{
    close();
    m_damaged = false;
    if (!PrivateFiles::makeFolder(m_folder, &m_error) || !PrivateFiles::createFile(m_path, &m_error))
        return false;
    PrivateFiles::correct(files());
    m_db = QSqlDatabase::addDatabase(kDriver, m_connectionName);
    if (!m_db.isValid()) {
        m_error = QStringLiteral("The SQLite driver of Qt (package libqt6sql6-sqlite) is not installed.");
        return false;
    }
    m_db.setDatabaseName(m_path);
    m_db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(m_busyMs));
    if (!m_db.open()) {
        fail(QStringLiteral("The database %1 cannot be opened.").arg(QDir::toNativeSeparators(m_path)),
             m_db.lastError().databaseText(), m_db.lastError().nativeErrorCode());
        return false;
    }
    m_opened = fileIdOf(m_path).value_or(FileId());
    return true;
}

std::optional<SqliteStore::FileId> SqliteStore::fileIdOf(const QString& path)
{
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return std::nullopt;
    return FileId{quint64(info.st_dev), quint64(info.st_ino)};
}

bool SqliteStore::isOpenedFile() const
{
    return fileIdOf(m_path) == std::optional<FileId>(m_opened);
}

// Every call starts here. A database that another connection (the window's,
// the writer's, another copy's) set aside is left as it is, and the new one
// in its place is used: nothing goes into a file kept aside.
bool SqliteStore::ready()
{
    if (!isOpen()) {
        m_error = QStringLiteral("The database %1 is not open.").arg(QDir::toNativeSeparators(m_path));
        return false;
    }
    // SQLite goes on writing into a file removed while it is open: nobody would read that.
    if (!QFileInfo::exists(m_path)) {
        m_error = QStringLiteral("The database %1 was removed.").arg(QDir::toNativeSeparators(m_path));
        return false;
    }
    if (isOpenedFile())
        return true;
    close();
    return connect() && setUp();
}

// WAL lets the other copy read while this one writes; FULL makes each
// commit durable before it returns. The first statements read the file's
// header and its tables, so a damaged or foreign file shows here.
bool SqliteStore::setUp()
{
    return whileLocked([this] { return prepare(); }) && whileLocked([this] { return migrate(); });
}

bool SqliteStore::prepare()
{
    const bool ready = run(QStringLiteral("PRAGMA journal_mode = WAL"))
        && run(QStringLiteral("PRAGMA synchronous = FULL"))
        && run(QStringLiteral("SELECT count(*) FROM sqlite_master"));
    PrivateFiles::correct(files());
    return ready;
}

bool SqliteStore::migrate()
{
    QSqlQuery version(m_db);
    if (!run(QStringLiteral("PRAGMA user_version")))
        return false;
    const QList<QStringList> steps = Schema::steps();
    return inTransaction([&] {
        // Read again inside the transaction: another copy may have just migrated.
        if (!version.exec(QStringLiteral("PRAGMA user_version")) || !version.next())
            return false;
        const int from = version.value(0).toInt();
        version.finish();
        if (from > steps.size()) {
            m_error = QStringLiteral("The database %1 was made by a newer version of the program.")
                          .arg(QDir::toNativeSeparators(m_path));
            return false;
        }
        for (int step = from; step < steps.size(); ++step) {
            for (const QString& statement : steps.at(step)) {
                if (!run(statement))
                    return false;
            }
        }
        return from == steps.size() || run(QStringLiteral("PRAGMA user_version = %1").arg(steps.size()));
    });
}

// The files move before the connection closes: SQLite then finds the
// database moved and leaves its -wal and -shm as they are, where closing
// would otherwise fold the -wal into the damaged file and remove both by
// name. A connection that follows a database set aside closes the same way.
QString SqliteStore::setAside()
{
    const QString aside = PrivateFiles::freeAsideName(m_path, kAsideMark, kCompanions);
    bool moved = !aside.isEmpty();
    for (const QString& suffix : kCompanions) {
        if (moved && QFile::exists(m_path + suffix))
            moved = QFile::rename(m_path + suffix, aside + suffix);
    }
    close();
    return moved ? aside : QString();
}

// Another copy that turns a new database to WAL, or recovers its log, holds
// a lock for a moment that SQLite does not wait for: the step is tried again
// for as long as any other lock is waited for.
bool SqliteStore::whileLocked(const std::function<bool()>& step)
{
    QElapsedTimer waited;
    waited.start();
    while (!step()) {
        if (!m_locked || waited.elapsed() >= m_busyMs)
            return false;
        QThread::msleep(kLockRetryMs);
    }
    return true;
}

void SqliteStore::fail(const QString& what, const QString& detail, const QString& code)
{
    m_error = detail.isEmpty() ? what : what + u' ' + detail;
    const int primary = code.toInt() & 0xff;   // extended codes keep the primary in the low byte
    m_locked = primary == kSqliteBusy || primary == kSqliteLocked;
    if (kDamageCodes.contains(code))
        m_damaged = true;
}

bool SqliteStore::run(QSqlQuery& query)
{
    if (query.exec())
        return true;
    const QSqlError error = query.lastError();
    fail(QStringLiteral("The database %1 cannot be used:").arg(QDir::toNativeSeparators(m_path)),
         error.databaseText().isEmpty() ? error.driverText() : error.databaseText(), error.nativeErrorCode());
    return false;
}

bool SqliteStore::prepareQuery(QSqlQuery& query, const QString& statement)
{
    if (query.prepare(statement))
        return true;
    const QSqlError error = query.lastError();
    fail(QStringLiteral("The database %1 cannot be used:").arg(QDir::toNativeSeparators(m_path)),
         error.databaseText().isEmpty() ? error.driverText() : error.databaseText(), error.nativeErrorCode());
    return false;
}

bool SqliteStore::run(const QString& statement)
{
    QSqlQuery query(m_db);
    return prepareQuery(query, statement) && run(query);
}

bool SqliteStore::appendEntries(QList<JournalRecord>& entries)
{
    return ready() && inTransaction([&] { return insertEntries(entries); });
}

bool SqliteStore::insertEntries(QList<JournalRecord>& entries)
{
    QSqlQuery insert(m_db);
    if (!prepareQuery(insert,
                      QStringLiteral("INSERT INTO journal (utc, utc_offset, operator, host, site, kind, "
                                     "text) VALUES (?, ?, ?, ?, ?, ?, ?)")))
        return false;
    for (JournalRecord& r : entries) {
        insert.bindValue(0, r.utcMs);
        insert.bindValue(1,
                         r.offsetSeconds ? QVariant(*r.offsetSeconds) : QVariant(QMetaType(QMetaType::Int)));
        insert.bindValue(2, notNull(r.operatorName));
        insert.bindValue(3, notNull(r.host));
        insert.bindValue(4, notNull(r.site));
        insert.bindValue(5, r.kind == JournalRecord::Kind::Sent ? 0 : 1);
        insert.bindValue(6, notNull(r.text));
        if (!run(insert))
            return false;
        r.id = insert.lastInsertId().toLongLong();
    }
    return true;
}

bool SqliteStore::readEntries(const JournalFilter& filter, qint64 afterId, int count,
                              QList<JournalRecord>* out)
{
    return ready() && select(filter, afterId, std::nullopt, count, out);
}

bool SqliteStore::readEntriesBefore(const JournalFilter& filter, qint64 beforeId, int count,
                                    QList<JournalRecord>* out)
{
    if (!ready() || !select(filter, std::nullopt, beforeId, count, out))
        return false;
    std::reverse(out->begin(), out->end());
    return true;
}

// Entries are only ever added, and SQLite gives each the id after the
// highest: the ids of the whole journal have no gaps, so its count is read
// from its ends.
bool SqliteStore::idRange(qint64* first, qint64* last)
{
    QSqlQuery q(m_db);
    q.setForwardOnly(true);
    // Each on its own: SQLite finds a lone min() or max() at an end of the
    // table, but walks every row for the two together.
    if (!prepareQuery(q,
                      QStringLiteral("SELECT (SELECT min(id) FROM journal), (SELECT max(id) FROM journal)"))
        || !run(q) || !q.next())
        return false;
    *first = q.value(0).isNull() ? 1 : q.value(0).toLongLong();
    *last = q.value(1).isNull() ? 0 : q.value(1).toLongLong();
    return true;
}

// A page from an id on: the id ascending from afterId, or descending
// (newest first) from beforeId; either walks the index from that id.
bool SqliteStore::select(const JournalFilter& filter, std::optional<qint64> afterId,
                         std::optional<qint64> beforeId, int count, QList<JournalRecord>* out)
{
    Conditions c = conditionsOf(filter);
    if (afterId) {
        c.sql << idColumn(c) + QStringLiteral(" > ?");
        c.values << *afterId;
    }
    if (beforeId && *beforeId != kPastNewest) {
        c.sql << idColumn(c) + QStringLiteral(" < ?");
        c.values << *beforeId;
    }
    QSqlQuery q(m_db);
    q.setForwardOnly(true);
    if (!prepareQuery(
            q,
            QStringLiteral("SELECT j.id, j.utc, j.utc_offset, j.operator, j.host, j.site, j.kind, j.text")
                + fromClause(c)
                + (c.sql.isEmpty() ? QString()
                                   : QStringLiteral(" WHERE ") + c.sql.join(QStringLiteral(" AND ")))
                + QStringLiteral(" ORDER BY ") + idColumn(c)
                + (beforeId ? QStringLiteral(" DESC") : QString()) + QStringLiteral(" LIMIT %1").arg(count)))
        return false;
    for (int i = 0; i < c.values.size(); ++i)
        q.bindValue(i, c.values.at(i));
    if (!run(q))
        return false;
    out->clear();
    while (q.next())
        out->append(recordOf(q));
    return true;
}

qint64 SqliteStore::countEntries(const JournalFilter& filter)
{
    if (!ready())
        return -1;
    qint64 first = 0;
    qint64 last = 0;
    if (filter.passesAll())
        return idRange(&first, &last) ? last - first + 1 : -1;
    const Conditions c = conditionsOf(filter);
    QSqlQuery q(m_db);
    q.setForwardOnly(true);
    if (!prepareQuery(q,
                      QStringLiteral("SELECT count(*)") + fromClause(c)
                          + (c.sql.isEmpty()
                                 ? QString()
                                 : QStringLiteral(" WHERE ") + c.sql.join(QStringLiteral(" AND ")))))
        return -1;
    for (int i = 0; i < c.values.size(); ++i)
        q.bindValue(i, c.values.at(i));
    if (!run(q) || !q.next())
        return -1;
    return q.value(0).toLongLong();
}

bool SqliteStore::readList(const QString& column, QStringList* out)
{
    if (!ready())
        return false;
    // One step down the index per name, not a walk over every entry.
    QSqlQuery q(m_db);
    q.setForwardOnly(true);
    if (!prepareQuery(q, QStringLiteral("SELECT min(%1) FROM journal WHERE %1 > ?").arg(column)))
        return false;
    QString last;
    out->clear();
    while (true) {
        q.bindValue(0, notNull(last));
        if (!run(q))
            return false;
        if (!q.next() || q.value(0).isNull())
            return true;
        last = q.value(0).toString();
        q.finish();
        out->append(last);
    }
}

QStringList SqliteStore::journalSites()
{
    QStringList sites;
    readList(QStringLiteral("site"), &sites);
    return sites;
}

QStringList SqliteStore::journalOperators()
{
    QStringList names;
    readList(QStringLiteral("operator"), &names);
    return names;
}

bool SqliteStore::readSites(QList<Site>* out)
{
    if (!ready())
        return false;
    QSqlQuery q(m_db);
    q.setForwardOnly(true);
    if (!prepareQuery(
            q, QStringLiteral("SELECT ") + SiteRow::kColumns + QStringLiteral(" FROM sites ORDER BY name"))
        || !run(q))
        return false;
    out->clear();
    while (q.next())
        out->append(SiteRow::read(q));
    return true;
}

bool SqliteStore::insertSite(Site& site)
{
    QSqlQuery q(m_db);
    if (!prepareQuery(q,
                      QStringLiteral("INSERT INTO sites (name, port, phone, setup, notes, last_used, "
                                     "last_used_offset) VALUES (?, ?, ?, ?, ?, ?, ?)")))
        return false;
    q.addBindValue(notNull(site.name));
    q.addBindValue(site.port);
    q.addBindValue(notNull(site.phone));
    q.addBindValue(notNull(site.setup));
    q.addBindValue(notNull(site.notes));
    q.addBindValue(SiteRow::usedAt(site.lastUsed));
    q.addBindValue(SiteRow::usedOffset(site.lastUsed));
    if (!run(q))
        return false;
    site.id = q.lastInsertId().toLongLong();
    site.version = 1;
    return true;
}

Store::Change SqliteStore::addSite(Site& site)
{
    if (!ready())
        return Change::Failed;
    Change change = Change::Failed;
    inTransaction([&] {
        change = nameTakenBy(site.name, 0);
        if (change != Change::Done)
            return false;
        change = Change::Failed;
        if (!insertSite(site))
            return false;
        change = Change::Done;
        return true;
    });
    return change;
}

// Whether another site than the one with the given id (0 for a new one)
// has the name: NameTaken, Done when none has, Failed when that cannot be
// read.
Store::Change SqliteStore::nameTakenBy(const QString& name, qint64 exceptId)
{
    QSqlQuery same(m_db);
    if (!prepareQuery(same, QStringLiteral("SELECT 1 FROM sites WHERE name = ? AND id <> ?")))
        return Change::Failed;
    same.addBindValue(name);
    same.addBindValue(exceptId);
    if (!run(same))
        return Change::Failed;
    return same.next() ? Change::NameTaken : Change::Done;
}

// Why a change that names a site and its version found no such row.
Store::Change SqliteStore::whyUnchanged(const Site& site)
{
    QSqlQuery q(m_db);
    if (!prepareQuery(q, QStringLiteral("SELECT 1 FROM sites WHERE id = ?")))
        return Change::Failed;
    q.addBindValue(site.id);
    if (!run(q))
        return Change::Failed;
    return q.next() ? Change::Changed : Change::Gone;
}

Store::Change SqliteStore::updateSite(Site& site)
{
    if (!ready())
        return Change::Failed;
    Change change = Change::Failed;
    inTransaction([&] {
        change = nameTakenBy(site.name, site.id);
        if (change != Change::Done)
            return false;
        change = Change::Failed;
        QSqlQuery q(m_db);
        prepareQuery(q,
                     QStringLiteral("UPDATE sites SET name = ?, port = ?, phone = ?, setup = ?, notes = ?, "
                                    "version = version + 1 WHERE id = ? AND version = ?"));
        for (const QVariant& value :
             {QVariant(notNull(site.name)), QVariant(site.port), QVariant(notNull(site.phone)),
              QVariant(notNull(site.setup)), QVariant(notNull(site.notes)), QVariant(site.id),
              QVariant(site.version)})
            q.addBindValue(value);
        if (!run(q))
            return false;
        if (q.numRowsAffected() != 1) {
            change = whyUnchanged(site);
            return false;
        }
        ++site.version;
        change = Change::Done;
        return true;
    });
    return change;
}

Store::Change SqliteStore::removeSite(const Site& site)
{
    if (!ready())
        return Change::Failed;
    Change change = Change::Failed;
    inTransaction([&] {
        QSqlQuery q(m_db);
        prepareQuery(q, QStringLiteral("DELETE FROM sites WHERE id = ? AND version = ?"));
        q.addBindValue(site.id);
        q.addBindValue(site.version);
        if (!run(q))
            return false;
        if (q.numRowsAffected() != 1) {
            change = whyUnchanged(site);
            return false;
        }
        change = Change::Done;
        return true;
    });
    return change;
}

Store::Change SqliteStore::markSiteUsed(Site& site, const QDateTime& when)
{
    return markUsed(QStringLiteral("UPDATE sites SET last_used = ?, last_used_offset = ? WHERE id = ?"),
                    {site.id}, site, when);
}

Store::Change SqliteStore::markUsed(const QString& statement, const QVariantList& keys, Site& site,
                                    const QDateTime& when)
{
    if (!ready())
        return Change::Failed;
    QSqlQuery q(m_db);
    if (!prepareQuery(q, statement))
        return Change::Failed;
    q.addBindValue(SiteRow::usedAt(when));
    q.addBindValue(SiteRow::usedOffset(when));
    for (const QVariant& key : keys)
        q.addBindValue(key);
    if (!run(q))
        return Change::Failed;
    if (q.numRowsAffected() != 1)
        return Change::Gone;
    site.lastUsed = when;
    return Change::Done;
}

Store::Import SqliteStore::importOnce(const QString& what, QList<JournalRecord>& entries, QList<Site>& sites)
{
    if (!ready())
        return Import::Failed;
    Import outcome = Import::Failed;
    inTransaction([&] {
        QSqlQuery mark(m_db);
        prepareQuery(mark, QStringLiteral("INSERT OR IGNORE INTO imports (what, utc) VALUES (?, ?)"));
        mark.addBindValue(what);
        mark.addBindValue(QDateTime::currentMSecsSinceEpoch());
        if (!run(mark))
            return false;
        if (mark.numRowsAffected() == 0) {
            outcome = Import::AlreadyDone;
            return true;
        }
        if (!insertEntries(entries))
            return false;
        for (Site& site : sites) {
            if (!insertSite(site))
                return false;
        }
        outcome = Import::Done;
        return true;
    });
    return outcome;
}
