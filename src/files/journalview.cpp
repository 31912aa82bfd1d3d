// SPDX-License-Identifier: GPL-3.0-or-later
#include "journalview.h"

#include "platform/desktopopener.h"
#include "platform/prompter.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFontDatabase>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>

const QString JournalView::kAllSites = QStringLiteral("All sites");

namespace {
const QString kTitle = QStringLiteral("Journal");
} // namespace

JournalView::JournalView(const QString& folder, DesktopOpener& opener, Prompter& prompter, QWidget* parent)
    : QDialog(parent), m_folder(folder), m_opener(opener), m_prompter(prompter)
{
    setObjectName(QStringLiteral("journalView"));
    setWindowTitle(kTitle);
    build();
    reload();
}

void JournalView::build()
{
    m_site = new QComboBox(this);
    m_site->setObjectName(QStringLiteral("site"));
    m_search = new QLineEdit(this);
    m_search->setObjectName(QStringLiteral("search"));
    m_search->setClearButtonEnabled(true);
    m_entries = new QListView(this);
    m_entries->setObjectName(QStringLiteral("entries"));
    m_entries->setAccessibleName(kTitle);
    m_entries->setModel(&m_model);
    m_entries->setUniformItemSizes(true);   // rows are not measured one by one
    m_entries->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_entries->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_count = new QLabel(this);
    m_count->setObjectName(QStringLiteral("count"));

    auto* siteLabel = new QLabel(QStringLiteral("&Site:"), this);
    siteLabel->setBuddy(m_site);
    auto* searchLabel = new QLabel(QStringLiteral("Sea&rch:"), this);
    searchLabel->setBuddy(m_search);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    QPushButton* openFolder =
        buttons->addButton(QStringLiteral("&Open Folder"), QDialogButtonBox::ActionRole);
    openFolder->setObjectName(QStringLiteral("openFolder"));
    openFolder->setAutoDefault(false);

    auto* grid = new QGridLayout(this);
    grid->addWidget(siteLabel, 0, 0);
    grid->addWidget(m_site, 0, 1);
    grid->addWidget(searchLabel, 0, 2);
    grid->addWidget(m_search, 0, 3);
    grid->setColumnStretch(3, 1);
    grid->addWidget(m_entries, 1, 0, 1, 4);
    grid->addWidget(m_count, 2, 0, 1, 2);
    grid->addWidget(buttons, 2, 2, 1, 2);
    setTabOrder(m_site, m_search);
    setTabOrder(m_search, m_entries);
    resize(760, 480);

    connect(m_site, &QComboBox::currentIndexChanged, this, &JournalView::applyFilter);
    connect(m_search, &QLineEdit::textChanged, this, &JournalView::applyFilter);
    connect(openFolder, &QPushButton::clicked, this, &JournalView::openFolder_Click);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void JournalView::reload()
{
    m_model.load(m_folder);
    fillSites();
    applyFilter();
    if (!m_model.errors().isEmpty())
        warn(m_model.errors().join(u'\n'));
}

// The sites of the journal after "All sites"; the chosen one stays chosen.
void JournalView::fillSites()
{
    const QString chosen = m_site->currentIndex() > 0 ? m_site->currentText() : QString();
    const QSignalBlocker quiet(m_site);
    m_site->clear();
    m_site->addItem(kAllSites);
    m_site->addItems(m_model.sites());
    m_site->setCurrentIndex(std::max(0, m_site->findText(chosen)));
}

void JournalView::applyFilter()
{
    m_model.setFilter(m_site->currentIndex() > 0 ? m_site->currentText() : QString(), m_search->text());
    m_entries->scrollToBottom();
    showCount();
}

void JournalView::showCount()
{
    m_count->setText(QStringLiteral("%1 of %2 entries").arg(m_model.rowCount()).arg(m_model.entryCount()));
}

void JournalView::openFolder_Click()
{
    QDir().mkpath(m_folder);
    if (!m_opener.openFile(m_folder))
        warn(QStringLiteral("The folder could not be opened: ") + QDir::toNativeSeparators(m_folder));
}

void JournalView::warn(const QString& prompt)
{
    MessageBox box;
    box.prompt = prompt;
    box.title = kTitle;
    box.icon = MessageBox::Icon::Exclamation;
    m_prompter.ask(box);
}
