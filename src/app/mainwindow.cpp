// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwindow.h"

#include "app/form1wiring.h"
#include "commands/panelcommands.h"
#include "commands/programmingcode.h"
#include "core/teamshipping.h"
#include "desktop/assistiveactions.h"
#include "desktop/desktopopener.h"
#include "desktop/heldkeys.h"
#include "files/editmenu.h"
#include "files/journalview.h"
#include "files/legacyimport.h"
#include "files/parametermenu.h"
#include "files/receiveprinting.h"
#include "files/sitemenu.h"
#include "files/tenantmenu.h"
#include "form/journalbacklog.h"
#include "form/statuspanels.h"
#include "link/capturelog.h"
#include "link/connection.h"
#include "link/receiver.h"
#include "platform/clock.h"
#include "platform/leadingnumber.h"
#include "platform/prompter.h"
#include "platform/serialport.h"
#include "store/teamaddress.h"
#include "transfer/filesender.h"
#include "transfer/savereceived.h"
#include "transfer/uploads.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QIcon>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStyle>
#include <QTemporaryDir>
#include <QToolButton>

namespace {
// What is written within this time on closing needs no question.
constexpr int kCloseWaitMs = 1000;
}   // namespace

const QString MainWindow::kHelpVerb = QStringLiteral("激活内容(&A)");

// The help page is compiled into the library; a static library's resources
// must be registered by hand.
static void registerResources()
{
    Q_INIT_RESOURCE(resources);
}

namespace {

// The program's own icon: the installed theme's, else the one compiled in.
QIcon programIcon()
{
    QIcon icon;
    icon.addFile(QStringLiteral(":/icons/velno-64.png"));
    icon.addFile(QStringLiteral(":/icons/velno-256.png"));
    return QIcon::fromTheme(QStringLiteral("org.velno.Velno"), icon);
}

const QString kHelpResource = QStringLiteral(":/help/velno6100.hlp.htm");
const QString kHelpFileName = QStringLiteral("velno6100.hlp.htm");

// Opens the store, and brings in what earlier versions kept in files
// before the journal's writer starts, so that those entries come first.
SqliteStore::Opening openStore(SqliteStore& store, Store& windowStore, const Platform& platform,
                               QStringList* problems)
{
    const SqliteStore::Opening opening = store.open();
    if (opening.outcome == SqliteStore::Opening::Outcome::Failed)
        return opening;
    const QString dataFolder =
        platform.dataFolder.isEmpty() ? SqliteStore::defaultFolder() : platform.dataFolder;
    const QString sites = platform.configFolder.isEmpty()
        ? QString()
        : QDir(platform.configFolder).filePath(QStringLiteral("Velno/sites.ini"));
    const QString journal = QDir(dataFolder).filePath(QStringLiteral("journal"));
    *problems = LegacyImport(windowStore, journal, sites).run().problems;
    return opening;
}

// The system's time format without its zone: the clock panel's.
QString clockFormat(const QLocale& locale)
{
    QString format = locale.timeFormat(QLocale::LongFormat);
    format.remove(QLatin1Char('t'));
    return format.trimmed();
}
}   // namespace

MainWindow::MainWindow(Platform& platform, QWidget* parent)
    : QMainWindow(parent),
      m_platform(platform),
      m_settings(platform.store),
      m_waiter(platform.realMsPerSecond),
      m_session(platform.port),
      m_setform(m_settings, this),
      m_ctx{this, m_ui, platform, m_settings, m_waiter, m_setform, m_session},
      m_store(platform.dataFolder),
      m_windowStore(m_store, [this](const QString& keptAs) { storeRenewedLater(keptAs); }),
      m_storeOpening(openStore(m_store, m_windowStore, platform, &m_importProblems)),
      m_journalWriter(SqliteStore::writerStore(platform.dataFolder)),
      m_journal(platform.clock, m_journalWriter),
      m_locale(QLocale::system()),
      m_clockFormat(clockFormat(m_locale)),
      m_clockTimer(platform.realMsPerSecond),
      m_cursorBlink(CursorBlinkTimeout::kTimeoutSeconds * platform.realMsPerSecond)
{
    registerResources();
    HeldKeys::watch();
    makeAssistiveActionsAct();
    QApplication::setWindowIcon(programIcon());   // every window of the program
    buildForm1(this, m_ui);
    addHelpVerb();
    m_connection = std::make_unique<Connection>(m_ctx);
    m_captureLog = std::make_unique<CaptureLog>(m_ctx);
    m_receiver = std::make_unique<Receiver>(m_ctx, *m_captureLog);
    m_saveReceived = std::make_unique<SaveReceived>(m_ctx);
    m_fileSender = std::make_unique<FileSender>(m_ctx);
    m_uploads = std::make_unique<Uploads>(m_ctx, *m_captureLog);
    m_tenantMenu = std::make_unique<TenantMenu>(m_ctx);
    m_parameterMenu = std::make_unique<ParameterMenu>(m_ctx);
    m_receivePrinting = std::make_unique<ReceivePrinting>(m_ctx);
    m_editMenu = std::make_unique<EditMenu>(m_ctx);
    m_siteMenu = std::make_unique<SiteMenu>(m_ctx, *m_connection, m_windowStore);
    m_programmingCode = std::make_unique<ProgrammingCode>(m_ctx);
    m_commands = std::make_unique<PanelCommands>(m_ctx);
    wire();
    keepJournal();
    shipJournal();
}

