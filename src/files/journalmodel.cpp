// SPDX-License-Identifier: GPL-3.0-or-later
#include "journalmodel.h"

#include "store/store.h"

#include <QChar>

JournalModel::JournalModel(Store& store, QObject* parent) : QAbstractListModel(parent), m_store(store) {}

void JournalModel::setFilter(const JournalFilter& filter)
{
    beginResetModel();
    m_filter = filter;
    m_pages.clear();
    m_error.clear();
    const qint64 count = m_store.countEntries(filter);
    m_count = std::max<qint64>(0, count);
    if (count < 0)
        m_error = m_store.lastError();
    endResetModel();
}

void JournalModel::refresh()
{
    const qint64 count = m_store.countEntries(m_filter);
    if (count <= m_count)
        return;
    m_pages.remove(m_count / kPageRows);   // the last page, read while shorter
    beginInsertRows(QModelIndex(), int(m_count), int(count - 1));
    m_count = count;
    endInsertRows();
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
    const QString line = entry->line();
    return line.size() > kShownLength ? line.left(kShownLength) + QChar(0x2026) : line;
}
