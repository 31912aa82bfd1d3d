// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "store/site.h"
#include "store/store.h"

#include <QList>
#include <QString>

// The sites, kept in the store, as last read from it, in name order. Every
// change is one transaction on one site, and the book is read again after
// it, so that what another running copy of the program changed shows too.
class SiteBook {
public:
    static constexpr int kRecentCount = 9;

    explicit SiteBook(Store& store);

    // Reads the sites again; false, with the reason in error(), when they cannot be read.
    bool reload();
    QString error() const { return m_error; }

    const QList<Site>& sites() const { return m_sites; }
    int indexOf(const QString& name) const;

    // Why the site cannot be kept at index (-1 for a new site); empty when it can.
    QString problemWith(const Site& site, int index = -1) const;
    // Each leaves the book read again; the site must have no problem.
    Store::Change add(const Site& site);
    Store::Change replace(int index, const Site& site);
    Store::Change remove(int index);
    Store::Change markUsed(int index, const QDateTime& when);

    // The sites used most recently, newest first, at most kRecentCount.
    QList<Site> recent() const;

private:
    Store::Change afterChange(Store::Change change);

    Store& m_store;
    QList<Site> m_sites;
    QString m_error;
};
