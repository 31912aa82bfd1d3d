// SPDX-License-Identifier: GPL-3.0-or-later
#include "journalview.h"

#include "desktop/windowfit.h"
#include "platform/prompter.h"
#include "store/store.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QTableView>

const QString JournalView::kAllSites = QStringLiteral("All sites");
const QString JournalView::kAllOperators = QStringLiteral("All operators");
const QString JournalView::kNoSite = QStringLiteral("-");

namespace {
const QString kTitle = QStringLiteral("Journal");
const QString kDateFormat = QStringLiteral("yyyy-MM-dd");

QLineEdit* dateField(const char* name, const QString& spoken, QWidget* parent)
{
    auto* field = new QLineEdit(parent);
    field->setObjectName(QLatin1String(name));
    field->setAccessibleName(spoken);
    field->setPlaceholderText(QStringLiteral("YYYY-MM-DD"));
    field->setMaxLength(10);
    return field;
}

// A local date as the first moment of that day; none for an empty or
// unreadable field, which is shown as such and changes nothing.
std::optional<qint64> dayStart(QLineEdit* field, int addDays)
{
    const QString text = field->text().trimmed();
    const QDate day = QDate::fromString(text, kDateFormat);
    field->setStyleSheet(text.isEmpty() || day.isValid() ? QString() : QStringLiteral("color: red"));
    if (!day.isValid())
        return std::nullopt;
    return day.addDays(addDays).startOfDay().toMSecsSinceEpoch();
}
}   // namespace

