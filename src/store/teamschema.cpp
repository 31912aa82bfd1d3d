// SPDX-License-Identifier: GPL-3.0-or-later
#include "teamschema.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <optional>

namespace TeamSchema {

namespace {

// Two set-ups at once take turns on this lock, held until their transaction ends.
const QString kSetUpLock = QStringLiteral("SELECT pg_advisory_xact_lock(7652143520602746)");
const QString kPermissionDenied = QStringLiteral("42501");

// Version 1: the site book and the journal.
QStringList first()
{
    return {
        // version: raised by every change, so that a change made meanwhile
        // by another copy is seen; changed_by and changed_at are the server's.
        QStringLiteral("CREATE TABLE sites (id bigserial PRIMARY KEY, name text NOT NULL, "
                       "port integer NOT NULL, phone text NOT NULL, setup text NOT NULL, "
                       "notes text NOT NULL DEFAULT '', last_used timestamptz, last_used_offset integer, "
                       "version integer NOT NULL DEFAULT 1, "
                       "changed_by text NOT NULL DEFAULT current_user, "
                       "changed_at timestamptz NOT NULL DEFAULT now())"),
        // One site of a name, in any case, as in the local book.
        QStringLiteral("CREATE UNIQUE INDEX sites_name ON sites (lower(name))"),
        QStringLiteral("CREATE FUNCTION velno_site_changed() RETURNS trigger LANGUAGE plpgsql AS "
                       "$$BEGIN NEW.changed_by := current_user; NEW.changed_at := now(); RETURN NEW; END$$"),
        QStringLiteral("CREATE TRIGGER sites_changed BEFORE INSERT OR UPDATE ON sites "
                       "FOR EACH ROW EXECUTE FUNCTION velno_site_changed()"),
        // Each copy of the program (installation_id) sends its entries with
        // their local ids, so a resent entry is the same row. The content
        // is the local journal's: utc_offset seconds east of UTC at that
        // moment (NULL when not known), kind 'sent' or 'event'. db_user is
        // the role that sent it, which the sender cannot choose.
        QStringLiteral("CREATE TABLE journal (installation_id uuid NOT NULL, local_id bigint NOT NULL, "
                       "at_utc timestamptz NOT NULL, utc_offset integer, operator text NOT NULL, "
                       "host text NOT NULL, site text NOT NULL, "
                       "kind text NOT NULL CHECK (kind IN ('sent', 'event')), text text NOT NULL, "
                       "db_user text NOT NULL DEFAULT current_user, "
                       "PRIMARY KEY (installation_id, local_id))"),
        QStringLiteral("CREATE INDEX journal_time ON journal (at_utc, installation_id, local_id)"),
        // A DEFAULT gives way to a value in the INSERT; the trigger does not.
        QStringLiteral("CREATE FUNCTION velno_journal_sender() RETURNS trigger LANGUAGE plpgsql AS "
                       "$$BEGIN NEW.db_user := current_user; RETURN NEW; END$$"),
        QStringLiteral("CREATE TRIGGER journal_sender BEFORE INSERT ON journal "
                       "FOR EACH ROW EXECUTE FUNCTION velno_journal_sender()"),
    };
}

// Version 2: the journal's sites and operators, for their lists to be read
// a value at a time down an index rather than from every entry.
QStringList second()
{
    return {
        QStringLiteral("CREATE INDEX journal_site ON journal (site)"),
        QStringLiteral("CREATE INDEX journal_operator ON journal (operator)"),
    };
}

// Optional, and no part of any version: searches of the journal's text
// (ILIKE '%...%') read a trigram index rather than every entry.
const QStringList kTextSearch = {
    QStringLiteral("CREATE EXTENSION IF NOT EXISTS pg_trgm"),
    QStringLiteral("CREATE INDEX IF NOT EXISTS journal_text_trgm ON journal USING gin (text gin_trgm_ops)"),
};

// The table of the version, readable by every role so that any can check it.
const QStringList kVersionTable = {
    QStringLiteral("CREATE TABLE velno_schema (only_row boolean PRIMARY KEY DEFAULT true CHECK (only_row), "
                   "version integer NOT NULL)"),
    QStringLiteral("GRANT SELECT ON velno_schema TO PUBLIC"),
};

State stateOf(State::Kind kind, int version, const QString& text)
{
    return State{kind, version, text, QString()};
}

State failure(const QString& doing, const QSqlError& error)
{
    const QString reason =
        error.databaseText().trimmed().isEmpty() ? error.text().trimmed() : error.databaseText().trimmed();
    if (error.nativeErrorCode() == kPermissionDenied)
        return stateOf(State::Kind::NotAllowed, 0,
                       QStringLiteral("Not allowed to %1 (%2): run velno --team-setup as the role that owns "
                                      "the team database.")
                           .arg(doing, reason));
    return stateOf(State::Kind::Failed, 0, QStringLiteral("Could not %1: %2").arg(doing, reason));
}

// The version of the tables, 0 for none; none when it cannot be read.
std::optional<int> versionOf(QSqlDatabase& db, QSqlError* error)
{
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("SELECT to_regclass('velno_schema') IS NOT NULL")) || !q.next()) {
        *error = q.lastError();
        return std::nullopt;
    }
    if (!q.value(0).toBool())
        return 0;
    if (!q.exec(QStringLiteral("SELECT version FROM velno_schema"))) {
        *error = q.lastError();
        return std::nullopt;
    }
    return q.next() ? q.value(0).toInt() : 0;
}

