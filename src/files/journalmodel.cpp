// SPDX-License-Identifier: GPL-3.0-or-later
#include "journalmodel.h"

#include "store/journalcounter.h"
#include "store/store.h"
#include "store/teampages.h"

#include <QChar>

#include <utility>

static_assert(JournalCounter::kNewestRows == JournalModel::kPageRows);

JournalModel::JournalModel(Store& store, const JournalWriter::StoreMaker& countStore, QObject* parent)
    : QAbstractListModel(parent), m_store(store)
{
    if (!countStore)
        return;
    m_counter = std::make_unique<JournalCounter>(countStore);
    connect(m_counter.get(), &JournalCounter::counted, this,
            [this](int ticket, qint64 count, const QString& error) {
                if (ticket == m_ticket)
                    takeCount(count, error);
            });
    connect(m_counter.get(), &JournalCounter::newestRead, this,
            [this](int ticket, const QList<JournalRecord>& entries) {
                if (ticket == m_ticket)
                    takeNewest(entries);
            });
}

JournalModel::~JournalModel() = default;

void JournalModel::setTeam(const TeamAddress& address, const QString& team,
                           const JournalWriter::StoreMaker& local)
{
    m_team = std::make_unique<TeamPages>(address, team, local);
    m_teamCounter = std::make_unique<TeamPages>(address, team, local);
    connect(m_team.get(), &TeamPages::pageRead, this, &JournalModel::takeTeamPage);
    connect(m_teamCounter.get(), &TeamPages::counted, this, &JournalModel::takeTeamCount);
    connect(m_teamCounter.get(), &TeamPages::choicesRead, this, &JournalModel::teamChoicesRead);
    m_teamShown = true;
    m_teamCounter->readChoices();
}

void JournalModel::showTeam(bool shown)
{
    if (shown == m_teamShown || (shown && !m_team))
        return;
    m_teamShown = shown;
    setFilter(m_filter);
}

// A narrowed journal's first page may take a walk over many entries that
// do not pass: it is read on the counting thread, before the count.
void JournalModel::setFilter(const JournalFilter& filter)
{
    m_filter = filter;
    m_count = -1;
    m_countAgain = false;
    m_refreshWanted = false;
    m_refreshRows = -1;
    if (m_teamShown) {
        m_awaitingNewest = true;
        showPage({}, true, true);
        askTeam(Asked::Newest);
        m_ticket = m_teamCounter->count(m_filter);
        return;
    }
    m_asked = Asked::Nothing;
    if (m_counter && !filter.passesAll()) {
        m_awaitingNewest = true;
        showPage({}, true, true);
        m_ticket = m_counter->request(m_filter, true);
        return;
    }
    m_ticket = 0;
    showNewest();
    recount();
}

void JournalModel::showPage(const QList<JournalRecord>& entries, bool atOldest, bool atNewest)
{
    beginResetModel();
    m_rows = entries;
    m_atOldest = atOldest;
    m_atNewest = atNewest;
    endResetModel();
}

bool JournalModel::read(bool older, qint64 edgeId, int rows, QList<JournalRecord>* out)
{
    if (older ? m_store.readEntriesBefore(m_filter, edgeId, rows, out)
              : m_store.readEntries(m_filter, edgeId, rows, out))
        return true;
    out->clear();
    m_error = m_store.lastError();
    emit failed();
    return false;
}

void JournalModel::showNewest()
{
    if (m_teamShown)
        return askTeam(Asked::Newest);
    m_awaitingNewest = false;
    QList<JournalRecord> page;
    if (read(true, Store::kPastNewest, kPageRows, &page))
        showPage(page, page.size() < kPageRows, true);
}

void JournalModel::showOldest()
{
    if (m_teamShown)
        return askTeam(Asked::Oldest);
    m_awaitingNewest = false;
    QList<JournalRecord> page;
    if (read(false, 0, kPageRows, &page))
        showPage(page, true, page.size() < kPageRows);
}

