// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "files/journalmodel.h"

#include <QDialog>

class DesktopOpener;
class Prompter;
class QComboBox;
class QLabel;
class QLineEdit;
class QListView;

// The journal, read-only: newest entry at the bottom, narrowed by site and
// by a search text; "Open Folder" shows its folder in the file manager.
class JournalView : public QDialog {
    Q_OBJECT
public:
    static const QString kAllSites;   // "All sites", the filter's first choice

    JournalView(const QString& folder, DesktopOpener& opener, Prompter& prompter, QWidget* parent = nullptr);

    // Reads the journal again and shows its newest entry.
    void reload();

    JournalModel& model() { return m_model; }
    QComboBox* siteBox() const { return m_site; }
    QLineEdit* searchField() const { return m_search; }
    QListView* entries() const { return m_entries; }

    void openFolder_Click();

private:
    void build();
    void fillSites();
    void applyFilter();
    void showCount();
    void warn(const QString& prompt);

    QString m_folder;
    DesktopOpener& m_opener;
    Prompter& m_prompter;
    JournalModel m_model;
    QComboBox* m_site = nullptr;
    QLineEdit* m_search = nullptr;
    QListView* m_entries = nullptr;
    QLabel* m_count = nullptr;
};
