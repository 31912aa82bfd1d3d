// SPDX-License-Identifier: GPL-3.0-or-later
#include "sitemenu.h"

#include "files/fileerrorbox.h"
#include "files/sitebookdialog.h"
#include "files/siteuse.h"
#include "files/teamdialog.h"
#include "form/form1context.h"
#include "platform/clock.h"
#include "platform/prompter.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>

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
        m_book.reload();
        showRecent();
    });
}

void SiteMenu::loadBook()
{
    if (!m_book.reload())
        m_ctx.platform.prompter.ask(
            fileErrorBox(QStringLiteral("The site book cannot be read.\n") + m_book.error(), kBookTitle));
    showRecent();
}

void SiteMenu::siteBook_Click()
{
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
        const bool inUse = name.compare(m_ctx.siteInUse, Qt::CaseInsensitive) == 0;
        if (inUse && m_book.indexOf(newName.isEmpty() ? name : newName) < 0)
            m_ctx.setSiteInUse(QString());
        else if (inUse && !newName.isEmpty())
            m_ctx.setSiteInUse(newName, m_ctx.siteLine);
        return true;
    }
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
    default: prompt = QStringLiteral("The site book could not be written.\n") + m_book.error(); break;
    }
    m_ctx.platform.prompter.ask(fileErrorBox(prompt, kBookTitle));
    return false;
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