MainWindow::~MainWindow() = default;

// The journal hears every line the session writes and every event of the
// line, with the site in use at that moment.
void MainWindow::keepJournal()
{
    m_journal.followSite([this] { return m_ctx.siteInUse; });
    m_journal.follow(m_session);
    m_journalBacklog = new JournalBacklog(m_ui.bar, m_platform.realMsPerSecond);
    m_ui.bar->addPermanentWidget(m_journalBacklog);
    connect(&m_journalWriter, &JournalWriter::backlogChanged, this, &MainWindow::showJournalBacklog);
    connect(&m_journalWriter, &JournalWriter::written, this, [this] {
        if (m_journalView)
            m_journalView->refresh();
    });
    connect(&m_journalWriter, &JournalWriter::renewed, this, &MainWindow::storeRenewed);
    tellStoreOpening(m_storeOpening);
    if (!m_importProblems.isEmpty()) {
        MessageBox box;
        box.prompt =
            QStringLiteral("Not everything of the earlier journal and site book could be brought in. "
                           "The files are left as they are.");
        box.detail = m_importProblems.join(u'\n');
        box.title = QStringLiteral("Journal");
        box.icon = MessageBox::Icon::Exclamation;
        m_platform.prompter.ask(box);
    }
}

// While a team database is joined, each entry written goes to it too, on
// the shipper's thread; the status bar shows those that wait, and a box
// says when the team's tables need their owner's --team-setup.
void MainWindow::shipJournal()
{
    m_teamShipping =
        std::make_unique<TeamShipping>(m_settings, SqliteStore::writerStore(m_platform.dataFolder));
    connect(m_teamShipping.get(), &TeamShipping::backlogChanged, m_journalBacklog,
            &JournalBacklog::showShipping);
    connect(m_teamShipping.get(), &TeamShipping::tablesRefused, this, [this](const QString& text) {
        MessageBox box;
        box.title = QStringLiteral("Team");
        box.icon = MessageBox::Icon::Exclamation;
        box.prompt = text;
        m_platform.prompter.ask(box);
    });
    connect(&m_journalWriter, &JournalWriter::written, m_teamShipping.get(), &TeamShipping::wake);
    connect(m_siteMenu.get(), &SiteMenu::teamChanged, m_teamShipping.get(), &TeamShipping::follow);
    m_teamShipping->follow();
}

// A damaged database was set aside, or none could be opened: one box says
// so; the journal then waits in memory (see showJournalBacklog).
void MainWindow::tellStoreOpening(const SqliteStore::Opening& opening)
{
    if (opening.outcome == SqliteStore::Opening::Outcome::Opened)
        return;
    MessageBox box;
    box.title = QStringLiteral("Journal");
    box.icon = MessageBox::Icon::Exclamation;
    if (opening.outcome == SqliteStore::Opening::Outcome::Renewed) {
        box.prompt =
            QStringLiteral("The journal's database %1 was damaged. It is kept as %2, and a new one is "
                           "started.")
                .arg(QDir::toNativeSeparators(m_store.path()), QDir::toNativeSeparators(opening.keptAs));
    } else {
        box.prompt =
            QStringLiteral("The journal's database %1 cannot be opened. Entries are kept in memory until "
                           "it can be written.")
                .arg(QDir::toNativeSeparators(m_store.path()));
    }
    box.detail = opening.reason;
    m_platform.prompter.ask(box);
}

