// SPDX-License-Identifier: GPL-3.0-or-later
#include "sitebookdialog.h"

#include "desktop/tabchain.h"
#include "files/siteeditor.h"
#include "files/sitemenu.h"
#include "form/form1context.h"
#include "platform/prompter.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {
const QStringList kColumns = {QStringLiteral("Name"), QStringLiteral("Port"), QStringLiteral("Phone Number"),
                              QStringLiteral("Modem Setting"), QStringLiteral("Notes")};

QPushButton* button(const char* objectName, const QString& caption, QWidget* parent)
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(objectName));
    return b;
}

// Notes are shown on one line in the table; the editor shows them whole.
QString oneLineOf(const QString& notes)
{
    return QString(notes).replace(QLatin1Char('\n'), QStringLiteral(" / "));
}
}   // namespace

SiteBookDialog::SiteBookDialog(Form1Context& ctx, SiteMenu& menu, QWidget* parent)
    : QDialog(parent), m_ctx(ctx), m_menu(menu)
{
    build();
    m_offlineRetry.setSingleShot(true);
    m_offlineRetry.setInterval(kOfflineRetryMs);
    connect(&m_offlineRetry, &QTimer::timeout, &m_menu, &SiteMenu::readTeam);
    showSites(0);
    showTeamState();
    connect(&m_menu, &SiteMenu::bookChanged, this, &SiteBookDialog::showTeamBook);
    connect(&m_menu, &SiteMenu::teamStateChanged, this, &SiteBookDialog::showTeamState);
}

void SiteBookDialog::build()
{
    setObjectName(QStringLiteral("SiteBook"));
    setWindowTitle(QStringLiteral("Site Book"));
    table = new QTableWidget(0, int(kColumns.size()), this);
    table->setObjectName(QStringLiteral("siteList"));
    table->setAccessibleName(QStringLiteral("Sites"));
    table->setHorizontalHeaderLabels(kColumns);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setTabKeyNavigation(false);   // Tab goes on to the buttons
    table->verticalHeader()->hide();
    table->horizontalHeader()->setStretchLastSection(true);
    table->setMinimumSize(560, 220);

    newButton = button("siteNew", QStringLiteral("&New..."), this);
    editButton = button("siteEdit", QStringLiteral("&Edit..."), this);
    deleteButton = button("siteDelete", QStringLiteral("&Delete"), this);
    useButton = button("siteUse", QStringLiteral("&Use"), this);
    closeButton = button("siteClose", QStringLiteral("&Close"), this);
    teamState = new QLabel(this);
    teamState->setObjectName(QStringLiteral("teamState"));
    useButton->setDefault(true);   // Enter in the table uses the current site
    connect(newButton, &QPushButton::clicked, this, &SiteBookDialog::newSite);
    connect(editButton, &QPushButton::clicked, this, &SiteBookDialog::editSite);
    connect(deleteButton, &QPushButton::clicked, this, &SiteBookDialog::deleteSite);
    connect(useButton, &QPushButton::clicked, this, &SiteBookDialog::useSite);
    connect(closeButton, &QPushButton::clicked, this, &SiteBookDialog::reject);
    connect(table, &QTableWidget::doubleClicked, this, &SiteBookDialog::useSite);
    connect(table, &QTableWidget::currentCellChanged, this, &SiteBookDialog::enableButtons);

    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {newButton, editButton, deleteButton, useButton})
        buttons->addWidget(b);
    buttons->addStretch(1);
    buttons->addWidget(closeButton);
    auto* column = new QVBoxLayout(this);
    column->addWidget(table, 1);
    column->addWidget(teamState);
    column->addLayout(buttons);
    setTabChain({table, newButton, editButton, deleteButton, useButton, closeButton});
}

