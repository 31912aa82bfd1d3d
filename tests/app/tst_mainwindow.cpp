// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/maskedfield.h"
#include "form/statuspanels.h"
#include "form1rig.h"
#include "link/connection.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSignalSpy>
#include <QStyle>
#include <QTest>
#include <QToolButton>

namespace {
const QString kMain = QStringLiteral("Velno 6100 Management System");
const QString kProps = QStringLiteral("Properties");
const QString kWindow = QStringLiteral("Window");
const QString kGeometry = QStringLiteral("geometry");

// How many connections a signal of a control has: each control and menu item
// of the window runs one handler, and only one.
struct Connections : QObject {
    using QObject::receivers;
};
int connectionsOf(const QObject* sender, const char* signal)
{
    return (sender->*&Connections::receivers)(signal);
}
}   // namespace

class TstMainWindow : public QObject {
    Q_OBJECT
private slots:
    void firstRunState();
    void everyControlHasItsNameAndCaption_data();
    void everyControlHasItsNameAndCaption();
    void menusAsListed_data();
    void menusAsListed();
    void accessibleNamesAndBuddies();
    void storedPortSelectsOption_data();
    void storedPortSelectsOption();
    void storedPhoneFillsField();
    void unloadStoresPortAndPhone();
    void placementAtLoad_data();
    void placementAtLoad();
    void unloadEndsWaitsWithoutSending();
    void receiveEnablesUploadButtons();
    void helpOpensPageOnlyThroughItsVerb();
    void clockPanelShowsTheTimeThroughWaits();
    void cursorBlinksOnlyAfterInput();
};

void TstMainWindow::firstRunState()
{
    Form1Rig rig;
    Form1Ui& ui = rig.ui();
    QCOMPARE(rig.window->windowTitle(),
             QStringLiteral("Velno 6100 Management System                        Version 3.0"));
    QCOMPARE(rig.window->windowTitle().size(), 63);
    for (int n = 1; n <= 4; ++n)
        QVERIFY(!ui.option(n)->isChecked());
    QCOMPARE(ui.bar->panel(1), QStringLiteral("Status Bar:"));
    QCOMPARE(ui.bar->panel(2), QStringLiteral("Comm Number:  0"));
    QCOMPARE(ui.bar->panel(3), QStringLiteral("Send Record:  0"));
    QCOMPARE(ui.bar->panel(4), QStringLiteral("Setting: 1200,N,8,1 "));
    QCOMPARE(ui.Text2->text(), QString());
    QCOMPARE(ui.Text1->toPlainText(), QString());
    QCOMPARE(ui.Text1->palette().color(QPalette::Text), QColor(0, 0, 255));
    for (QWidget* control : ui.commandControls())
        QVERIFY2(!control->isEnabled(), qPrintable(control->objectName()));
    for (QWidget* usable :
         {static_cast<QWidget*>(ui.connectButton), static_cast<QWidget*>(ui.close1),
          static_cast<QWidget*>(ui.Text2), static_cast<QWidget*>(ui.Text3), static_cast<QWidget*>(ui.MsgWel)})
        QVERIFY2(usable->isEnabled(), qPrintable(usable->objectName()));
    QVERIFY(ui.Command1->isHidden());
    QVERIFY(ui.Command3->isHidden());
    QVERIFY(ui.Progress->isHidden());
    QVERIFY(!ui.paset_file->isEnabled());
    QVERIFY(!ui.mnuOpenLog->isEnabled());
    QVERIFY(!ui.mnuCloseLog->isEnabled());
    QVERIFY(!ui.print_send->isEnabled());
    QCOMPARE(rig.fakes.port.sendThreshold, 1);
    QVERIFY(!rig.fakes.port.isOpen());
    for (int n = 1; n <= 4; ++n)
        QCOMPARE(ui.option(n)->toolTip(), rig.fakes.port.deviceFor(n));
    QVERIFY(rig.window->waiter().Timer1().isActive());
    QCOMPARE(rig.window->waiter().Timer1().interval(), 1000);
    QCOMPARE(rig.window->settings().title(), kMain);
    QVERIFY(rig.fakes.prompter.boxes.isEmpty());
    // Nothing stored at load on a first run but what the phone field's change stored.
    QVERIFY(!rig.fakes.store.contains(kMain, kProps, QStringLiteral("Port")));
}

