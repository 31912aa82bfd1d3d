// SPDX-License-Identifier: GPL-3.0-or-later
#include "sitemenu.h"

#include "files/fileerrorbox.h"
#include "files/sitebookdialog.h"
#include "files/siteuse.h"
#include "form/form1context.h"
#include "platform/clock.h"
#include "platform/prompter.h"

#include <QAction>
#include <QDir>
#include <QMainWindow>

namespace {
const QString kBookTitle = QStringLiteral("Site Book");

// A name as a menu caption: an ampersand in it is shown, not an access key.
QString caption(const QString& name)
{
    QString text = name;
    return text.replace(QLatin1Char('&'), QStringLiteral("&&"));
}
}   // namespace

SiteMenu::SiteMenu(Form1Context& ctx, Connection& connection, QObject* parent)
    : QObject(parent),
      m_ctx(ctx),
      m_connection(connection),
      m_book(ctx.platform.configFolder.isEmpty() ? QString()
                                                 : SiteBook::filePathUnder(ctx.platform.configFolder))
{
    showRecent();
}

void SiteMenu::loadBook()
{
    const SiteBook::LoadResult result = m_book.load();
    if (result.outcome == SiteBook::LoadResult::Outcome::Damaged) {
        MessageBox box;
        box.prompt = QStringLiteral("The site book %1 cannot be read, so the book starts empty.")
                         .arg(QDir::toNativeSeparators(m_book.path()));
        box.detail = result.reason + QLatin1Char('\n')
            + (result.keptAs.isEmpty()
                   ? QStringLiteral("The file could not be set aside and is left as it is.")
                   : QStringLiteral("The file is kept as %1.").arg(QDir::toNativeSeparators(result.keptAs)));
        box.title = kBookTitle;
        box.icon = MessageBox::Icon::Exclamation;
        m_ctx.platform.prompter.ask(box);
    }
    showRecent();
}

void SiteMenu::siteBook_Click()
{
    SiteBookDialog dialog(m_ctx, *this, m_ctx.window);
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
    m_book.markUsed(index, m_ctx.platform.clock.now());
    saveBook();
    return true;
}

bool SiteMenu::saveBook()
{
    QString error;
    const bool saved = m_book.save(&error);
    if (!saved)
        m_ctx.platform.prompter.ask(fileErrorBox(
            QStringLiteral("The site book could not be saved; the changes last until the program ends.\n")
                + error,
            kBookTitle));
    showRecent();
    return saved;
}

void SiteMenu::siteRenamed(const QString& oldName, const QString& newName)
{
    if (oldName == m_ctx.siteInUse)
        m_ctx.setSiteInUse(newName);
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
