// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "store/journalfilter.h"
#include "store/journalrecord.h"
#include "store/journalwriter.h"

#include <QAbstractListModel>
#include <QHash>
#include <QList>

#include <memory>

class JournalCounter;
class Store;

// The journal's entries for reading, oldest first, one row per entry,
// narrowed by a filter. Rows are read from the store a page at a time as
// the view asks for them, never the whole journal. Only the count of the
// entries that pass is read whole: for a narrowed journal on a thread of
// its own when one is given, the rows coming once it is known.
class JournalModel : public QAbstractListModel {
    Q_OBJECT
public:
    static constexpr int kPageRows = 200;
    static constexpr int kKeptPages = 64;
    static constexpr int kShownLength = 400;   // a longer text is cut in the list, whole below it
    static constexpr int kRecordRole = Qt::UserRole;

    // countStore: opens the counting thread's connection; none: counts here.
    explicit JournalModel(Store& store, const JournalWriter::StoreMaker& countStore = {},
                          QObject* parent = nullptr);
    ~JournalModel() override;

    void setFilter(const JournalFilter& filter);
    // A count is on its way: the rows shown are none yet, or only the
    // newest of the filter's.
    bool counting() const { return m_ticket != 0; }
    const JournalFilter& filter() const { return m_filter; }
    // Reads the count again: entries written since are added at the end.
    void refresh();
    // Why the journal could not be read; empty when it could.
    QString error() const { return m_error; }

    const JournalRecord* record(int row) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

signals:
    // The rows of the filter are known, after setFilter() or when new entries came.
    void counted();

private:
    const QList<JournalRecord>* page(qint64 number) const;
    void count(bool fresh);
    void takeCount(qint64 count, bool fresh, const QString& error);
    void takeNewest(const QList<JournalRecord>& entries);

    Store& m_store;
    JournalFilter m_filter;
    qint64 m_count = 0;
    std::unique_ptr<JournalCounter> m_counter;
    int m_ticket = 0;            // of the count awaited, 0 for none
    bool m_freshCount = false;   // the count awaited is for a new filter
    mutable QHash<qint64, QList<JournalRecord>> m_pages;
    mutable QString m_error;
};
