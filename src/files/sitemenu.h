// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "files/sitebook.h"

#include <QObject>

class Connection;
struct Form1Context;

// The Sites menu: the site book, kept in the user's configuration folder,
// its dialog, and the sites used most recently, newest first.
class SiteMenu : public QObject {
    Q_OBJECT
public:
    SiteMenu(Form1Context& ctx, Connection& connection, QObject* parent = nullptr);

    SiteBook& book() { return m_book; }

    // Reads the book; a damaged or unreadable file gives one box and an empty book.
    void loadBook();
    void siteBook_Click();
    // number: 1 for the newest of the recent sites.
    void recentSite_Click(int number);

    // Uses the book's site at index and records when; false when it was refused.
    bool use(int index);
    // Writes the book; a failure is told in a box and the book is kept as it is.
    bool saveBook();
    // A site of the book was renamed: the site in use keeps its new name.
    void siteRenamed(const QString& oldName, const QString& newName);

private:
    void showRecent();

    Form1Context& m_ctx;
    Connection& m_connection;
    SiteBook m_book;
};
