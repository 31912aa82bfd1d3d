// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QTimer>

class QLabel;
class QPushButton;
class QTableWidget;
class SiteMenu;
struct Form1Context;

// The site book: the sites in a table, with New, Edit, Delete (after a
// question), Use and Close. Enter in the table and a double click use the
// current site; on a button, Enter presses that button. In a team it opens
// with the local copy of the team's book and shows the server's when it
// answers; while the server cannot be reached it says "offline: read only"
// and only Use and Close are enabled, and asks the server again a while
// after each try, so that it goes back online by itself.
class SiteBookDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int kOfflineRetryMs = 5000;

    SiteBookDialog(Form1Context& ctx, SiteMenu& menu, QWidget* parent = nullptr);

    void newSite();
    void editSite();
    void deleteSite();
    void useSite();

    QTableWidget* table = nullptr;
    QPushButton* newButton = nullptr;
    QPushButton* editButton = nullptr;
    QPushButton* deleteButton = nullptr;
    QPushButton* useButton = nullptr;
    QPushButton* closeButton = nullptr;
    QLabel* teamState = nullptr;

private:
    void build();
    void showSites(int current);
    void enableButtons();
    void showTeamState();
    void showTeamBook();
    int currentSite() const;

    Form1Context& m_ctx;
    SiteMenu& m_menu;
    QList<qint64> m_shownIds;   // the sites of the table's rows
    QTimer m_offlineRetry;
};