void TstMainWindow::everyControlHasItsNameAndCaption_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("tooltip");
    const char* rows[][3] = {
        {"connect", "Connect", ""},
        {"close1", "Disconnect", ""},
        {"Mastercode", "MasterCode", ""},
        {"upload", "RECEIVE", ""},
        {"download", "SEND", ""},
        {"rtrtc", "Time", ""},
        {"Date", "Date", ""},
        {"Command1", "Please Wait...", ""},
        {"Command3", "Please Close the LOG File After Receiving", ""},
        {"up_all", "ALL", "Parameter And DataBase Information "},
        {"up_par", "Parameters", "Parameter Information"},
        {"up_tnt", "Tenants", "Tenant DataBase"},
        {"up_evr", "Events", "Event Record DataBase"},
        {"sendfileg", "DATABASE", "Send File"},
        {"opentime1", "Door1 Open Time", ""},
        {"opentime2", "Door2 Open Time", ""},
        {"uptalktime", "Talk Time", ""},
        {"manualdoor1", "ManualUnlockDoor1", ""},
        {"manualdoor2", "ManualUnlockDoor2", ""},
        {"Newmastcode", "New Mastercode", ""},
        {"message", "Message", "Set Message"},
        {"opendtmf", "OpenDoorNo(1/2)", ""},
        {"um", "UnlockMute", ""},
        {"up", "UnlockBeep", ""},
        {"clearevr", "Clear Events", "Clear all EventRecord DataBase"},
        {"cleartnt", "Clear Tenant", "Clear a tenent you input"},
        {"Option1", "1", ""},
        {"Option2", "2", ""},
        {"Option3", "3", ""},
        {"Option4", "4", ""},
        {"Frame2", "Select Port", ""},
        {"Frame1", "", ""},
        {"Frame3", "Receive", ""},
        {"Frame4", "Send", ""},
        {"Label1", "Phone Number", ""},
        {"Label2", "Mastercode", ""},
        {"Label4", "Welcome Message", ""},
    };
    for (const auto& row : rows)
        QTest::newRow(row[0]) << QString::fromLatin1(row[0]) << QString::fromLatin1(row[1])
                              << QString::fromLatin1(row[2]);
}

void TstMainWindow::everyControlHasItsNameAndCaption()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QString, tooltip);
    Form1Rig rig(RigOptions().unloaded());
    QWidget* w = rig.control(name);
    QString text;
    if (auto* b = qobject_cast<QAbstractButton*>(w))
        text = b->text();
    else if (auto* g = qobject_cast<QGroupBox*>(w))
        text = g->title();
    else if (auto* l = qobject_cast<QLabel*>(w))
        text = l->text();
    QCOMPARE(text, caption);
    QCOMPARE(w->toolTip(), tooltip);
    if (auto* p = qobject_cast<QPushButton*>(w))   // Enter presses it while focused, yet none is the default
        QVERIFY(!p->autoDefault() && !p->isDefault());
    if (qobject_cast<QAbstractButton*>(w))   // "Please Wait..." only shows
        QCOMPARE(connectionsOf(w, SIGNAL(clicked(bool))), name == QLatin1String("Command1") ? 0 : 1);
}

void TstMainWindow::menusAsListed_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("shortcut");
    QTest::addColumn<bool>("enabled");
    QTest::addRow("di") << "di"
                        << "2-&Digit Directory"
                        << "" << true;
    QTest::addRow("dig") << "dig"
                         << "3-D&igit Directory"
                         << "" << true;
    QTest::addRow("digi") << "digi"
                          << "4-Di&git Directory"
                          << "" << true;
    QTest::addRow("open_send") << "open_send"
                               << "Open &Tenant File"
                               << "" << true;
    QTest::addRow("mnuOpenLog") << "mnuOpenLog"
                                << "&Open LOG File"
                                << "" << false;
    QTest::addRow("mnuCloseLog") << "mnuCloseLog"
                                 << "Close &LOG File"
                                 << "" << false;
    QTest::addRow("mnuopenpar") << "mnuopenpar"
                                << "&Save Parameter "
                                << "" << true;
    QTest::addRow("OpenPar") << "OpenPar"
                             << "Op&en Parameter"
                             << "" << true;
    QTest::addRow("save_received") << "save_received"
                                   << "Save &Received File"
                                   << "" << true;
    QTest::addRow("print_receive") << "print_receive"
                                   << "&Print Received File"
                                   << "" << true;
    QTest::addRow("print_send") << "print_send"
                                << "Print Se&nd File"
                                << "" << false;
    QTest::addRow("close") << "close"
                           << "&Close"
                           << "" << true;
    QTest::addRow("cut_file") << "cut_file"
                              << "C&ut"
                              << "" << true;
    QTest::addRow("copy_file") << "copy_file"
                               << "&Copy"
                               << "Ctrl+C" << true;
    QTest::addRow("paset_file") << "paset_file"
                                << "&Paste"
                                << "Ctrl+V" << false;
    QTest::addRow("Setting") << "Setting"
                             << "&Setting"
                             << "" << true;
    QTest::addRow("siteBook") << "siteBook"
                              << "&Site Book..."
                              << "" << true;
    QTest::addRow("siteTeam") << "siteTeam"
                              << "&Team..."
                              << "" << true;
    QTest::addRow("yess") << "yess"
                          << "&About Velno 6300 Management System"
                          << "" << true;
}

