// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "store/site.h"
#include "store/store.h"
#include "store/teamsites.h"

#include <QList>
#include <QString>

// The sites, kept in the store, as last read from it, in name order. Every
// change is one transaction on one site, and the book is read again after
// it, so that what another running copy of the program changed shows too.
// In a team the book is the store's copy of the team's: changes go to the
// team's server (see SiteMenu), and only the time of use is kept here.
class SiteBook {
public:
    static constexpr int kRecentCount = 9;

    explicit SiteBook(Store& store);

    // The team's URI, whose copy the book is from now on; empty: the store's own book.
    void setTeam(const QString& team);
    const QString& team() const { return m_team; }
    // The team's book as its server gave it: kept as the copy, then read again.
    bool keepTeamSites(const QList<Site>& sites);

    // Reads the sites again; false, with the reason in error(), when they cannot be read.
    bool reload();
    QString error() const { return m_error; }

    const QList<Site>& sites() const { return m_sites; }
    int indexOf(const QString& name) const;
    int indexOfId(qint64 id) const;

    // Why the site cannot be kept at index (-1 for a new site); empty when it can.
    QString problemWith(const Site& site, int index = -1) const;
    // Each leaves the book read again; the site must have no problem. Not
    // in a team, but markUsed.
    Store::Change add(const Site& site);
    Store::Change replace(int index, const Site& site);
    Store::Change remove(int index);
    Store::Change markUsed(int index, const QDateTime& when);

    // The sites used most recently, newest first, at most kRecentCount.
    QList<Site> recent() const;

    // The fields in which two versions of a site differ, one a line:
    // Port: yours "3", now "4".
    static QString differences(const Site& yours, const Site& now);
    // Why the team's server did not save the site sent, and that the edit is kept.
    static QString teamRefusal(const Site& sent, const TeamSites::Answer& answer);

private:
    Store::Change afterChange(Store::Change change);

    Store& m_store;
    QString m_team;
    QList<Site> m_sites;
    QString m_error;
};