int JournalModel::readOlder()
{
    if (m_teamShown && !m_atOldest && !m_rows.isEmpty() && m_asked == Asked::Nothing)
        askTeam(Asked::Older);
    QList<JournalRecord> page;
    if (m_teamShown || m_atOldest || m_rows.isEmpty() || !read(true, m_rows.first().id, kPageRows, &page))
        return 0;
    m_atOldest = page.size() < kPageRows;
    return prepend(std::move(page));
}

// Rows at the top; as many dropped at the bottom past kMaxRows.
int JournalModel::prepend(QList<JournalRecord> page)
{
    if (page.isEmpty())
        return 0;
    const int added = int(page.size());
    beginInsertRows(QModelIndex(), 0, added - 1);
    page.append(std::move(m_rows));
    m_rows = std::move(page);
    endInsertRows();
    const int excess = int(m_rows.size()) - kMaxRows;
    if (excess > 0) {
        beginRemoveRows(QModelIndex(), kMaxRows, int(m_rows.size()) - 1);
        m_rows.resize(kMaxRows);
        m_atNewest = false;
        endRemoveRows();
    }
    return added;
}

int JournalModel::readNewer()
{
    if (m_teamShown && !m_atNewest && !m_rows.isEmpty() && m_asked == Asked::Nothing)
        askTeam(Asked::Newer);
    QList<JournalRecord> page;
    if (m_teamShown || m_atNewest || m_rows.isEmpty() || !read(false, m_rows.last().id, kPageRows, &page))
        return 0;
    m_atNewest = page.size() < kPageRows;
    return append(page);
}

// Rows at the bottom; as many dropped at the top past kMaxRows.
int JournalModel::append(const QList<JournalRecord>& entries)
{
    if (entries.isEmpty())
        return 0;
    const int size = int(m_rows.size());
    beginInsertRows(QModelIndex(), size, size + int(entries.size()) - 1);
    m_rows.append(entries);
    endInsertRows();
    const int excess = int(m_rows.size()) - kMaxRows;
    if (excess <= 0)
        return 0;
    beginRemoveRows(QModelIndex(), 0, excess - 1);
    m_rows.remove(0, excess);
    m_atOldest = false;
    endRemoveRows();
    return -excess;
}

// The entries after the newest row, a page at a time up to a window's
// worth; past that the newest are a page away. The count is read again
// only when entries that pass came (or may have, below the window).
int JournalModel::refresh()
{
    if (m_teamShown) {   // this computer's new entries, at the bottom when it is the newest
        if (m_asked != Asked::Nothing) {
            m_refreshWanted = true;   // once the page asked for is in
        } else if (m_atNewest) {
            m_refreshRows = m_rows.isEmpty() ? -1 : 0;
            askTeam(m_rows.isEmpty() ? Asked::Newest : Asked::Newer);
        }
        if (m_ticket == 0)
            m_ticket = m_teamCounter->count(m_filter);
        return 0;
    }
    if (m_awaitingNewest) {   // read with the first page, and counted again
        m_refreshWanted = true;
        return 0;
    }
    int shift = 0;
    bool came = !m_atNewest;   // unknown below the window
    if (m_atNewest) {
        qint64 last = m_rows.isEmpty() ? 0 : m_rows.last().id;
        QList<JournalRecord> page;
        for (int read = 0; read < kMaxRows && this->read(false, last, kPageRows, &page); read += kPageRows) {
            came = came || !page.isEmpty();
            shift += append(page);
            if (page.size() < kPageRows)
                break;
            last = page.last().id;
            m_atNewest = read + kPageRows < kMaxRows;
        }
    }
    if (came || (m_count < 0 && !counting()))
        recount();
    return shift;
}

// The whole journal is counted at once from its ids; a narrowed one on the
// counting thread when there is one, once more after the count under way
// when entries came meanwhile.
void JournalModel::recount()
{
    if (!m_counter || m_filter.passesAll()) {
        m_ticket = 0;
        const qint64 count = m_store.countEntries(m_filter);
        takeCount(count, count < 0 ? m_store.lastError() : QString());
        return;
    }
    if (m_ticket != 0) {
        m_countAgain = true;
        return;
    }
    m_ticket = m_counter->request(m_filter, false);
}

