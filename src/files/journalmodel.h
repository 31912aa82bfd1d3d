// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "store/journalfilter.h"
#include "store/journalrecord.h"

#include <QAbstractListModel>
#include <QHash>
#include <QList>

class Store;

// The journal's entries for reading, oldest first, one row per entry,
// narrowed by a filter. Rows are read from the store a page at a time as
// the view asks for them, never the whole journal; only the count of the
// entries that pass is read at once.
class JournalModel : public QAbstractListModel {
    Q_OBJECT
public:
    static constexpr int kPageRows = 200;
    static constexpr int kKeptPages = 64;
    static constexpr int kShownLength = 400;   // a longer text is cut in the list, whole below it
    static constexpr int kRecordRole = Qt::UserRole;

    explicit JournalModel(Store& store, QObject* parent = nullptr);

    void setFilter(const JournalFilter& filter);
    const JournalFilter& filter() const { return m_filter; }
    // Reads the count again: entries written since are added at the end.
    void refresh();
    // Why the journal could not be read; empty when it could.
    QString error() const { return m_error; }

    const JournalRecord* record(int row) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    const QList<JournalRecord>* page(qint64 number) const;

    Store& m_store;
    JournalFilter m_filter;
    qint64 m_count = 0;
    mutable QHash<qint64, QList<JournalRecord>> m_pages;
    mutable QString m_error;
};
