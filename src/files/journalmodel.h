// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "store/journalfilter.h"
#include "store/journalrecord.h"
#include "store/journalwriter.h"

#include <QAbstractListModel>
#include <QList>

#include <memory>

class JournalCounter;
class Store;
class TeamPages;
struct TeamAddress;

// The journal's entries for reading, oldest first, one row per entry,
// narrowed by a filter. The rows are a window on the entries that pass: a
// run of them without gaps, at most kMaxRows, known by the ids at its ends;
// it grows a page at a time at either end (one query from the id at that
// end, however deep in the journal) and drops rows at the far end past
// kMaxRows. How many entries pass is counted apart, on a thread of its own
// when one is given, and is never the number of rows.
class JournalModel : public QAbstractListModel {
    Q_OBJECT
public:
    static constexpr int kPageRows = 200;
    static constexpr int kMaxRows = 50 * kPageRows;
    static constexpr int kShownLength = 400;   // a longer text is cut in the list, whole below it
    static constexpr int kRecordRole = Qt::UserRole;

    // countStore: opens the counting thread's connection, which also reads
    // a new filter's newest page; none: all is read here.
    explicit JournalModel(Store& store, const JournalWriter::StoreMaker& countStore = {},
                          QObject* parent = nullptr);
    ~JournalModel() override;

    // In a team: the team's journal is shown in place of the local one
    // while teamShown(), read on a thread of its own (TeamPages); its pages
    // and counts come later, and readOlder() and readNewer() then return 0
    // and tell the rows added above by rowsAdded(). A server that cannot be
    // read gives the local journal back, said by teamUnavailable().
    void setTeam(const TeamAddress& address, const QString& team, const JournalWriter::StoreMaker& local);
    void showTeam(bool shown);
    bool inTeam() const { return m_team != nullptr; }
    bool teamShown() const { return m_teamShown; }

    // Shows the newest page of the filter's entries, once read.
    void setFilter(const JournalFilter& filter);
    const JournalFilter& filter() const { return m_filter; }
    // The filter's first page is still being read.
    bool reading() const { return m_awaitingNewest; }
    // A count is on its way.
    bool counting() const { return m_ticket != 0; }
    // How many entries pass the filter; -1 until counted.
    qint64 count() const { return m_count; }
    // The rows reach the oldest, or the newest, entry that passes.
    bool atOldest() const { return m_atOldest; }
    bool atNewest() const { return m_atNewest; }

    // The window moves to the oldest page, or the newest (a reset).
    void showOldest();
    void showNewest();
    // A page more at the top or the bottom, fewer rows at the other end
    // past kMaxRows. Returns the rows added above the rows that were
    // there (negative: dropped above them), for the view to scroll by.
    int readOlder();
    int readNewer();
    // Entries written since are added at the bottom when it is the newest,
    // and counted again. Returns as readNewer().
    int refresh();
    // Why the journal could not be read; empty when it could.
    QString error() const { return m_error; }

    const JournalRecord* record(int row) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

signals:
    // count() is known, after setFilter() or when new entries came.
    void counted();
    // A read failed; error() says why.
    void failed();
    // A team's page came at an end of the rows: rowsAbove as readOlder() returns.
    void rowsAdded(int rowsAbove);
    void teamUnavailable(const QString& reason);
    void teamChoicesRead(const QStringList& sites, const QStringList& operators);

private:
    void recount();
    void takeCount(qint64 count, const QString& error);
    void takeNewest(const QList<JournalRecord>& entries);
    void showPage(const QList<JournalRecord>& entries, bool atOldest, bool atNewest);
    bool read(bool older, qint64 edgeId, int rows, QList<JournalRecord>* out);
    int append(const QList<JournalRecord>& entries);
    int prepend(QList<JournalRecord> entries);
    // The team's pages: asked for here, placed when they come.
    enum class Asked { Nothing, Newest, Oldest, Older, Newer };
    void askTeam(Asked what);
    void takeTeamPage(int ticket, const QList<JournalRecord>& entries, const QString& error);
    void takeTeamCount(int ticket, qint64 count, const QString& error);

    Store& m_store;
    JournalFilter m_filter;
    QList<JournalRecord> m_rows;
    bool m_atOldest = true;
    bool m_atNewest = true;
    bool m_awaitingNewest = false;   // the counting thread reads the first page
    qint64 m_count = 0;
    std::unique_ptr<JournalCounter> m_counter;
    int m_ticket = 0;   // of the count awaited, 0 for none
    bool m_countAgain = false;   // entries came while counting
    bool m_refreshWanted = false;   // entries came while the first page (a team's: any page) was read
    int m_refreshRows = -1;   // read at the bottom of a team's journal for new entries; -1: none asked
    QString m_error;
    std::unique_ptr<TeamPages> m_team;
    std::unique_ptr<TeamPages> m_teamCounter;   // counts on a connection of its own
    bool m_teamShown = false;
    Asked m_asked = Asked::Nothing;
    int m_pageTicket = 0;
};
