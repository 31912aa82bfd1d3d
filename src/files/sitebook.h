// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>
#include <QList>
#include <QString>

// One building the technician calls: the port, the phone number and the
// modem setup string to use there, and free notes.
struct Site {
    QString name;
    int port = 1;
    QString phone;
    QString setup;
    QString notes;
    QDateTime lastUsed;   // invalid while the site has never been used

    bool operator==(const Site& other) const;
};

// The sites, kept in an INI file (one group per site) that is always
// replaced whole, so that a failed write leaves the previous book intact.
// The sites are held in name order.
class SiteBook {
public:
    static constexpr int kRecentCount = 9;

    struct LoadResult {
        enum class Outcome { Loaded, Missing, Damaged };
        Outcome outcome = Outcome::Missing;
        QString reason;   // what is wrong with a damaged file
        QString keptAs;   // where the damaged file was set aside; empty if it could not be
    };

    // path: the book's file; an empty path keeps the book in memory only.
    explicit SiteBook(QString path = QString());

    // <folder>/Velno/sites.ini
    static QString filePathUnder(const QString& configFolder);
    const QString& path() const { return m_path; }

    // Reads the file. A damaged or unreadable one leaves the book empty and is
    // renamed to sites.ini.bad (or .bad.2, .bad.3, ... when that is taken), so
    // nothing overwrites it.
    LoadResult load();
    // Writes the whole book; false, with the reason, when the file is unchanged.
    bool save(QString* error);

    const QList<Site>& sites() const { return m_sites; }
    int indexOf(const QString& name) const;

    // Why the site cannot be kept at index (-1 for a new site); empty when it can.
    QString problemWith(const Site& site, int index = -1) const;
    // Each returns the site's index afterwards. The site must have no problem.
    int add(const Site& site);
    int replace(int index, const Site& site);
    void remove(int index);
    void markUsed(int index, const QDateTime& when);

    // The sites used most recently, newest first, at most kRecentCount.
    QList<Site> recent() const;

private:
    int insertSorted(const Site& site);
    QString setAside() const;

    QString m_path;
    QList<Site> m_sites;
    bool m_fileDamagedInPlace = false;   // a damaged file that could not be set aside
};
