// SPDX-License-Identifier: GPL-3.0-or-later
#include "sitemenu.h"

#include "files/fileerrorbox.h"
#include "files/sitebookdialog.h"
#include "files/siteeditor.h"
#include "files/siteuse.h"
#include "files/teamdialog.h"
#include "form/form1context.h"
#include "platform/clock.h"
#include "platform/prompter.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>

#include <optional>

namespace {
const QString kBookTitle = QStringLiteral("Site Book");

// A name as a menu caption: an ampersand in it is shown, not an access key.
QString caption(const QString& name)
{
    QString text = name;
    return text.replace(QLatin1Char('&'), QStringLiteral("&&"));
}
}   // namespace

SiteMenu::SiteMenu(Form1Context& ctx, Connection& connection, Store& store, QObject* parent)
    : QObject(parent), m_ctx(ctx), m_connection(connection), m_store(store), m_book(store)
{
    showRecent();
    connect(m_ctx.ui.sites, &QMenu::aboutToShow, this, [this] {
        readTeam();
        m_book.reload();
        showRecent();
    });
}

SiteMenu::~SiteMenu() = default;

void SiteMenu::loadBook()
{
    readTeam();
    if (!m_book.reload())
        m_ctx.platform.prompter.ask(
            fileErrorBox(QStringLiteral("The site book cannot be read.\n") + m_book.error(), kBookTitle));
    showRecent();
}

void SiteMenu::siteBook_Click()
{
    readTeam();
    m_book.reload();
    SiteBookDialog dialog(m_ctx, *this, m_ctx.window);
    dialog.exec();
    showRecent();
}

void SiteMenu::team_Click()
{
    TeamDialog dialog(m_ctx, m_store, m_ctx.window);
    connect(&dialog.teamJoin(), &TeamJoin::teamChanged, this, &SiteMenu::teamChanged);
    dialog.exec();
}

void SiteMenu::recentSite_Click(int number)
{
    const QList<Site> recent = m_book.recent();
    if (number >= 1 && number <= recent.size())
        use(m_book.indexOf(recent.at(number - 1).name));
}

bool SiteMenu::use(int index)
{
    if (index < 0 || index >= m_book.sites().size()
        || !useSite(m_ctx, m_connection, m_book.sites().at(index)))
        return false;
    const QString name = m_book.sites().at(index).name;
    changed(m_book.markUsed(index, m_ctx.platform.clock.now()), name);
    return true;
}

bool SiteMenu::changed(Store::Change change, const QString& name, const QString& newName)
{
    showRecent();
    if (change == Store::Change::Done) {
        followSiteInUse(name, newName, m_book.indexOf(newName.isEmpty() ? name : newName) < 0);
        return true;
    }
    tellRefused(change, name, newName, m_book.error());
    return false;
}

void SiteMenu::followSiteInUse(const QString& name, const QString& newName, bool removed)
{
    if (name.compare(m_ctx.siteInUse, Qt::CaseInsensitive) != 0)
        return;
    if (removed)
        m_ctx.setSiteInUse(QString());
    else if (!newName.isEmpty())
        m_ctx.setSiteInUse(newName, m_ctx.siteLine);
}

void SiteMenu::tellRefused(Store::Change change, const QString& name, const QString& newName,
                           const QString& error)
{
    QString prompt;
    switch (change) {
    case Store::Change::Changed:
        prompt =
            QStringLiteral("The site \"%1\" was changed by another copy of the program meanwhile, so your "
                           "change is not saved. The book now shows the site as it is.")
                .arg(name);
        break;
    case Store::Change::Gone:
        prompt =
            QStringLiteral("The site \"%1\" was deleted by another copy of the program meanwhile.").arg(name);
        break;
    case Store::Change::NameTaken:
        prompt =
            QStringLiteral("There is already a site named \"%1\".").arg(newName.isEmpty() ? name : newName);
        break;
    default: prompt = QStringLiteral("The site book could not be written.\n") + error; break;
    }
    m_ctx.platform.prompter.ask(fileErrorBox(prompt, kBookTitle));
}

// The link follows the settings: a team joined or left while the program
// runs is seen the next time the book is read.
void SiteMenu::followTeam()
{
    const QString team = m_ctx.settings.teamDatabase();
    if (team == m_book.team())
        return;
    m_link.reset();
    m_waiting.clear();
    m_offline = false;
    m_offlineReason.clear();
    m_book.setTeam(team);
    if (team.isEmpty())
        return;
    QString reason;
    const std::optional<TeamAddress> address = TeamAddress::read(team, &reason);
    if (!address) {
        teamUnreachable(reason);
        return;
    }
    m_link = std::make_unique<TeamSiteLink>(*address);
    connect(m_link.get(), &TeamSiteLink::sitesRead, this, &SiteMenu::teamRead);
    connect(m_link.get(), &TeamSiteLink::unreachable, this, &SiteMenu::teamUnreachable);
    connect(m_link.get(), &TeamSiteLink::saved, this, &SiteMenu::teamSaved);
}

void SiteMenu::readTeam()
{
    followTeam();
    if (m_link)
        m_link->read();
}

void SiteMenu::teamRead(const QList<Site>& sites)
{
    m_offline = false;
    m_offlineReason.clear();
    m_book.keepTeamSites(sites);
    showRecent();
    emit teamStateChanged();
    emit bookChanged();
}

void SiteMenu::teamUnreachable(const QString& reason)
{
    m_offline = true;
    m_offlineReason = reason;
    emit teamStateChanged();
}

void SiteMenu::sendToTeam(TeamSiteLink::Kind kind, const Site& site, Answered answered)
{
    if (!m_link) {
        answered(TeamSites::Answer{Store::Change::Failed, Site(), m_offlineReason});
        return;
    }
    const int index = m_book.indexOfId(site.id);
    const QString name =
        kind != TeamSiteLink::Kind::Add && index >= 0 ? m_book.sites().at(index).name : site.name;
    m_waiting.insert(m_link->save(kind, site),
                     [this, kind, name, answered = std::move(answered)](const TeamSites::Answer& answer) {
                         if (answer.change == Store::Change::Done)
                             followSiteInUse(name, answer.site.name, kind == TeamSiteLink::Kind::Remove);
                         answered(answer);
                     });
}

void SiteMenu::saveThroughTeam(SiteEditor& editor)
{
    if (!inTeam())
        return;
    editor.sendWith([this](TeamSiteLink::Kind kind, const Site& site, Answered answered) {
        sendToTeam(kind, site, std::move(answered));
    });
}

void SiteMenu::removeFromTeam(const Site& site)
{
    sendToTeam(TeamSiteLink::Kind::Remove, site, [this, name = site.name](const TeamSites::Answer& answer) {
        if (answer.change != Store::Change::Done)
            tellRefused(answer.change, name, QString(), answer.error);
    });
}

void SiteMenu::teamSaved(int request, const TeamSites::Answer& answer)
{
    const Answered answered = m_waiting.take(request);
    if (answered)
        answered(answer);
}

void SiteMenu::showRecent()
{
    const QList<Site> recent = m_book.recent();
    const QList<QAction*>& items = m_ctx.ui.recentSites;
    for (int i = 0; i < items.size(); ++i) {
        const bool shown = i < recent.size();
        items.at(i)->setVisible(shown);
        items.at(i)->setText(shown ? caption(recent.at(i).name) : QString());
    }
}
