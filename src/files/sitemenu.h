// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "files/sitebook.h"
#include "store/teamsitelink.h"

#include <QHash>
#include <QObject>

#include <functional>
#include <memory>

class Connection;
class SiteEditor;
struct Form1Context;

// The Sites menu: the site book, kept in the store, its dialog, and the
// sites used most recently, newest first. The book is read again each time
// the menu or the dialog opens. In a team (the settings hold its URI) the
// book is the store's copy of the team's, read from the server on the
// link's thread and kept as the copy whenever it answers; changes go to
// the server. While it cannot be reached the copy is read only. Team...
// joins a team database or leaves it.
class SiteMenu : public QObject {
    Q_OBJECT
public:
    using Answered = std::function<void(const TeamSites::Answer&)>;

    SiteMenu(Form1Context& ctx, Connection& connection, Store& store, QObject* parent = nullptr);
    ~SiteMenu() override;

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

    bool inTeam() const { return !m_book.team().isEmpty(); }
    // In a team whose server did not answer the last time it was asked.
    bool readOnly() const { return inTeam() && m_offline; }
    QString offlineReason() const { return m_offlineReason; }
    // Asks the team's server for its book; bookChanged or teamStateChanged follow.
    void readTeam();
    // Sends a change to the team's server; answered hears how it went, and
    // the site in use follows a rename or a delete that was made.
    void sendToTeam(TeamSiteLink::Kind kind, const Site& site, Answered answered);
    // In a team the editor saves to the server, and stays open until it answers.
    void saveThroughTeam(SiteEditor& editor);
    // Removes the site from the team's book; a refusal is told in a box.
    void removeFromTeam(const Site& site);

signals:
    // A team database was joined or left in the Team dialog.
    void teamChanged();
    // The book was read again from the team's server.
    void bookChanged();
    // The team's server answered, or did not.
    void teamStateChanged();

private:
    void showRecent();
    void followTeam();
    void teamRead(const QList<Site>& sites);
    void teamUnreachable(const QString& reason);
    void teamSaved(int request, const TeamSites::Answer& answer);
    void followSiteInUse(const QString& name, const QString& newName, bool removed);
    void tellRefused(Store::Change change, const QString& name, const QString& newName, const QString& error);

    Form1Context& m_ctx;
    Connection& m_connection;
    Store& m_store;
    SiteBook m_book;
    std::unique_ptr<TeamSiteLink> m_link;
    bool m_offline = false;
    QString m_offlineReason;
    QHash<int, Answered> m_waiting;
};
