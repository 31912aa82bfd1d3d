// SPDX-License-Identifier: GPL-3.0-or-later
#include "sitebook.h"

#include "core/commandline.h"
#include "platform/oneline.h"

#include <algorithm>
#include <iterator>
#include <tuple>

namespace {

// Marks that set the site apart from the text in a journal line.
const QStringList kRecordMarks = {QStringLiteral(" > "), QStringLiteral(" * ")};

// Why a name could be taken for something else in a record; empty when it cannot.
QString confusion(const QString& name)
{
    if (name == QStringLiteral("-"))
        return QStringLiteral("\"-\" stands for no site in the journal; please choose another name.");
    if (name != name.trimmed())
        return QStringLiteral("The name must not start or end with a blank.");
    for (const QString& mark : kRecordMarks) {
        if (name.contains(mark))
            return QStringLiteral("The name must not hold \"%1\": in the journal it marks what follows the "
                                  "site.")
                .arg(mark.trimmed());
    }
    return QString();
}

}   // namespace

SiteBook::SiteBook(Store& store) : m_store(store) {}

void SiteBook::setTeam(const QString& team)
{
    m_team = team;
}

bool SiteBook::keepTeamSites(const QList<Site>& sites)
{
    if (!m_store.keepTeamSites(m_team, sites)) {
        m_error = m_store.lastError();
        return false;
    }
    return reload();
}

bool SiteBook::reload()
{
    QList<Site> sites;
    const bool read = m_team.isEmpty() ? m_store.readSites(&sites) : m_store.readTeamSites(m_team, &sites);
    if (!read) {
        m_error = m_store.lastError();
        return false;
    }
    std::stable_sort(sites.begin(), sites.end(), [](const Site& a, const Site& b) {
        return a.name.compare(b.name, Qt::CaseInsensitive) < 0;
    });
    m_sites = sites;
    m_error.clear();
    return true;
}

int SiteBook::indexOf(const QString& name) const
{
    for (int i = 0; i < m_sites.size(); ++i) {
        if (m_sites.at(i).name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

int SiteBook::indexOfId(qint64 id) const
{
    for (int i = 0; i < m_sites.size(); ++i) {
        if (m_sites.at(i).id == id)
            return i;
    }
    return -1;
}

QString SiteBook::problemWith(const Site& site, int index) const
{
    if (site.name.trimmed().isEmpty())
        return QStringLiteral("Please give the site a name.");
    const int same = indexOf(site.name);
    if (same >= 0 && same != index)
        return QStringLiteral("There is already a site named \"%1\".").arg(m_sites.at(same).name);
    if (site.port < 1 || site.port > 4)
        return QStringLiteral("The port must be 1, 2, 3 or 4.");
    if (OneLine::holdsControl(site.name))
        return QStringLiteral("The name must be one line.");
    const QString confused = confusion(site.name);
    if (!confused.isEmpty())
        return confused;
    if (!CommandLine::fits(site.phone) || !CommandLine::fits(site.setup))
        return QStringLiteral("The phone number and the modem setting must each be one line of "
                              "characters that can be sent to the panel.");
    return QString();
}

Store::Change SiteBook::afterChange(Store::Change change)
{
    const QString error = m_store.lastError();
    reload();
    if (change == Store::Change::Failed)
        m_error = error;
    return change;
}

Store::Change SiteBook::add(const Site& site)
{
    Site added = site;
    return afterChange(m_store.addSite(added));
}

Store::Change SiteBook::replace(int index, const Site& site)
{
    Site changed = site;
    changed.id = m_sites.at(index).id;
    changed.version = m_sites.at(index).version;
    return afterChange(m_store.updateSite(changed));
}

Store::Change SiteBook::remove(int index)
{
    return afterChange(m_store.removeSite(m_sites.at(index)));
}

Store::Change SiteBook::markUsed(int index, const QDateTime& when)
{
    return afterChange(m_team.isEmpty() ? m_store.markSiteUsed(m_sites[index], when)
                                        : m_store.markTeamSiteUsed(m_team, m_sites[index], when));
}

QList<Site> SiteBook::recent() const
{
    QList<Site> used;
    std::copy_if(m_sites.begin(), m_sites.end(), std::back_inserter(used),
                 [](const Site& s) { return s.lastUsed.isValid(); });
    std::stable_sort(used.begin(), used.end(),
                     [](const Site& a, const Site& b) { return a.lastUsed > b.lastUsed; });
    return used.mid(0, kRecentCount);
}

QString SiteBook::differences(const Site& yours, const Site& now)
{
    const QList<std::tuple<QString, QString, QString>> fields = {
        {QStringLiteral("Name"), yours.name, now.name},
        {QStringLiteral("Port"), QString::number(yours.port), QString::number(now.port)},
        {QStringLiteral("Phone Number"), yours.phone, now.phone},
        {QStringLiteral("Modem Setting"), yours.setup, now.setup},
        {QStringLiteral("Notes"), yours.notes, now.notes},
    };
    QStringList lines;
    for (const auto& [field, mine, theirs] : fields) {
        if (mine != theirs)
            lines << QStringLiteral("%1: yours \"%2\", now \"%3\"").arg(field, mine, theirs);
    }
    return lines.join(u'\n');
}

QString SiteBook::teamRefusal(const Site& sent, const TeamSites::Answer& answer)
{
    switch (answer.change) {
    case Store::Change::Changed:
        return QStringLiteral(
                   "The site \"%1\" was changed in the team's site book meanwhile, so your change is "
                   "not saved. Your edit is kept: OK saves it over the site as it is now, Cancel "
                   "discards it.\n\n%2")
            .arg(sent.name, differences(sent, answer.site));
    case Store::Change::Gone:
        return QStringLiteral(
                   "The site \"%1\" was deleted from the team's site book meanwhile, so your change "
                   "is not saved. Your edit is kept: OK adds the site again, Cancel discards it.")
            .arg(sent.name);
    case Store::Change::NameTaken:
        return QStringLiteral("There is already a site named \"%1\" in the team's site book.").arg(sent.name);
    default:
        return QStringLiteral("The team's site book could not be written, so your change is not saved; your "
                              "edit is kept.\n")
            + answer.error;
    }
}
