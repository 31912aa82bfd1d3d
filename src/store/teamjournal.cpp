// SPDX-License-Identifier: GPL-3.0-or-later
#include "teamjournal.h"

#include "store/store.h"

#include <QDateTime>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <algorithm>

namespace {

constexpr int kLocalPage = 2000;

const QString kColumns = QStringLiteral("SELECT replace(installation_id::text, '-', ''), local_id, "
                                        "(extract(epoch FROM at_utc) * 1000)::bigint, utc_offset, "
                                        "operator, host, site, kind, text, db_user FROM journal");
const QString kKey = QStringLiteral("(at_utc, installation_id, local_id)");
const QString kEdge = QStringLiteral("(?, CAST(? AS uuid), ?)");

QVariant timeOf(qint64 utcMs)
{
    return QDateTime::fromMSecsSinceEpoch(utcMs, Qt::UTC);
}

// A substring for ILIKE: its wildcards and the escape taken as they are.
QString likePattern(const QString& text)
{
    QString escaped = text;
    escaped.replace(u'\\', QStringLiteral("\\\\")).replace(u'%', QStringLiteral("\\%"));
    escaped.replace(u'_', QStringLiteral("\\_"));
    return u'%' + escaped + u'%';
}

// The parts of a filter as conditions on the server's journal.
struct Conditions {
    QStringList sql;
    QVariantList values;

    explicit Conditions(const JournalFilter& filter)
    {
        if (filter.site)
            add(QStringLiteral("site = ?"), filter.site->isNull() ? QStringLiteral("") : *filter.site);
        if (filter.operatorName)
            add(QStringLiteral("operator = ?"), *filter.operatorName);
        if (filter.fromUtcMs)
            add(QStringLiteral("at_utc >= ?"), timeOf(*filter.fromUtcMs));
        if (filter.toUtcMs)
            add(QStringLiteral("at_utc < ?"), timeOf(*filter.toUtcMs));
        if (!filter.search.isEmpty())
            add(QStringLiteral("text ILIKE ? ESCAPE '\\'"), likePattern(filter.search));
    }

    void add(const QString& condition, const QVariant& value)
    {
        sql << condition;
        values << value;
    }

    QString where() const
    {
        return sql.isEmpty() ? QString() : QStringLiteral(" WHERE ") + sql.join(QStringLiteral(" AND "));
    }
};

JournalRecord recordOf(const QSqlQuery& q)
{
    JournalRecord r;
    r.installationId = q.value(0).toString();
    r.id = q.value(1).toLongLong();
    r.utcMs = q.value(2).toLongLong();
    if (!q.value(3).isNull())
        r.offsetSeconds = q.value(3).toInt();
    r.operatorName = q.value(4).toString();
    r.host = q.value(5).toString();
    r.site = q.value(6).toString();
    r.kind = q.value(7).toString() == JournalRecord::kindName(JournalRecord::Kind::Sent)
        ? JournalRecord::Kind::Sent
        : JournalRecord::Kind::Event;
    r.text = q.value(8).toString();
    r.dbUser = q.value(9).toString();
    return r;
}

// Both lists in the journal's order, merged; an entry in both (shipped
// while they were read) once, as the server has it.
QList<JournalRecord> merged(const QList<JournalRecord>& server, QList<JournalRecord>::const_iterator pending,
                            QList<JournalRecord>::const_iterator pendingEnd)
{
    QList<JournalRecord> all;
    all.reserve(server.size() + (pendingEnd - pending));
    auto s = server.begin();
    while (s != server.end() || pending != pendingEnd) {
        if (pending == pendingEnd || (s != server.end() && !TeamJournal::before(*pending, *s))) {
            if (pending != pendingEnd && !TeamJournal::before(*s, *pending))
                ++pending;
            all << *s++;
        } else {
            all << *pending++;
        }
    }
    return all;
}

// The values of a column but '', each the next one up the column's index
// from the one before: as many probes as values, where DISTINCT reads
// every entry.
const QString kDistinctValues =
    QStringLiteral("WITH RECURSIVE v(value) AS ("
                   "(SELECT %1 FROM journal WHERE %1 > '' ORDER BY %1 LIMIT 1) UNION ALL "
                   "SELECT (SELECT %1 FROM journal WHERE %1 > v.value ORDER BY %1 LIMIT 1) FROM v WHERE "
                   "v.value IS NOT NULL) "
                   "SELECT value FROM v WHERE value IS NOT NULL");

bool bindAndRun(QSqlQuery& q, const QString& sql, const QVariantList& values)
{
    q.setForwardOnly(true);
    if (!q.prepare(sql))
        return false;
    for (int i = 0; i < values.size(); ++i)
        q.bindValue(i, values.at(i));
    return q.exec();
}

}   // namespace

TeamJournal::TeamJournal(QSqlDatabase& db, Store* local, const QString& team)
    : m_db(db), m_local(local), m_team(team)
{}

bool TeamJournal::before(const JournalRecord& a, const JournalRecord& b)
{
    if (a.utcMs != b.utcMs)
        return a.utcMs < b.utcMs;
    if (a.installationId != b.installationId)
        return a.installationId < b.installationId;   // lower-case hex as the local store has it: uuid order
    return a.id < b.id;
}

