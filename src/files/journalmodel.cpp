// SPDX-License-Identifier: GPL-3.0-or-later
#include "journalmodel.h"

#include "store/journalcounter.h"
#include "store/store.h"

#include <QChar>

JournalModel::JournalModel(Store& store, const JournalWriter::StoreMaker& countStore, QObject* parent)
    : QAbstractListModel(parent), m_store(store)
{
    if (!countStore)
        return;
    m_counter = std::make_unique<JournalCounter>(countStore);
    connect(m_counter.get(), &JournalCounter::counted, this, [this](int ticket, qint64 count, const QString& error) {
        if (ticket == m_ticket)
            takeCount(count, m_freshCount, error);
    });
    connect(m_counter.get(), &JournalCounter::newestRead, this,
            [this](int ticket, const QList<JournalRecord>& entries) {
                if (ticket == m_ticket)
                    takeNewest(entries);
            });
}

JournalModel::~JournalModel() = default;

void JournalModel::setFilter(const JournalFilter& filter)
{
    beginResetModel();
    m_filter = filter;
    m_pages.clear();
    m_count = 0;
    endResetModel();
    count(true);
}

void JournalModel::refresh()
{
    if (!counting())
        count(false);
}

// The whole journal is counted at once from its ids; a narrowed one on the
// counting thread when there is one.
void JournalModel::count(bool fresh)
{
    if (!m_counter || m_filter.passesAll()) {
        m_ticket = 0;
        const qint64 count = m_store.countEntries(m_filter);
        takeCount(count, fresh, count < 0 ? m_store.lastError() : QString());
        return;
    }
    m_freshCount = fresh;
    m_ticket = m_counter->request(m_filter, fresh);
}

// The newest entries that pass, shown while the rest are counted.
void JournalModel::takeNewest(const QList<JournalRecord>& entries)
{
    beginResetModel();
    m_pages.clear();
    m_count = entries.size();
    if (!entries.isEmpty())
        m_pages.insert(0, entries);
    endResetModel();
    emit counted();
}

void JournalModel::takeCount(qint64 count, bool fresh, const QString& error)
{
    m_ticket = 0;
    m_error = error;
    if (fresh && (count > m_count || count < 0)) {
        beginResetModel();
        m_pages.clear();
        m_count = std::max<qint64>(0, count);
        endResetModel();
    } else if (count > m_count) {
        m_pages.remove(m_count / kPageRows);   // the last page, read while shorter
        beginInsertRows(QModelIndex(), int(m_count), int(count - 1));
        m_count = count;
        endInsertRows();
    }
    emit counted();
}

int JournalModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(std::min<qint64>(m_count, INT_MAX));
}

// A page from whichever end of the journal is nearer: the newest rows,
// where the view opens, are read as quickly as the oldest.
const QList<JournalRecord>* JournalModel::page(qint64 number) const
{
    auto found = m_pages.constFind(number);
    if (found != m_pages.constEnd())
        return &found.value();
    if (m_pages.size() >= kKeptPages)
        m_pages.clear();
    const qint64 first = number * kPageRows;
    const int rows = int(std::min<qint64>(kPageRows, m_count - first));
    const bool fromNewest = first > m_count / 2;
    const qint64 skip = fromNewest ? m_count - first - rows : first;
    QList<JournalRecord> records;
    if (!m_store.readEntriesAt(m_filter, skip, rows, fromNewest, &records))
        m_error = m_store.lastError();
    return &m_pages.insert(number, records).value();
}

const JournalRecord* JournalModel::record(int row) const
{
    if (row < 0 || row >= m_count)
        return nullptr;
    const QList<JournalRecord>* rows = page(row / kPageRows);
    const int at = row % kPageRows;
    return at < rows->size() ? &rows->at(at) : nullptr;
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
