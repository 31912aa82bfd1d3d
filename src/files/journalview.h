// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "files/journalmodel.h"

#include <QDialog>
#include <QTimer>

class Prompter;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QTableView;
class QPlainTextEdit;
class Store;

// The journal, read-only: newest entry at the bottom, narrowed by site,
// operator, dates and a search text; the chosen entry in full below. The
// list shows the model's window on the entries that pass, moved a page at
// a time as its ends are reached; how many pass is said beneath it.
class JournalView : public QDialog {
    Q_OBJECT
public:
    static const QString kAllSites;   // "All sites", the site filter's first choice
    static const QString kAllOperators;   // "All operators"
    static const QString kNoSite;   // "-", the entries made with no site in use
    static constexpr int kSearchPauseMs = 250;

    // countStore: a connection for counting on a thread of its own; none: counted here.
    JournalView(Store& store, Prompter& prompter, const JournalWriter::StoreMaker& countStore = {},
                QWidget* parent = nullptr);

    // In a team: shows the team's journal, read on a thread of its own,
    // with a choice of this computer's alone (localOnlyBox()); `local`
    // opens this computer's store there for its entries not shipped yet.
    void showTeam(const TeamAddress& address, const QString& team, const JournalWriter::StoreMaker& local);

    // Reads the choices and the entries again and shows the newest entry.
    void reload();
    // Adds the entries written since.
    void refresh();

    JournalModel& model() { return m_model; }
    QComboBox* siteBox() const { return m_site; }
    QComboBox* operatorBox() const { return m_operator; }
    QLineEdit* sinceField() const { return m_since; }
    QLineEdit* untilField() const { return m_until; }
    QLineEdit* searchField() const { return m_search; }
    QTableView* entries() const { return m_entries; }
    QPlainTextEdit* details() const { return m_details; }
    QCheckBox* localOnlyBox() const { return m_localOnly; }
    QLabel* teamNotice() const { return m_teamNotice; }
    // The search waits for a pause in typing; this runs it at once.
    void searchNow();

private:
    void build();
    void fillChoices();
    void fillChoices(const QStringList& sites, const QStringList& operators);
    JournalFilter filter() const;
    void applyFilter();
    void showCount();
    void showDetails();
    void showRows();
    // The rows at the ends of the list are the model's window: reaching
    // one reads the next page there, the same entries left in sight.
    void readAtEdge();
    void keepPlace(int rowsAbove);
    void showOldest();
    void showNewest();
    bool eventFilter(QObject* watched, QEvent* event) override;

    Store& m_store;
    Prompter& m_prompter;
    JournalModel m_model;
    QTimer m_searchPause;
    QComboBox* m_site = nullptr;
    QComboBox* m_operator = nullptr;
    QLineEdit* m_since = nullptr;
    QLineEdit* m_until = nullptr;
    QLineEdit* m_search = nullptr;
    QTableView* m_entries = nullptr;
    QPlainTextEdit* m_details = nullptr;
    QLabel* m_count = nullptr;
    QCheckBox* m_localOnly = nullptr;
    QLabel* m_teamNotice = nullptr;
    bool m_followNewest = true;   // the newest entry is the chosen one
    bool m_moving = false;   // the window is being moved
};