bool TeamJournal::readAfter(const JournalFilter& filter, const JournalRecord* edge, int count,
                            QList<JournalRecord>* out)
{
    QList<JournalRecord> server;
    if (!readPending(filter) || !select(filter, edge, false, count, &server))
        return false;
    const auto from =
        edge ? std::upper_bound(m_pending.cbegin(), m_pending.cend(), *edge, before) : m_pending.cbegin();
    *out = merged(server, from, from + std::min<qsizetype>(count, m_pending.cend() - from));
    if (out->size() > count)
        out->resize(count);
    return true;
}

bool TeamJournal::readBefore(const JournalFilter& filter, const JournalRecord* edge, int count,
                             QList<JournalRecord>* out)
{
    QList<JournalRecord> server;
    if (!readPending(filter) || !select(filter, edge, true, count, &server))
        return false;
    std::reverse(server.begin(), server.end());
    const auto to =
        edge ? std::lower_bound(m_pending.cbegin(), m_pending.cend(), *edge, before) : m_pending.cend();
    *out = merged(server, to - std::min<qsizetype>(count, to - m_pending.cbegin()), to);
    if (out->size() > count)
        out->remove(0, out->size() - count);
    return true;
}

// A page from a key on, walking the index journal_time from it.
bool TeamJournal::select(const JournalFilter& filter, const JournalRecord* edge, bool newestFirst, int count,
                         QList<JournalRecord>* out)
{
    Conditions c(filter);
    if (edge) {
        c.sql << kKey + (newestFirst ? QStringLiteral(" < ") : QStringLiteral(" > ")) + kEdge;
        c.values << timeOf(edge->utcMs) << edge->installationId << edge->id;
    }
    const QString order = newestFirst ? QStringLiteral(" DESC") : QString();
    QSqlQuery q(m_db);
    if (!bindAndRun(q,
                    kColumns + c.where()
                        + QStringLiteral(" ORDER BY at_utc%1, installation_id%1, local_id%1").arg(order)
                        + QStringLiteral(" LIMIT %1").arg(count),
                    c.values))
        return failed(QStringLiteral("read"), q.lastError().text());
    out->clear();
    while (q.next())
        out->append(recordOf(q));
    return true;
}

// This computer's entries the server has not taken, read after the mark
// and before the server: one shipped meanwhile is then read twice, and
// merged, rather than missed.
bool TeamJournal::readPending(const JournalFilter& filter)
{
    m_pending.clear();
    if (!m_local)
        return true;
    m_installation = m_local->installationId();
    if (m_installation.isEmpty() || !m_local->readShipped(m_team, &m_shipped))
        return failed(QStringLiteral("read this computer's"), m_local->lastError());
    QList<JournalRecord> page;
    qint64 after = m_shipped;
    do {
        if (!m_local->readEntries(filter, after, kLocalPage, &page))
            return failed(QStringLiteral("read this computer's"), m_local->lastError());
        for (JournalRecord& entry : page) {
            entry.installationId = m_installation;
            entry.pending = true;
        }
        m_pending.append(page);
        if (!page.isEmpty())
            after = page.back().id;
    } while (page.size() == kLocalPage);
    // Local ids follow the order of writing, not always that of the clock.
    std::stable_sort(m_pending.begin(), m_pending.end(), before);
    return true;
}

qint64 TeamJournal::count(const JournalFilter& filter)
{
    if (!readPending(filter))
        return -1;
    Conditions c(filter);
    QVariantList values;
    QString alsoPending = QStringLiteral("0");
    if (m_local) {
        alsoPending =
            QStringLiteral("count(*) FILTER (WHERE installation_id = CAST(? AS uuid) AND local_id > ?)");
        values << m_installation << m_shipped;
    }
    QSqlQuery q(m_db);
    if (!bindAndRun(q, QStringLiteral("SELECT count(*), %1 FROM journal").arg(alsoPending) + c.where(),
                    values + c.values)
        || !q.next()) {
        failed(QStringLiteral("count"), q.lastError().text());
        return -1;
    }
    return q.value(0).toLongLong() + m_pending.size() - q.value(1).toLongLong();
}

bool TeamJournal::readChoices(QStringList* sites, QStringList* operators)
{
    QString reason;
    const auto distinct = [&](const QString& column, QStringList* out) {
        QSqlQuery q(m_db);
        if (!bindAndRun(q, kDistinctValues.arg(column), {})) {
            reason = q.lastError().text();
            return false;
        }
        while (q.next())
            out->append(q.value(0).toString());
        return true;
    };
    sites->clear();
    operators->clear();
    if (!distinct(QStringLiteral("site"), sites) || !distinct(QStringLiteral("operator"), operators))
        return failed(QStringLiteral("read"), reason);
    if (m_local) {   // those not shipped yet
        *sites += m_local->journalSites();
        *operators += m_local->journalOperators();
    }
    for (QStringList* names : {sites, operators}) {
        names->sort();
        names->removeDuplicates();
    }
    return true;
}

bool TeamJournal::failed(const QString& doing, const QString& reason)
{
    m_error = QStringLiteral("Could not %1 the team's journal: %2").arg(doing, reason.simplified());
    return false;
}