void TstMainWindow::menusAsListed()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QString, shortcut);
    QFETCH(bool, enabled);
    Form1Rig rig;
    auto* action = rig.control<QAction>(name);
    QCOMPARE(action->text(), caption);
    QCOMPARE(action->shortcut().toString(), shortcut);
    QCOMPARE(action->isEnabled(), enabled);
    // One handler over the menu's own connection, which print_send, never
    // available, has alone.
    const int menusOwn = connectionsOf(rig.ui().print_send, SIGNAL(triggered(bool)));
    QCOMPARE(connectionsOf(action, SIGNAL(triggered(bool))) - menusOwn,
             name == QLatin1String("print_send") ? 0 : 1);
    QCOMPARE(rig.ui().file->title(), QStringLiteral("&File"));
    QCOMPARE(rig.ui().new_tenant->title(), QStringLiteral("&New Tenant Database"));
    QCOMPARE(rig.ui().edit_file->title(), QStringLiteral("&Edit"));
    QCOMPARE(rig.ui().hilp_file->title(), QStringLiteral("&Help"));
    QVERIFY(!rig.ui().Setting->menu());
    const QList<QAction*> bar = rig.window->menuBar()->actions();
    QCOMPARE(bar.indexOf(rig.ui().sites->menuAction()), bar.indexOf(rig.ui().Setting) + 1);
    QCOMPARE(rig.ui().sites->title(), QStringLiteral("S&ites"));
}

void TstMainWindow::accessibleNamesAndBuddies()
{
    Form1Rig rig(RigOptions().unloaded());
    Form1Ui& ui = rig.ui();
    const QList<QPair<QWidget*, QString>> expected = {
        {ui.Text2, "Phone Number"},       {ui.Text3, "Mastercode"},
        {ui.MsgWel, "Welcome Message"},   {ui.Text1, "Received data"},
        {ui.medit1, "Talk Time"},         {ui.medit2, "Door1 Open Time"},
        {ui.medit3, "Door2 Open Time"},   {ui.medit7, "ManualUnlockDoor1"},
        {ui.medit8, "ManualUnlockDoor2"}, {ui.MEDITTNT, "Clear Tenant"},
        {ui.dtmf, "OpenDoorNo(1/2)"},     {ui.Medit_New_mastercode, "New Mastercode"},
    };
    for (const auto& [widget, name] : expected)
        QCOMPARE(widget->accessibleName(), name);
    QCOMPARE(ui.Label1->buddy(), ui.Text2);
    QCOMPARE(ui.Label2->buddy(), ui.Text3);
    QCOMPARE(ui.Label4->buddy(), ui.MsgWel);
    QCOMPARE(ui.Text3->maxLength(), 5);
    QCOMPARE(ui.Text3->echoMode(), QLineEdit::Password);
    for (QLineEdit* secret : {ui.Text3, ui.Medit_New_mastercode})
        QCOMPARE(secret->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, nullptr, secret),
                 int('*'));
    QCOMPARE(ui.Medit_New_mastercode->maxLength(), 5);
    QCOMPARE(ui.MsgWel->maxLength(), 51);
    QCOMPARE(ui.medit1->mask(), QStringLiteral("###"));
    QCOMPARE(ui.dtmf->mask(), QStringLiteral("#/#"));
    QCOMPARE(ui.MEDITTNT->mask(), QStringLiteral("####"));
}

