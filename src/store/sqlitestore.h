// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <optional>

#include "store/journalwriter.h"
#include "store/store.h"

#include <QSqlDatabase>
#include <QVariant>

class QSqlQuery;

// The store in one SQLite file, velno.sqlite, in a folder of the user's own.
// The database is in WAL mode, so that two running copies of the program
// share it: readers never wait for the writer, and a writer waits for the
// other copy's writer at most busyMs before it gives up.
class SqliteStore : public Store {
public:
    static const QString kFileName;   // "velno.sqlite"

    struct Opening {
        enum class Outcome { Opened, Renewed, Failed };
        Outcome outcome = Outcome::Failed;
        QString reason;   // why it failed, or what was wrong with the damaged database
        QString keptAs;   // Renewed: where the damaged database was set aside
    };
    // What open() does with a database SQLite finds damaged.
    enum class Damage { SetAside, Refuse };

    // The user's data folder for the program: ~/.local/share/Velno.
    static QString defaultFolder();
    // Opens a connection for a thread of its own (the journal's writer,
    // the viewer's counting): one that waits briefly for another copy's
    // writer, and leaves a damaged database to the window's connection to
    // set aside.
    static JournalWriter::StoreMaker writerStore(const QString& folder);
    static constexpr int kWriterBusyMs = 250;

    explicit SqliteStore(const QString& folder, int busyMs = 2000);
    ~SqliteStore() override;
    SqliteStore(const SqliteStore&) = delete;
    SqliteStore& operator=(const SqliteStore&) = delete;

    QString path() const { return m_path; }
    // The database file and the two files SQLite keeps beside it.
    QStringList files() const;

    // Makes the folder and the database when missing, makes them private,
    // and brings the tables to this version. A damaged database is set
    // aside with its -wal and -shm under a free name, and a new one made.
    // A database that another connection sets aside later is left to it:
    // the next call here goes to the new one in its place.
    Opening open(Damage damage = Damage::SetAside);
    bool isOpen() const { return m_db.isOpen(); }
    bool damaged() const override { return m_damaged; }
    QString renew() override;
    void close();

    QString lastError() const override { return m_error; }
    bool appendEntries(QList<JournalRecord>& entries) override;
    bool readEntries(const JournalFilter& filter, qint64 afterId, int count,
                     QList<JournalRecord>* out) override;
    bool readEntriesBefore(const JournalFilter& filter, qint64 beforeId, int count,
                           QList<JournalRecord>* out) override;
    qint64 countEntries(const JournalFilter& filter) override;
    QStringList journalSites() override;
    QStringList journalOperators() override;
    bool readSites(QList<Site>* out) override;
    Change addSite(Site& site) override;
    Change updateSite(Site& site) override;
    Change removeSite(const Site& site) override;
    Change markSiteUsed(Site& site, const QDateTime& when) override;
    bool readTeamSites(const QString& team, QList<Site>* out) override;
    bool keepTeamSites(const QString& team, const QList<Site>& sites) override;
    Change markTeamSiteUsed(const QString& team, Site& site, const QDateTime& when) override;
    Import importOnce(const QString& what, QList<JournalRecord>& entries, QList<Site>& sites) override;
    QString installationId() override;
    bool readShipped(const QString& team, qint64* lastId) override;
    bool setShipped(const QString& team, qint64 lastId) override;

    // For the parts of the store that run their own statements.
    QSqlDatabase& database() { return m_db; }
    // Runs a prepared query; false, with lastError() set, when it fails.
    bool run(QSqlQuery& query);
    bool run(const QString& statement);
    bool prepareQuery(QSqlQuery& query, const QString& statement);
    // BEGIN IMMEDIATE ... COMMIT around the work; ROLLBACK when it fails.
    template <typename Work>
    bool inTransaction(Work work)
    {
        if (!run(QStringLiteral("BEGIN IMMEDIATE")))
            return false;
        if (work() && run(QStringLiteral("COMMIT")))
            return true;
        const QString error = m_error;
        run(QStringLiteral("ROLLBACK"));
        m_error = error;
        return false;
    }

private:
    // Sets the site's time of use with the statement, which takes the time,
    // its offset, then `keys` that name the row.
    Change markUsed(const QString& statement, const QVariantList& keys, Site& site, const QDateTime& when);
    bool connect();
    bool setUp();
    bool ready();
    bool isOpenedFile() const;
    bool prepare();
    bool migrate();
    QString setAside();
    bool readList(const QString& column, QStringList* out);
    bool idRange(qint64* first, qint64* last);
    bool insertEntries(QList<JournalRecord>& entries);
    bool insertSite(Site& site);
    Change nameTakenBy(const QString& name, qint64 exceptId);
    Change whyUnchanged(const Site& site);
    bool select(const JournalFilter& filter, std::optional<qint64> afterId, std::optional<qint64> beforeId,
                int count, QList<JournalRecord>* out);
    void fail(const QString& what, const QString& detail, const QString& code);
    bool whileLocked(const std::function<bool()>& step);

    QString m_folder;
    QString m_path;
    int m_busyMs;
    bool m_locked = false;   // the last failure was a lock another copy held
    QString m_connectionName;
    QSqlDatabase m_db;
    QString m_error;
    bool m_damaged = false;
    // The file the connection opened, to see it set aside or replaced.
    struct FileId {
        quint64 device = 0;
        quint64 inode = 0;
        bool operator==(const FileId& other) const { return device == other.device && inode == other.inode; }
    };
    static std::optional<FileId> fileIdOf(const QString& path);
    FileId m_opened;
};