JournalView::JournalView(Store& store, Prompter& prompter, const JournalWriter::StoreMaker& countStore,
                         QWidget* parent)
    : QDialog(parent), m_store(store), m_prompter(prompter), m_model(store, countStore)
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
    m_operator = new QComboBox(this);
    m_operator->setObjectName(QStringLiteral("operator"));
    m_since = dateField("since", QStringLiteral("From date"), this);
    m_until = dateField("until", QStringLiteral("To date"), this);
    m_search = new QLineEdit(this);
    m_search->setObjectName(QStringLiteral("search"));
    m_search->setClearButtonEnabled(true);
    // A table of one column: with rows of one fixed height it lays out
    // millions of rows at once, where a list view walks them all.
    m_entries = new QTableView(this);
    m_entries->setObjectName(QStringLiteral("entries"));
    m_entries->setAccessibleName(kTitle);
    m_entries->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    // A chosen row dropped from the window is chosen no more. Before the
    // list's own handler, which would choose a row in its place and scroll to it.
    connect(&m_model, &QAbstractItemModel::rowsAboutToBeRemoved, this,
            [this](const QModelIndex&, int first, int last) {
                const int row = m_entries->currentIndex().row();
                if (row >= first && row <= last)
                    m_entries->selectionModel()->clear();
            });
    m_entries->setModel(&m_model);
    m_entries->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_entries->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_entries->setSelectionMode(QAbstractItemView::SingleSelection);
    m_entries->setShowGrid(false);
    m_entries->setWordWrap(false);
    m_entries->setTabKeyNavigation(false);
    m_entries->horizontalHeader()->hide();
    m_entries->horizontalHeader()->setStretchLastSection(true);
    m_entries->verticalHeader()->hide();
    m_entries->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_entries->verticalHeader()->setDefaultSectionSize(m_entries->fontMetrics().lineSpacing() + 2);
    m_details = new QPlainTextEdit(this);
    m_details->setObjectName(QStringLiteral("details"));
    m_details->setAccessibleName(QStringLiteral("Entry"));
    m_details->setReadOnly(true);
    m_details->setMaximumHeight(m_details->fontMetrics().lineSpacing() * 5);
    m_count = new QLabel(this);
    m_count->setObjectName(QStringLiteral("count"));
    m_localOnly = new QCheckBox(QStringLiteral("This &computer only"), this);
    m_localOnly->setObjectName(QStringLiteral("localOnly"));
    m_localOnly->hide();   // in a team
    m_teamNotice = new QLabel(this);
    m_teamNotice->setObjectName(QStringLiteral("teamNotice"));
    m_teamNotice->setWordWrap(false);
    m_teamNotice->hide();

    const auto label = [this](const QString& text, QWidget* buddy) {
        auto* l = new QLabel(text, this);
        l->setBuddy(buddy);
        return l;
    };
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    // Enter in a field never closes the viewer.
    buttons->button(QDialogButtonBox::Close)->setAutoDefault(false);

    auto* grid = new QGridLayout(this);
    grid->addWidget(label(QStringLiteral("&Site:"), m_site), 0, 0);
    grid->addWidget(m_site, 0, 1);
    grid->addWidget(label(QStringLiteral("O&perator:"), m_operator), 0, 2);
    grid->addWidget(m_operator, 0, 3);
    grid->addWidget(label(QStringLiteral("&From:"), m_since), 1, 0);
    grid->addWidget(m_since, 1, 1);
    grid->addWidget(label(QStringLiteral("&To:"), m_until), 1, 2);
    grid->addWidget(m_until, 1, 3);
    grid->addWidget(label(QStringLiteral("Sea&rch:"), m_search), 2, 0);
    grid->addWidget(m_search, 2, 1, 1, 3);
    grid->addWidget(m_localOnly, 6, 0, 1, 4);
    grid->addWidget(m_teamNotice, 7, 0, 1, 4);
    grid->setColumnStretch(3, 1);
    grid->addWidget(m_entries, 3, 0, 1, 4);
    grid->setRowStretch(3, 1);
    grid->addWidget(m_details, 4, 0, 1, 4);
    grid->addWidget(m_count, 5, 0, 1, 2);
    grid->addWidget(buttons, 5, 2, 1, 2);
    openAtFirstSize(this, QSize(720, 420));   // fits a Full HD screen at 200%

    m_searchPause.setSingleShot(true);
    m_searchPause.setInterval(kSearchPauseMs);
    connect(&m_searchPause, &QTimer::timeout, this, &JournalView::applyFilter);
    connect(m_site, &QComboBox::currentIndexChanged, this, &JournalView::applyFilter);
    connect(m_operator, &QComboBox::currentIndexChanged, this, &JournalView::applyFilter);
    for (QLineEdit* field : {m_since, m_until, m_search})
        connect(field, &QLineEdit::textChanged, &m_searchPause, qOverload<>(&QTimer::start));
    for (QLineEdit* field : {m_since, m_until, m_search})
        connect(field, &QLineEdit::returnPressed, this, [this] {
            searchNow();
            m_entries->setFocus();
        });
    connect(m_entries->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                if (current.isValid())   // a chosen entry dropped from the window stays shown below it
                    showDetails();
                readAtEdge();
            });

    connect(m_entries->verticalScrollBar(), &QScrollBar::valueChanged, this, &JournalView::readAtEdge);
    m_entries->installEventFilter(this);
    connect(&m_model, &QAbstractItemModel::modelReset, this, &JournalView::showRows);
    connect(&m_model, &JournalModel::rowsAdded, this, [this](int rowsAbove) {
        const QScopedValueRollback moving(m_moving, true);
        keepPlace(rowsAbove);
    });
    connect(&m_model, &JournalModel::teamChoicesRead, this,
            qOverload<const QStringList&, const QStringList&>(&JournalView::fillChoices));
    connect(&m_model, &JournalModel::teamUnavailable, this, [this](const QString& reason) {
        m_teamNotice->setText(QStringLiteral("This computer's journal only: %1").arg(reason));
        m_teamNotice->setToolTip(reason);
        m_teamNotice->show();
        const QSignalBlocker quiet(m_localOnly);
        m_localOnly->setChecked(true);
        fillChoices();
    });
    connect(m_localOnly, &QCheckBox::toggled, this, [this](bool localOnly) {
        m_teamNotice->hide();
        m_followNewest = true;
        m_model.showTeam(!localOnly);
        fillChoices();
    });
    connect(&m_model, &JournalModel::counted, this, &JournalView::showCount);
    connect(&m_model, &JournalModel::failed, this, [this] { m_prompter.tell(m_model.error(), kTitle); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void JournalView::showTeam(const TeamAddress& address, const QString& team,
                           const JournalWriter::StoreMaker& local)
{
    m_model.setTeam(address, team, local);
    m_localOnly->show();
    reload();
}

void JournalView::reload()
{
    fillChoices();
    applyFilter();
}

// New entries come at the bottom; the newest stays chosen when it was.
void JournalView::refresh()
{
    const bool follow = m_model.atNewest() && m_entries->currentIndex().row() == m_model.rowCount() - 1;
    keepPlace(m_model.refresh());
    if (follow && m_model.rowCount() > 0) {
        m_entries->setCurrentIndex(m_model.index(m_model.rowCount() - 1));
        m_entries->scrollToBottom();
    }
}

void JournalView::searchNow()
{
    m_searchPause.stop();
    applyFilter();
}

// The sites and operators of the journal after "All ..."; the chosen ones
// stay chosen. The team's come from its server when read.
void JournalView::fillChoices()
{
    if (!m_model.teamShown())
        fillChoices(m_store.journalSites(), m_store.journalOperators());
}

void JournalView::fillChoices(const QStringList& sites, const QStringList& operators)
{
    const auto fill = [](QComboBox* box, const QString& all, QStringList names) {
        const QString chosen = box->currentIndex() > 0 ? box->currentText() : QString();
        const QSignalBlocker quiet(box);
        box->clear();
        box->addItem(all);
        box->addItems(names);
        box->setCurrentIndex(std::max(0, box->findText(chosen)));
    };
    fill(m_site, kAllSites, QStringList{kNoSite} + sites);
    fill(m_operator, kAllOperators, operators);
}

JournalFilter JournalView::filter() const
{
    JournalFilter f;
    if (m_site->currentIndex() == 1)
        f.site = QString();
    else if (m_site->currentIndex() > 1)
        f.site = m_site->currentText();
    if (m_operator->currentIndex() > 0)
        f.operatorName = m_operator->currentText();
    f.fromUtcMs = dayStart(m_since, 0);
    f.toUtcMs = dayStart(m_until, 1);
    f.search = m_search->text();
    return f;
}

void JournalView::applyFilter()
{
    m_followNewest = true;
    m_model.setFilter(filter());
}

// A new window of rows: the newest chosen after a new filter.
void JournalView::showRows()
{
    const QScopedValueRollback moving(m_moving, true);   // placed here, not read from
    if (m_followNewest && m_model.rowCount() > 0) {
        m_entries->setCurrentIndex(m_model.index(m_model.rowCount() - 1));
        m_entries->scrollToBottom();
    } else if (m_model.rowCount() > 0) {   // the oldest page, read while the view went on
        m_entries->setCurrentIndex(m_model.index(0));
        m_entries->scrollToTop();
    }
    showDetails();
    showCount();
}

void JournalView::showCount()
{
    if (m_model.reading())
        m_count->setText(QStringLiteral("Searching..."));
    else if (m_model.count() >= 0)
        m_count->setText(QStringLiteral("%1 entries").arg(m_model.count()));
    else
        m_count->setText(m_model.counting() ? QStringLiteral("Counting...") : QString());
}

// The scroll bar or the chosen row at an end of the window that is not the
// end of the entries: a page more there.
void JournalView::readAtEdge()
{
    if (m_moving || m_model.rowCount() == 0)
        return;
    const QScrollBar* bar = m_entries->verticalScrollBar();
    const int row = m_entries->currentIndex().row();
    if (!m_model.atOldest() && (bar->value() == bar->minimum() || row == 0)) {
        const QScopedValueRollback moving(m_moving, true);
        keepPlace(m_model.readOlder());
    } else if (!m_model.atNewest() && (bar->value() == bar->maximum() || row == m_model.rowCount() - 1)) {
        const QScopedValueRollback moving(m_moving, true);
        keepPlace(m_model.readNewer());
    }
}

// Rows added above those in sight (or dropped above them) move them down
// (or up) by as many rows: the scroll bar follows, so that the same
// entries stay in sight. The rows are all one height.
void JournalView::keepPlace(int rowsAbove)
{
    if (rowsAbove == 0)
        return;
    const QScopedValueRollback moving(m_moving, true);
    m_entries->doItemsLayout();   // the scroll bar's range for the rows as they are now
    const int step = m_entries->verticalScrollMode() == QAbstractItemView::ScrollPerItem
        ? 1
        : m_entries->verticalHeader()->defaultSectionSize();
    QScrollBar* bar = m_entries->verticalScrollBar();
    bar->setValue(bar->value() + rowsAbove * step);
}

void JournalView::showOldest()
{
    const QScopedValueRollback moving(m_moving, true);
    m_followNewest = false;
    if (!m_model.atOldest())
        m_model.showOldest();
    if (m_model.rowCount() > 0)
        m_entries->setCurrentIndex(m_model.index(0));
    m_entries->scrollToTop();
}

void JournalView::showNewest()
{
    const QScopedValueRollback moving(m_moving, true);
    m_followNewest = true;
    if (!m_model.atNewest())
        m_model.showNewest();
    if (m_model.rowCount() > 0)
        m_entries->setCurrentIndex(m_model.index(m_model.rowCount() - 1));
    m_entries->scrollToBottom();
}

// Ctrl+Home and Ctrl+End go to the ends of the entries, not of the window.
bool JournalView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_entries && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool end = key->key() == Qt::Key_End;
        if (key->modifiers() == Qt::ControlModifier && (key->key() == Qt::Key_Home || end)) {
            end ? showNewest() : showOldest();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void JournalView::showDetails()
{
    const QModelIndex current = m_entries->currentIndex();
    m_details->setPlainText(current.isValid() ? current.data(JournalModel::kRecordRole).toString()
                                              : QString());
}