// The writer or the window's own connection found the database damaged
// and started a new one: the operator is told, and what shows the store is
// read again. Each connection goes to the new database at its next
// statement (SqliteStore finds its file replaced).
void MainWindow::storeRenewed(const QString& keptAs)
{
    SqliteStore::Opening opening;
    opening.outcome = SqliteStore::Opening::Outcome::Renewed;
    opening.keptAs = keptAs;
    tellStoreOpening(opening);
    m_siteMenu->loadBook();
    if (m_journalView)
        m_journalView->reload();
}

// Told once the statement that found the damage is done, on the window's
// thread, whichever thread's connection found it.
void MainWindow::storeRenewedLater(const QString& keptAs)
{
    QMetaObject::invokeMethod(
        this, [this, keptAs] { storeRenewed(keptAs); }, Qt::QueuedConnection);
}

// The viewer's counting thread's own connection, its damage dealt with as
// the window's.
JournalWriter::StoreMaker MainWindow::countingStore()
{
    const JournalWriter::StoreMaker open = SqliteStore::writerStore(m_platform.dataFolder);
    return [this, open](QString* error) -> std::unique_ptr<Store> {
        std::unique_ptr<Store> store = open(error);
        if (!store)
            return nullptr;
        return std::make_unique<RenewingStore>(std::move(store),
                                               [this](const QString& keptAs) { storeRenewedLater(keptAs); });
    };
}

void MainWindow::showJournalBacklog(int waiting, const QString& reason)
{
    m_journalBacklog->showBacklog(waiting, reason);
    if (waiting == 0 && m_closeWhenWritten)
        close();
}

// Entries that wait to be written are lost if the program ends: the
// operator may wait for them, and the window closes once they are written.
bool MainWindow::mayClose()
{
    const int waiting = m_journalWriter.waiting();
    if (waiting == 0 || m_journalWriter.waitUntilWritten(kCloseWaitMs))
        return true;
    MessageBox box;
    box.prompt = QStringLiteral("%1 journal entries are waiting to be written. Wait until they are written?\n"
                                "No closes the program now, and they are lost.")
                     .arg(m_journalWriter.waiting());
    box.detail = m_journalBacklog->toolTip();
    box.title = QStringLiteral("Journal");
    box.buttons = MessageBox::Buttons::YesNo;
    box.icon = MessageBox::Icon::Exclamation;
    box.defaultButton = MessageBox::Answer::Yes;
    m_closeWhenWritten = m_platform.prompter.ask(box) == MessageBox::Answer::Yes;
    return !m_closeWhenWritten;
}

void MainWindow::wire()
{
    wireForm1(m_ui,
              {*this, *m_tenantMenu, *m_captureLog, *m_parameterMenu, *m_saveReceived, *m_receivePrinting,
               *m_editMenu, *m_connection, *m_fileSender, *m_programmingCode, *m_uploads, *m_commands,
               *m_receiver, *m_siteMenu});
    connect(&m_clockTimer, &TickTimer::ticked, this, &MainWindow::showClock);
}

void MainWindow::addHelpVerb()
{
    auto* verb = new QAction(kHelpVerb, m_ui.OLE2);
    connect(verb, &QAction::triggered, this, &MainWindow::openHelpPage);
    m_ui.OLE2->addAction(verb);
    m_ui.OLE2->setDefaultAction(verb);
    m_ui.OLE2->setToolButtonStyle(Qt::ToolButtonIconOnly);
    m_ui.OLE2->setIcon(style()->standardIcon(QStyle::SP_FileDialogInfoView));
}

void MainWindow::Form_Load()
{
    raise();
    m_ui.Command1->hide();
    m_ui.Command3->hide();
    m_ui.Mastercode->setEnabled(false);
    placeOnScreen();
    m_ui.Progress->hide();
    m_ui.bar->setPanel(1, QStringLiteral("Status Bar:"));
    m_ui.bar->setPanel(3, QStringLiteral("Send Record:  0"));
    m_ui.bar->setPanel(4, QStringLiteral("Setting: 1200,N,8,1 "));
    m_settings.setTitle(AppSettings::kMainTitle);

    const QString port = m_settings.port();
    const QString phone = m_settings.phone();
    m_ui.Text2->setText(phone);
    const double n = leadingNumber(port);
    if (n >= 1 && n <= 4 && n == int(n))
        m_connection->Option_Click(int(n));
    m_ui.bar->setPanel(2, QStringLiteral("Comm Number:  ") + QString::number(n));

    m_ui.Text1->clear();
    QPalette palette = m_ui.Text1->palette();
    palette.setColor(QPalette::Text, QColor(0, 0, 255));
    m_ui.Text1->setPalette(palette);
    m_ui.paset_file->setEnabled(false);
    for (QWidget* control : m_ui.commandControls())
        control->setEnabled(false);
    m_platform.port.setSendThreshold(1);
    m_waiter.Timer1().start();
    showClock();
    m_clockTimer.start();
    showPortDevices();
    m_siteMenu->loadBook();
}