void TstMainWindow::storedPortSelectsOption_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<int>("selected");
    QTest::addColumn<QString>("panel");
    QTest::addRow("3") << "3" << 3 << "Comm Number:  3";
    QTest::addRow("1") << "1" << 1 << "Comm Number:  1";
    QTest::addRow("9") << "9" << 0 << "Comm Number:  9";
    QTest::addRow("7") << "7" << 0 << "Comm Number:  7";
    QTest::addRow("blanks then 2") << "  2x" << 2 << "Comm Number:  2";
    QTest::addRow("not a number") << "COM3" << 0 << "Comm Number:  0";
    QTest::addRow("empty") << "" << 0 << "Comm Number:  0";
}

void TstMainWindow::storedPortSelectsOption()
{
    QFETCH(QString, stored);
    QFETCH(int, selected);
    QFETCH(QString, panel);
    Form1Rig rig(RigOptions().unloaded());
    rig.fakes.store.store(kMain, kProps, QStringLiteral("Port"), stored);
    rig.window->Form_Load();
    for (int n = 1; n <= 4; ++n)
        QCOMPARE(rig.ui().option(n)->isChecked(), n == selected);
    QCOMPARE(rig.ui().bar->panel(2), panel);
    if (selected) {
        QCOMPARE(rig.fakes.port.portNumber(), selected);
        // The option's handler stored "port", the same entry as "Port".
        QCOMPARE(rig.fakes.store.read(kMain, kProps, QStringLiteral("port"), QString()),
                 QString::number(selected));
    }
}

void TstMainWindow::storedPhoneFillsField()
{
    Form1Rig rig(RigOptions().unloaded());
    rig.fakes.store.store(kMain, kProps, QStringLiteral("ph"), QStringLiteral("0123 456"));
    rig.window->Form_Load();
    QCOMPARE(rig.ui().Text2->text(), QStringLiteral("0123 456"));
}

void TstMainWindow::unloadStoresPortAndPhone()
{
    Form1Rig rig(RigOptions().unloaded());
    rig.fakes.store.store(kMain, kProps, QStringLiteral("ph"), QStringLiteral("555"));
    rig.window->Form_Load();
    rig.window->connection().Option_Click(2);
    rig.ui().Text2->setText(QString());   // the change handler stores the empty text
    rig.fakes.store.store(kMain, kProps, QStringLiteral("ph"), QStringLiteral("kept"));
    QSignalSpy ended(rig.window.get(), &MainWindow::ended);
    rig.window->close();
    QCOMPARE(ended.count(), 1);
    QCOMPARE(rig.fakes.store.read(kMain, kProps, QStringLiteral("Port"), QString()), QStringLiteral("2"));
    // An empty phone field does not overwrite the stored number.
    QCOMPARE(rig.fakes.store.read(kMain, kProps, QStringLiteral("ph"), QString()), QStringLiteral("kept"));
}

void TstMainWindow::placementAtLoad_data()
{
    QTest::addColumn<QString>("stored");   // "saved": what a window placed as below stored when closed
    QTest::addColumn<bool>("maximised");
    QTest::addColumn<bool>("restored");
    QTest::addRow("nothing stored: centred") << "" << false << false;
    QTest::addRow("where it was left") << "saved" << false << true;
    QTest::addRow("maximised as it was left") << "saved" << true << true;
    QTest::addRow("not base64: centred") << "%%geometry%%" << false << false;
    QTest::addRow("not a geometry: centred") << "AAAA" << false << false;
}

// Closing the window stores its place and size; the next load restores them,
// or centres the window on the screen when nothing usable is stored.
void TstMainWindow::placementAtLoad()
{
    QFETCH(QString, stored);
    QFETCH(bool, maximised);
    QFETCH(bool, restored);
    const QRect placed(4, 100, 794, 580);
    if (stored == QLatin1String("saved")) {
        Form1Rig first;
        first.window->setGeometry(placed);
        if (maximised)
            first.window->showMaximized();
        QTRY_COMPARE(first.window->isMaximized(), maximised);
        first.window->close();
        stored = first.fakes.store.read(kMain, kWindow, kGeometry, QString());
    }
    Form1Rig rig(RigOptions().unloaded());
    rig.fakes.store.store(kMain, kWindow, kGeometry, stored);
    rig.window->Form_Load();
    rig.window->show();
    QTRY_COMPARE(rig.window->isMaximized(), maximised);
    if (restored) {
        QCOMPARE(rig.window->normalGeometry(), placed);
        return;
    }
    // Centred as the window was before the window system framed it.
    const QPoint off = rig.window->frameGeometry().center() - rig.window->screen()->geometry().center();
    QVERIFY2(qAbs(off.x()) <= 2 && qAbs(off.y()) <= 2,
             qPrintable(QStringLiteral("%1, %2").arg(off.x()).arg(off.y())));
}

