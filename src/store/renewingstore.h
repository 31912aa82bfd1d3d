// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "store/store.h"

#include <functional>
#include <memory>

// A store that deals with damage the same way for every caller: when a
// call finds the database damaged, it is kept aside and a new one started
// (renew()), `renewed` hears where it is kept, and the call is made again
// on the new database. A change to a site read from the damaged book is
// not made again: the new book does not have that site, so it fails.
class RenewingStore : public Store {
public:
    using Renewed = std::function<void(const QString& keptAs)>;

    RenewingStore(Store& store, Renewed renewed);
    RenewingStore(std::unique_ptr<Store> store, Renewed renewed);

    QString lastError() const override { return m_store.lastError(); }
    bool damaged() const override { return m_store.damaged(); }
    QString renew() override { return m_store.renew(); }

    bool appendEntries(QList<JournalRecord>& entries) override;
    bool readEntries(const JournalFilter& filter, qint64 afterId, int count,
                     QList<JournalRecord>* out) override;
    bool readEntriesBefore(const JournalFilter& filter, qint64 beforeId, int count,
                           QList<JournalRecord>* out) override;
    qint64 countEntries(const JournalFilter& filter) override;
    QStringList journalSites() override;
    QStringList journalOperators() override;
    bool readSites(QList<Site>* out) override;
    Change addSite(Site& site) override;
    Change updateSite(Site& site) override;
    Change removeSite(const Site& site) override;
    Change markSiteUsed(Site& site, const QDateTime& when) override;
    bool readTeamSites(const QString& team, QList<Site>* out) override;
    bool keepTeamSites(const QString& team, const QList<Site>& sites) override;
    Change markTeamSiteUsed(const QString& team, Site& site, const QDateTime& when) override;
    Import importOnce(const QString& what, QList<JournalRecord>& entries, QList<Site>& sites) override;
    QString installationId() override;
    bool readShipped(const QString& team, qint64* lastId) override;
    bool setShipped(const QString& team, qint64 lastId) override;

private:
    bool renewedAfterDamage();
    template <typename Call>
    auto orAgain(Call call);

    std::unique_ptr<Store> m_owned;
    Store& m_store;
    Renewed m_renewed;
};