// Each port button's tooltip names the device the port stands for and the
// serial devices this machine has, any of which a port can be mapped to.
void MainWindow::showPortDevices()
{
    const QStringList present = m_platform.port.devicesPresent();
    const QString found = present.isEmpty()
        ? QString()
        : QStringLiteral("\nSerial devices present: ") + present.join(QStringLiteral(", "));
    for (int n = 1; n <= 4; ++n)
        m_ui.option(n)->setToolTip(m_platform.port.deviceFor(n) + found);
}

// Where the window was when the program last ended, else centred.
void MainWindow::placeOnScreen()
{
    if (!restoreGeometry(m_settings.windowGeometry()))
        centreOnScreen();
}

void MainWindow::centreOnScreen()
{
    const QScreen* screen = this->screen();
    if (!screen)
        return;
    const QRect area = screen->geometry();
    const QSize size = frameGeometry().size();
    move(int((area.width() - size.width()) / 2.0) + area.x(),
         int((area.height() - size.height()) / 2.0) + area.y());
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (!m_unloaded && !mayClose()) {
        event->ignore();
        return;
    }
    Form_Unload();
    event->accept();
}

void MainWindow::Form_Unload()
{
    if (m_unloaded)
        return;
    m_unloaded = true;
    SerialPort& port = m_platform.port;
    for (int n = 1; n <= 4; ++n) {
        if (m_ui.option(n)->isChecked()) {
            port.setPortNumber(n);   // no effect while the port is open
            break;
        }
    }
    m_settings.storePort(QString::number(port.portNumber()));
    if (!m_ui.Text2->text().isEmpty())
        m_settings.storePhone(m_ui.Text2->text());
    m_settings.storeWindowGeometry(saveGeometry());
    if (m_ctx.capture.isOpen())
        m_captureLog->mnuCloseLog_Click();

    // End at once: every wait ends, the port is released, nothing is sent.
    m_session.beginClosing();
    m_waiter.stopAll();
    m_session.close();
    emit ended();
}

void MainWindow::close_Click()
{
    close();
}

void MainWindow::Setting_Click()
{
    m_setform.showModal();
}

JournalView* MainWindow::journalView() const
{
    return m_journalView;
}

// The journal beside the main window, read afresh each time it is asked for.
void MainWindow::journal_Click()
{
    if (!m_journalView) {
        m_journalView = new JournalView(m_windowStore, m_platform.prompter, countingStore(), this);
        m_journalView->setAttribute(Qt::WA_DeleteOnClose);
        showTeamJournal();
    } else {
        m_journalView->reload();
    }
    m_journalView->show();
    m_journalView->raise();
    m_journalView->activateWindow();
}

// In a team, the viewer shows the team's journal; an address that cannot
// be read leaves it on this computer's.
void MainWindow::showTeamJournal()
{
    const QString uri = m_settings.teamDatabase();
    QString error;
    const std::optional<TeamAddress> address = uri.isEmpty() ? std::nullopt : TeamAddress::read(uri, &error);
    if (address)
        m_journalView->showTeam(*address, uri, countingStore());
}

void MainWindow::upload_Click()
{
    for (QPushButton* b : {m_ui.up_all, m_ui.up_par, m_ui.up_tnt, m_ui.up_evr})
        b->setEnabled(true);
    m_ui.up_par->setFocus();
}

void MainWindow::yess_Click()
{
    const QList<QAction*> verbs = m_ui.OLE2->actions();
    for (QAction* verb : verbs) {
        if (verb->text() == kHelpVerb) {
            verb->trigger();
            return;
        }
    }
}

// The page goes into a folder of the user's own, made once a run and removed
// when the program ends: no other user can take its name or swap the page.
void MainWindow::openHelpPage()
{
    if (!m_helpFolder || !m_helpFolder->isValid())
        m_helpFolder = std::make_unique<QTemporaryDir>();
    const QString path = m_helpFolder->filePath(kHelpFileName);
    QFile::remove(path);
    if (m_helpFolder->isValid() && QFile::copy(kHelpResource, path)) {
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
        m_platform.opener.openFile(path);
    }
}

void MainWindow::showClock()
{
    m_ui.bar->setPanel(5, m_locale.toString(m_platform.clock.now().time(), m_clockFormat));
}