// The newest entries that pass, shown while the rest are counted.
void JournalModel::takeNewest(const QList<JournalRecord>& entries)
{
    if (!m_awaitingNewest)
        return;   // another page was asked for meanwhile
    m_awaitingNewest = false;
    QList<JournalRecord> rows = entries;
    bool atOldest = entries.size() < kPageRows;
    QList<JournalRecord> since;
    if (std::exchange(m_refreshWanted, false)
        && read(false, rows.isEmpty() ? 0 : rows.last().id, kMaxRows, &since) && !since.isEmpty()) {
        rows.append(since);
        if (rows.size() > kMaxRows) {
            rows.remove(0, rows.size() - kMaxRows);
            atOldest = false;
        }
        m_countAgain = m_ticket != 0;
    }
    showPage(rows, atOldest, true);
}

void JournalModel::takeCount(qint64 count, const QString& error)
{
    m_ticket = 0;
    m_count = count;
    if (m_awaitingNewest) {   // the first page could not be read there
        m_awaitingNewest = false;
        if (count > 0)
            showNewest();
    }
    if (!error.isEmpty()) {
        m_error = error;
        emit failed();
    }
    if (m_countAgain) {
        m_countAgain = false;
        recount();
    }
    emit counted();
}

// One page at a time; a jump to an end overtakes a page at an edge.
void JournalModel::askTeam(Asked what)
{
    const bool older = what == Asked::Newest || what == Asked::Older;
    std::optional<JournalRecord> edge;
    if (what == Asked::Older)
        edge = m_rows.first();
    else if (what == Asked::Newer)
        edge = m_rows.last();
    m_asked = what;
    m_pageTicket = m_team->readPage(m_filter, older, edge, kPageRows);
}

void JournalModel::takeTeamPage(int ticket, const QList<JournalRecord>& entries, const QString& error)
{
    if (ticket != m_pageTicket || !m_teamShown)
        return;
    const Asked asked = std::exchange(m_asked, Asked::Nothing);
    if (!error.isEmpty()) {   // this computer's journal instead
        m_teamShown = false;
        emit teamUnavailable(error);
        setFilter(m_filter);
        return;
    }
    const bool whole = entries.size() == kPageRows;
    switch (asked) {
    case Asked::Newest:
        m_awaitingNewest = false;
        showPage(entries, !whole, true);
        break;
    case Asked::Oldest: showPage(entries, true, !whole); break;
    case Asked::Older:
        m_atOldest = !whole;
        emit rowsAdded(prepend(entries));
        break;
    case Asked::Newer:
        m_atNewest = !whole;
        emit rowsAdded(append(entries));
        break;
    case Asked::Nothing: break;
    }
    // New entries are read a page at a time up to a window's worth, as here.
    if (asked == Asked::Newer && m_refreshRows >= 0 && whole && (m_refreshRows += kPageRows) < kMaxRows)
        return askTeam(Asked::Newer);
    m_refreshRows = -1;
    if (std::exchange(m_refreshWanted, false))
        refresh();
}

void JournalModel::takeTeamCount(int ticket, qint64 count, const QString&)
{
    if (ticket != m_ticket || !m_teamShown)
        return;
    m_ticket = 0;
    m_count = count;   // -1 when the server could not count: the pages say why
    emit counted();
}

int JournalModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

const JournalRecord* JournalModel::record(int row) const
{
    return row >= 0 && row < m_rows.size() ? &m_rows.at(row) : nullptr;
}

QVariant JournalModel::data(const QModelIndex& index, int role) const
{
    const JournalRecord* entry = index.isValid() ? record(index.row()) : nullptr;
    if (!entry)
        return {};
    if (role == kRecordRole)
        return entry->line();
    if (role != Qt::DisplayRole)
        return {};
    if (entry->text.size() <= kShownLength)
        return entry->line();
    // Only the head of a long line is put together, measured and painted.
    JournalRecord head = *entry;
    head.text = entry->text.left(kShownLength) + QChar(0x2026);
    return head.line();
}