void TstMainWindow::unloadEndsWaitsWithoutSending()
{
    Form1Rig rig;
    rig.window->connection().Option_Click(1);
    rig.ui().Text2->setText(QStringLiteral("42"));
    bool closed = false;
    QObject::connect(&rig.window->waiter(), &Waiter::ticked, [&] {
        if (!closed) {
            closed = true;
            rig.window->close_Click();
        }
    });
    rig.window->connection().connect_Click();
    QVERIFY(closed);
    QCOMPARE(rig.fakes.port.written(), QByteArray("\r\n"));   // no ATDT, no END
    QVERIFY(!rig.fakes.port.isOpen());
    QCOMPARE(rig.fakes.store.read(kMain, kProps, QStringLiteral("Port"), QString()), QStringLiteral("1"));
}

void TstMainWindow::receiveEnablesUploadButtons()
{
    Form1Rig rig;
    rig.ui().upload->setEnabled(true);
    QTest::mouseClick(rig.ui().upload, Qt::LeftButton);
    for (QPushButton* b : {rig.ui().up_all, rig.ui().up_par, rig.ui().up_tnt, rig.ui().up_evr})
        QVERIFY(b->isEnabled());
    QCOMPARE(focus(), rig.ui().up_par);
}

void TstMainWindow::helpOpensPageOnlyThroughItsVerb()
{
    Form1Rig rig;
    rig.window->yess_Click();
    QCOMPARE(rig.fakes.opener.opened.size(), 1);
    QFile page(rig.fakes.opener.opened.first());
    QVERIFY(page.fileName().endsWith(QStringLiteral("velno6100.hlp.htm")));
    const QFileInfo folder(QFileInfo(page).absolutePath());   // no other user's
    QCOMPARE(folder.ownerId(), QFileInfo(page).ownerId());
    QCOMPARE(folder.permissions() & (QFile::WriteGroup | QFile::WriteOther | QFile::ReadOther),
             QFile::Permissions());
    QVERIFY(page.open(QIODevice::ReadOnly));
    const QString html = QString::fromUtf8(page.readAll());
    QVERIFY(html.contains(QStringLiteral("<title>Velno 6100 Series Management Software Version 2</title>")));
    for (const char* chapter :
         {"liability.htm", "getting_started.htm", "understanding.htm", "installation.htm", "modem.htm"})
        QVERIFY(html.contains(QStringLiteral("href=\"%1\"").arg(QLatin1String(chapter))));

    // Without a verb of that caption the command does nothing.
    for (QAction* verb : rig.ui().OLE2->actions())
        verb->setText(QStringLiteral("Open"));
    rig.window->yess_Click();
    QCOMPARE(rig.fakes.opener.opened.size(), 1);
}

void TstMainWindow::clockPanelShowsTheTimeThroughWaits()
{
    Form1Rig rig;
    rig.fakes.clock.time = QDateTime(QDate(2003, 1, 20), QTime(21, 7, 9));
    // A tick may have shown the clock's earlier time already: the next one shows the new.
    QTRY_VERIFY2(rig.ui().bar->panel(5).contains(QStringLiteral("07")), qPrintable(rig.ui().bar->panel(5)));
    // A wait stops Timer1 when it ends; the clock goes on.
    rig.window->waiter().wait_seconds(1);
    QVERIFY(!rig.window->waiter().Timer1().isActive());
    rig.fakes.clock.time = QDateTime(QDate(2003, 1, 20), QTime(21, 48, 9));
    QTRY_VERIFY2(rig.ui().bar->panel(5).contains(QStringLiteral("48")), qPrintable(rig.ui().bar->panel(5)));
}

// Left alone for ten program seconds, the text cursor stays steady; a key
// press makes it blink again, and closing the window gives the desktop's
// blinking back.
void TstMainWindow::cursorBlinksOnlyAfterInput()
{
    const int desktop = QApplication::cursorFlashTime();
    QVERIFY(desktop > 0);
    {
        Form1Rig rig;
        QTRY_COMPARE(QApplication::cursorFlashTime(), 0);
        QTest::keyClick(rig.ui().Text2, Qt::Key_5);
        QCOMPARE(QApplication::cursorFlashTime(), desktop);
        QTRY_COMPARE(QApplication::cursorFlashTime(), 0);
    }
    QCOMPARE(QApplication::cursorFlashTime(), desktop);
}

QTEST_MAIN(TstMainWindow)
#include "tst_mainwindow.moc"
