// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "files/sitebook.h"

#include <QObject>

class Connection;
struct Form1Context;

// The Sites menu: the site book, kept in the store, its dialog, and the
// sites used most recently, newest first. The book is read again each time
// the menu or the dialog opens. Team... joins a team database or leaves it.
class SiteMenu : public QObject {
    Q_OBJECT
public:
    SiteMenu(Form1Context& ctx, Connection& connection, Store& store, QObject* parent = nullptr);

    SiteBook& book() { return m_book; }

    // Reads the book; one that cannot be read gives one box.
    void loadBook();
    void siteBook_Click();
    void team_Click();
    // number: 1 for the newest of the recent sites.
    void recentSite_Click(int number);

    // Uses the book's site at index and records when; false when it was refused.
    bool use(int index);
    // After a change to the site named: a change the store refused is told
    // in a box; the site in use follows a rename or a delete. True when done.
    bool changed(Store::Change change, const QString& name, const QString& newName = QString());

signals:
    // A team database was joined or left in the Team dialog.
    void teamChanged();

private:
    void showRecent();

    Form1Context& m_ctx;
    Connection& m_connection;
    Store& m_store;
    SiteBook m_book;
};