State stateOfVersion(int version)
{
    const int current = currentVersion();
    if (version == current)
        return stateOf(State::Kind::Ready, version,
                       QStringLiteral("Team database ready: schema version %1.").arg(version));
    if (version == 0)
        return stateOf(State::Kind::Missing, 0,
                       QStringLiteral("The team database has no tables yet: its owner makes them with "
                                      "velno --team-setup URI."));
    if (version < current)
        return stateOf(
            State::Kind::Older, version,
            QStringLiteral("The team database has schema version %1, older than this program's %2: "
                           "its owner brings it up to date with velno --team-setup URI.")
                .arg(version)
                .arg(current));
    return stateOf(State::Kind::Newer, version,
                   QStringLiteral("The team database has schema version %1, newer than this program (which "
                                  "knows up to %2): use a newer velno; --team-setup does not take it back.")
                       .arg(version)
                       .arg(current));
}

bool run(QSqlDatabase& db, const QStringList& statements, QSqlError* error)
{
    QSqlQuery q(db);
    for (const QString& statement : statements) {
        if (!q.exec(statement)) {
            *error = q.lastError();
            return false;
        }
    }
    return true;
}

// Brings the tables from their version up to the current one.
bool migrate(QSqlDatabase& db, int from, QSqlError* error)
{
    if (from == 0 && !run(db, kVersionTable, error))
        return false;
    const QList<QStringList> all = steps();
    for (int step = from; step < all.size(); ++step) {
        if (!run(db, all[step], error))
            return false;
    }
    QSqlQuery q(db);
    q.prepare(QStringLiteral("INSERT INTO velno_schema (version) VALUES (?) "
                             "ON CONFLICT (only_row) DO UPDATE SET version = EXCLUDED.version"));
    q.addBindValue(int(all.size()));
    if (!q.exec()) {
        *error = q.lastError();
        return false;
    }
    return true;
}

// The text search's index where the server allows it, in a savepoint: a
// failure leaves the rest of the set-up as it is. Says what became of it.
QString setUpTextSearch(QSqlDatabase& db)
{
    QSqlQuery q(db);
    QSqlError error;
    if (!q.exec(QStringLiteral("SAVEPOINT text_search")))
        return QStringLiteral("Searching the journal reads every entry: %1").arg(q.lastError().text());
    if (run(db, kTextSearch, &error))
        return QStringLiteral("Searching the journal uses a trigram index (pg_trgm).");
    q.exec(QStringLiteral("ROLLBACK TO SAVEPOINT text_search"));
    const QString reason =
        error.databaseText().trimmed().isEmpty() ? error.text().trimmed() : error.databaseText().trimmed();
    return QStringLiteral("Searching the journal reads every entry, as pg_trgm cannot be used here (%1); "
                          "it works without.")
        .arg(reason);
}

}   // namespace

QList<QStringList> steps()
{
    return {first(), second()};
}

State check(QSqlDatabase& db)
{
    QSqlError error;
    const std::optional<int> version = versionOf(db, &error);
    if (!version)
        return failure(QStringLiteral("read the team database's schema version"), error);
    return stateOfVersion(*version);
}

State setUp(QSqlDatabase& db)
{
    const QString doing = QStringLiteral("set up the team database");
    if (!db.transaction())
        return failure(doing, db.lastError());
    QSqlError error;
    QSqlQuery lock(db);
    const std::optional<int> version = lock.exec(kSetUpLock) ? versionOf(db, &error) : std::nullopt;
    if (!version) {
        const QSqlError cause = error.isValid() ? error : lock.lastError();
        db.rollback();
        return failure(doing, cause);
    }
    if (*version > currentVersion()) {
        db.rollback();
        return stateOfVersion(*version);
    }
    if (*version < currentVersion() && !migrate(db, *version, &error)) {
        db.rollback();
        return failure(doing, error);
    }
    const QString note = setUpTextSearch(db);
    if (!db.commit())
        return failure(doing, db.lastError());
    State ready = stateOfVersion(currentVersion());
    ready.note = note;
    return ready;
}

}   // namespace TeamSchema
