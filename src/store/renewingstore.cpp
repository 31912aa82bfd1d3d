// SPDX-License-Identifier: GPL-3.0-or-later
#include "renewingstore.h"

RenewingStore::RenewingStore(Store& store, Renewed renewed) : m_store(store), m_renewed(std::move(renewed)) {}

RenewingStore::RenewingStore(std::unique_ptr<Store> store, Renewed renewed)
    : m_owned(std::move(store)), m_store(*m_owned), m_renewed(std::move(renewed))
{}

// Whether the call may be made again: the store went on to a new database.
// The connection that sets the damaged one aside tells where, once; one
// that finds it set aside already only follows.
bool RenewingStore::renewedAfterDamage()
{
    if (!m_store.damaged())
        return false;
    const QString keptAs = m_store.renew();
    if (!keptAs.isEmpty())
        m_renewed(keptAs);
    return !m_store.damaged();
}

template <typename Call>
auto RenewingStore::orAgain(Call call)
{
    auto result = call();
    if (renewedAfterDamage())
        result = call();
    return result;
}

bool RenewingStore::appendEntries(QList<JournalRecord>& entries)
{
    return orAgain([&] { return m_store.appendEntries(entries); });
}

bool RenewingStore::readEntries(const JournalFilter& filter, qint64 afterId, int count,
                                QList<JournalRecord>* out)
{
    return orAgain([&] { return m_store.readEntries(filter, afterId, count, out); });
}

bool RenewingStore::readEntriesBefore(const JournalFilter& filter, qint64 beforeId, int count,
                                      QList<JournalRecord>* out)
{
    return orAgain([&] { return m_store.readEntriesBefore(filter, beforeId, count, out); });
}

qint64 RenewingStore::countEntries(const JournalFilter& filter)
{
    return orAgain([&] { return m_store.countEntries(filter); });
}

QStringList RenewingStore::journalSites()
{
    return orAgain([&] { return m_store.journalSites(); });
}

QStringList RenewingStore::journalOperators()
{
    return orAgain([&] { return m_store.journalOperators(); });
}

bool RenewingStore::readSites(QList<Site>* out)
{
    return orAgain([&] { return m_store.readSites(out); });
}

Store::Change RenewingStore::addSite(Site& site)
{
    return orAgain([&] { return m_store.addSite(site); });
}

Store::Change RenewingStore::updateSite(Site& site)
{
    const Change change = m_store.updateSite(site);
    renewedAfterDamage();
    return change;
}

Store::Change RenewingStore::removeSite(const Site& site)
{
    const Change change = m_store.removeSite(site);
    renewedAfterDamage();
    return change;
}

Store::Change RenewingStore::markSiteUsed(Site& site, const QDateTime& when)
{
    const Change change = m_store.markSiteUsed(site, when);
    renewedAfterDamage();
    return change;
}

Store::Import RenewingStore::importOnce(const QString& what, QList<JournalRecord>& entries,
                                        QList<Site>& sites)
{
    return orAgain([&] { return m_store.importOnce(what, entries, sites); });
}

QString RenewingStore::installationId()
{
    return orAgain([&] { return m_store.installationId(); });
}

bool RenewingStore::readShipped(const QString& team, qint64* lastId)
{
    return orAgain([&] { return m_store.readShipped(team, lastId); });
}

bool RenewingStore::setShipped(const QString& team, qint64 lastId)
{
    return orAgain([&] { return m_store.setShipped(team, lastId); });
}

bool RenewingStore::readTeamSites(const QString& team, QList<Site>* out)
{
    return orAgain([&] { return m_store.readTeamSites(team, out); });
}

bool RenewingStore::keepTeamSites(const QString& team, const QList<Site>& sites)
{
    return orAgain([&] { return m_store.keepTeamSites(team, sites); });
}

Store::Change RenewingStore::markTeamSiteUsed(const QString& team, Site& site, const QDateTime& when)
{
    const Change change = m_store.markTeamSiteUsed(team, site, when);
    renewedAfterDamage();
    return change;
}