void SiteBookDialog::showSites(int current)
{
    const QList<Site>& sites = m_menu.book().sites();
    m_shownIds.clear();
    for (const Site& site : sites)
        m_shownIds << site.id;
    table->setRowCount(int(sites.size()));
    for (int row = 0; row < sites.size(); ++row) {
        const Site& site = sites.at(row);
        const QStringList cells = {site.name, QString::number(site.port), site.phone, site.setup,
                                   oneLineOf(site.notes)};
        for (int column = 0; column < cells.size(); ++column)
            table->setItem(row, column, new QTableWidgetItem(cells.at(column)));
    }
    table->resizeColumnsToContents();
    if (!sites.isEmpty())
        table->setCurrentCell(qBound(0, current, int(sites.size()) - 1), 0);
    else
        table->setCurrentCell(-1, -1);
    table->setFocus();
    enableButtons();
}

void SiteBookDialog::enableButtons()
{
    const bool chosen = currentSite() >= 0;
    const bool editable = !m_menu.readOnly();
    newButton->setEnabled(editable);
    editButton->setEnabled(chosen && editable);
    deleteButton->setEnabled(chosen && editable);
    useButton->setEnabled(chosen);
}

void SiteBookDialog::showTeamState()
{
    const QString state = m_menu.readOnly() ? QStringLiteral("offline: read only") : QString();
    teamState->setText(state);
    teamState->setToolTip(m_menu.offlineReason());
    teamState->setVisible(!state.isEmpty());
    setAccessibleDescription(state);
    enableButtons();
    if (m_menu.readOnly())
        m_offlineRetry.start();   // a while after each failed try
    else
        m_offlineRetry.stop();
}

// The server's book came: the same site stays current.
void SiteBookDialog::showTeamBook()
{
    const int current = currentSite();
    const int same = current < 0 ? 0 : m_menu.book().indexOfId(m_shownIds.value(current));
    showSites(same < 0 ? current : same);
}

int SiteBookDialog::currentSite() const
{
    const int row = table->currentRow();
    return row >= 0 && row < m_menu.book().sites().size() ? row : -1;
}

void SiteBookDialog::newSite()
{
    if (m_menu.readOnly())
        return;
    SiteEditor editor(m_ctx, m_menu.book(), -1, this);
    m_menu.saveThroughTeam(editor);
    if (editor.exec() != QDialog::Accepted)
        return;
    const Site site = editor.site();
    if (m_menu.inTeam()) {   // saved; shown when the server's book comes
        showTeamBook();
        return;
    }
    m_menu.changed(m_menu.book().add(site), site.name);
    showSites(m_menu.book().indexOf(site.name));
}

void SiteBookDialog::editSite()
{
    const int index = currentSite();
    if (index < 0 || m_menu.readOnly())
        return;
    SiteEditor editor(m_ctx, m_menu.book(), index, this);
    m_menu.saveThroughTeam(editor);
    if (editor.exec() != QDialog::Accepted || m_menu.inTeam())
        return;
    const QString oldName = m_menu.book().sites().at(index).name;
    const Site site = editor.site();
    const bool done = m_menu.changed(m_menu.book().replace(index, site), oldName, site.name);
    showSites(m_menu.book().indexOf(done ? site.name : oldName));
}

void SiteBookDialog::deleteSite()
{
    const int index = currentSite();
    if (index < 0 || m_menu.readOnly())
        return;
    const QString name = m_menu.book().sites().at(index).name;
    MessageBox box;
    box.prompt = QStringLiteral("Delete the site \"%1\" from the site book?").arg(name);
    box.title = windowTitle();
    box.buttons = MessageBox::Buttons::YesNo;
    box.icon = MessageBox::Icon::Exclamation;
    box.defaultButton = MessageBox::Answer::No;
    if (m_ctx.platform.prompter.ask(box) != MessageBox::Answer::Yes)
        return;
    if (m_menu.inTeam()) {   // gone from the table when the server's book comes
        m_menu.removeFromTeam(m_menu.book().sites().at(index));
        return;
    }
    m_menu.changed(m_menu.book().remove(index), name);
    showSites(index);
}

void SiteBookDialog::useSite()
{
    const int index = currentSite();
    if (index >= 0 && m_menu.use(index))
        accept();
}
