// SPDX-License-Identifier: GPL-3.0-or-later
#include "form1ui.h"

#include "desktop/asteriskecho.h"
#include "desktop/enterpressesbutton.h"
#include "desktop/maskedfield.h"
#include "desktop/onelinefield.h"
#include "desktop/tabchain.h"
#include "desktop/windowfit.h"
#include "form/statuspanels.h"
#include "form/terminalfont.h"

#include <QAction>
#include <QApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

// One twip is 1/1440 inch; at the usual 96 dots per inch 15 twips make a pixel.
constexpr int kTwipsPerPixel = 15;
constexpr int kClientWidth = 9864 / kTwipsPerPixel;
constexpr int kClientHeight = 6948 / kTwipsPerPixel;

template <typename T>
T* named(T* widget, const char* name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QPushButton* button(const char* name, const QString& caption, QWidget* parent, const QString& tip = QString())
{
    auto* b = named(new QPushButton(caption, parent), name);
    if (!tip.isEmpty())
        b->setToolTip(tip);
    b->setAutoDefault(false);
    pressOnEnter(b);
    return b;
}

MaskedField* masked(const char* name, const QString& mask, const QString& spokenName, QWidget* parent)
{
    auto* f = named(new MaskedField(mask, parent), name);
    f->setAccessibleName(spokenName);
    f->setMaximumWidth(70);
    return f;
}

// Every text field of the main window goes onto the line: one line only.
QLineEdit* lineEdit(const char* name, const QString& spokenName, QWidget* parent)
{
    auto* e = named(new QLineEdit(parent), name);
    e->setAccessibleName(spokenName);
    OneLineField::keep(e);
    return e;
}

QAction* item(const char* name, const QString& caption, QMenu* menu)
{
    auto* a = named(new QAction(caption, menu), name);
    menu->addAction(a);
    return a;
}

void buildPortAndConnect(QWidget* parent, QVBoxLayout* column, Form1Ui& ui)
{
    ui.Frame2 = named(new QGroupBox(QStringLiteral("Select Port"), parent), "Frame2");
    auto* ports = new QHBoxLayout(ui.Frame2);
    QRadioButton** options[] = {&ui.Option1, &ui.Option2, &ui.Option3, &ui.Option4};
    for (int n = 1; n <= 4; ++n) {
        auto* option = new QRadioButton(QString::number(n), ui.Frame2);
        option->setObjectName(QStringLiteral("Option%1").arg(n));
        option->setAccessibleName(QStringLiteral("Port %1").arg(n));
        ports->addWidget(option);
        *options[n - 1] = option;
    }

    ui.Frame1 = named(new QGroupBox(parent), "Frame1");
    auto* transfer = new QHBoxLayout(ui.Frame1);
    ui.upload = button("upload", QStringLiteral("RECEIVE"), ui.Frame1);
    ui.download = button("download", QStringLiteral("SEND"), ui.Frame1);
    transfer->addWidget(ui.upload);
    transfer->addWidget(ui.download);

    auto* top = new QHBoxLayout;
    top->addWidget(ui.Frame2);
    top->addWidget(ui.Frame1);
    top->addStretch(1);
    column->addLayout(top);

    auto* grid = new QGridLayout;
    ui.connectButton = button("connect", QStringLiteral("Connect"), parent);
    ui.close1 = button("close1", QStringLiteral("Disconnect"), parent);
    ui.Label1 = named(new QLabel(QStringLiteral("Phone Number"), parent), "Label1");
    ui.Text2 = lineEdit("Text2", QStringLiteral("Phone Number"), parent);
    ui.Label1->setBuddy(ui.Text2);
    ui.Label2 = named(new QLabel(QStringLiteral("Mastercode"), parent), "Label2");
    ui.Text3 = lineEdit("Text3", QStringLiteral("Mastercode"), parent);
    echoAsAsterisks(ui.Text3);
    ui.Text3->setMaxLength(5);
    ui.Label2->setBuddy(ui.Text3);
    ui.Mastercode = button("Mastercode", QStringLiteral("MasterCode"), parent);
    ui.rtrtc = button("rtrtc", QStringLiteral("Time"), parent);
    grid->addWidget(ui.connectButton, 0, 0);
    grid->addWidget(ui.close1, 0, 1);
    grid->addWidget(ui.Label1, 1, 0);
    grid->addWidget(ui.Text2, 1, 1);
    grid->addWidget(ui.Label2, 2, 0);
    grid->addWidget(ui.Text3, 2, 1);
    grid->addWidget(ui.Mastercode, 3, 0);
    grid->addWidget(ui.rtrtc, 3, 1);
    grid->setColumnStretch(2, 1);   // the width gained goes past the fields
    column->addLayout(grid);
}

void buildReceivePane(QWidget* parent, QVBoxLayout* column, Form1Ui& ui)
{
    ui.Text1 = named(new ReceivePane(parent), "Text1");
    ui.Text1->setAccessibleName(QStringLiteral("Received data"));
    ui.Text1->setLineWrapMode(QPlainTextEdit::NoWrap);
    ui.Text1->setTabChangesFocus(true);   // Tab leaves the pane, as in every field
    ui.Text1->setFont(terminalFont());
    ui.Text1->setPlainText(QStringLiteral("Text1"));   // replaced when the window loads
    QPalette palette = ui.Text1->palette();
    palette.setColor(QPalette::Base, Qt::white);
    ui.Text1->setPalette(palette);
    column->addWidget(ui.Text1, 1);

    auto* row = new QHBoxLayout;
    ui.Command1 = button("Command1", QStringLiteral("Please Wait..."), parent);
    ui.OLE2 = named(new QToolButton(parent), "OLE2");
    ui.OLE2->setIcon(parent->style()->standardIcon(QStyle::SP_FileDialogInfoView));
    ui.OLE2->setIconSize(QSize(32, 32));
    ui.OLE2->setFixedSize(615 / kTwipsPerPixel, 735 / kTwipsPerPixel);
    ui.OLE2->setAccessibleName(QStringLiteral("Help page"));
    ui.OLE2->setToolTip(QStringLiteral("velno6100.hlp.htm"));
    row->addWidget(ui.Command1);
    row->addStretch(1);
    row->addWidget(ui.OLE2);
    column->addLayout(row);
}

void buildReceiveFrame(QWidget* parent, QVBoxLayout* column, Form1Ui& ui)
{
    ui.Frame3 = named(new QGroupBox(QStringLiteral("Receive"), parent), "Frame3");
    auto* row = new QHBoxLayout(ui.Frame3);
    ui.up_all = button("up_all", QStringLiteral("ALL"), ui.Frame3,
                       QStringLiteral("Parameter And DataBase Information "));
    ui.up_par =
        button("up_par", QStringLiteral("Parameters"), ui.Frame3, QStringLiteral("Parameter Information"));
    ui.up_tnt = button("up_tnt", QStringLiteral("Tenants"), ui.Frame3, QStringLiteral("Tenant DataBase"));
    ui.up_evr =
        button("up_evr", QStringLiteral("Events"), ui.Frame3, QStringLiteral("Event Record DataBase"));
    for (QPushButton* b : {ui.up_all, ui.up_par, ui.up_tnt, ui.up_evr})
        row->addWidget(b);
    column->addWidget(ui.Frame3);
}

// A button with the field it sends, the field spoken as the button's caption.
void addSender(QGridLayout* grid, int row, int col, QPushButton* b, QWidget* field)
{
    field->setAccessibleName(b->text());
    grid->addWidget(b, row, col);
    grid->addWidget(field, row, col + 1);
}

void buildSendFrame(QWidget* parent, QVBoxLayout* column, Form1Ui& ui)
{
    ui.Frame4 = named(new QGroupBox(QStringLiteral("Send"), parent), "Frame4");
    QWidget* f = ui.Frame4;
    auto* grid = new QGridLayout(f);

    ui.uptalktime = button("uptalktime", QStringLiteral("Talk Time"), f);
    ui.medit1 = masked("medit1", QStringLiteral("###"), QString(), f);
    ui.opentime1 = button("opentime1", QStringLiteral("Door1 Open Time"), f);
    ui.medit2 = masked("medit2", QStringLiteral("##"), QString(), f);
    ui.opentime2 = button("opentime2", QStringLiteral("Door2 Open Time"), f);
    ui.medit3 = masked("medit3", QStringLiteral("##"), QString(), f);
    ui.manualdoor1 = button("manualdoor1", QStringLiteral("ManualUnlockDoor1"), f);
    ui.medit7 = masked("medit7", QStringLiteral("##"), QString(), f);
    ui.manualdoor2 = button("manualdoor2", QStringLiteral("ManualUnlockDoor2"), f);
    ui.medit8 = masked("medit8", QStringLiteral("##"), QString(), f);
    ui.cleartnt =
        button("cleartnt", QStringLiteral("Clear Tenant"), f, QStringLiteral("Clear a tenent you input"));
    ui.MEDITTNT = masked("MEDITTNT", QStringLiteral("####"), QString(), f);
    ui.opendtmf = button("opendtmf", QStringLiteral("OpenDoorNo(1/2)"), f);
    ui.dtmf = masked("dtmf", QStringLiteral("#/#"), QString(), f);
    ui.Newmastcode = button("Newmastcode", QStringLiteral("New Mastercode"), f);
    ui.Medit_New_mastercode = lineEdit("Medit_New_mastercode", QString(), f);
    echoAsAsterisks(ui.Medit_New_mastercode);
    ui.Medit_New_mastercode->setMaxLength(5);
    ui.Medit_New_mastercode->setMaximumWidth(70);

    addSender(grid, 0, 0, ui.uptalktime, ui.medit1);
    addSender(grid, 1, 0, ui.opentime1, ui.medit2);
    addSender(grid, 2, 0, ui.opentime2, ui.medit3);
    addSender(grid, 3, 0, ui.manualdoor1, ui.medit7);
    addSender(grid, 4, 0, ui.manualdoor2, ui.medit8);
    addSender(grid, 0, 2, ui.cleartnt, ui.MEDITTNT);
    addSender(grid, 1, 2, ui.opendtmf, ui.dtmf);
    addSender(grid, 2, 2, ui.Newmastcode, ui.Medit_New_mastercode);

    ui.clearevr = button("clearevr", QStringLiteral("Clear Events"), f,
                         QStringLiteral("Clear all EventRecord DataBase"));
    ui.Date = button("Date", QStringLiteral("Date"), f);
    ui.um = button("um", QStringLiteral("UnlockMute"), f);
    ui.up = button("up", QStringLiteral("UnlockBeep"), f);
    ui.sendfileg = button("sendfileg", QStringLiteral("DATABASE"), f, QStringLiteral("Send File"));
    ui.message = button("message", QStringLiteral("Message"), f, QStringLiteral("Set Message"));
    grid->addWidget(ui.clearevr, 3, 2);
    grid->addWidget(ui.Date, 3, 3);
    grid->addWidget(ui.um, 4, 2);
    grid->addWidget(ui.up, 4, 3);

    ui.Label4 = named(new QLabel(QStringLiteral("Welcome Message"), f), "Label4");
    ui.MsgWel = lineEdit("MsgWel", QStringLiteral("Welcome Message"), f);
    ui.MsgWel->setMaxLength(51);
    ui.Label4->setBuddy(ui.MsgWel);
    grid->addWidget(ui.Label4, 5, 0);
    grid->addWidget(ui.MsgWel, 5, 1, 1, 3);
    grid->addWidget(ui.message, 6, 0);
    grid->addWidget(ui.sendfileg, 6, 2);

    ui.Command3 = button("Command3", QStringLiteral("Please Close the LOG File After Receiving"), f);
    grid->addWidget(ui.Command3, 7, 0, 1, 4);
    column->addWidget(ui.Frame4);
}

// The recent sites' items stay hidden until a site has been used.
void buildSitesMenu(QMenuBar* bar, Form1Ui& ui)
{
    constexpr int kRecentSites = 9;
    ui.sites = named(bar->addMenu(QStringLiteral("S&ites")), "sites");
    ui.siteBook = item("siteBook", QStringLiteral("&Site Book..."), ui.sites);
    ui.journal = item("journal", QStringLiteral("&Journal..."), ui.sites);
    ui.siteTeam = item("siteTeam", QStringLiteral("&Team..."), ui.sites);
    ui.sites->addSeparator();
    for (int n = 1; n <= kRecentSites; ++n) {
        QAction* recent = ui.sites->addAction(QString());
        recent->setObjectName(QStringLiteral("recentSite%1").arg(n));
        recent->setVisible(false);
        ui.recentSites.append(recent);
    }
}

void buildMenus(QMainWindow* window, Form1Ui& ui)
{
    QMenuBar* bar = window->menuBar();
    ui.file = named(bar->addMenu(QStringLiteral("&File")), "file");
    ui.new_tenant = named(ui.file->addMenu(QStringLiteral("&New Tenant Database")), "new_tenant");
    ui.di = item("di", QStringLiteral("2-&Digit Directory"), ui.new_tenant);
    ui.dig = item("dig", QStringLiteral("3-D&igit Directory"), ui.new_tenant);
    ui.digi = item("digi", QStringLiteral("4-Di&git Directory"), ui.new_tenant);
    ui.open_send = item("open_send", QStringLiteral("Open &Tenant File"), ui.file);
    ui.file->addSeparator();
    ui.mnuOpenLog = item("mnuOpenLog", QStringLiteral("&Open LOG File"), ui.file);
    ui.mnuCloseLog = item("mnuCloseLog", QStringLiteral("Close &LOG File"), ui.file);
    ui.file->addSeparator();
    ui.mnuopenpar = item("mnuopenpar", QStringLiteral("&Save Parameter "), ui.file);
    ui.OpenPar = item("OpenPar", QStringLiteral("Op&en Parameter"), ui.file);
    ui.file->addSeparator();
    ui.save_received = item("save_received", QStringLiteral("Save &Received File"), ui.file);
    ui.file->addSeparator();
    ui.print_receive = item("print_receive", QStringLiteral("&Print Received File"), ui.file);
    ui.print_send = item("print_send", QStringLiteral("Print Se&nd File"), ui.file);
    ui.file->addSeparator();
    ui.closeItem = item("close", QStringLiteral("&Close"), ui.file);
    // Shown greyed: no user action ever makes these available.
    ui.mnuOpenLog->setEnabled(false);
    ui.mnuCloseLog->setEnabled(false);
    ui.print_send->setEnabled(false);
    // Never usable at all, so not shown: it would share the access key N with
    // "New Tenant Database", and the menu would then stop at it on N.
    ui.print_send->setVisible(false);

    ui.edit_file = named(bar->addMenu(QStringLiteral("&Edit")), "edit_file");
    ui.cut_file = item("cut_file", QStringLiteral("C&ut"), ui.edit_file);
    ui.copy_file = item("copy_file", QStringLiteral("&Copy"), ui.edit_file);
    ui.copy_file->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
    ui.paset_file = item("paset_file", QStringLiteral("&Paste"), ui.edit_file);
    ui.paset_file->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_V));
    ui.paset_file->setEnabled(false);
    for (QAction* a : {ui.copy_file, ui.paset_file})
        a->setShortcutContext(Qt::WindowShortcut);

    ui.Setting = named(bar->addAction(QStringLiteral("&Setting")), "Setting");
    buildSitesMenu(bar, ui);

    ui.hilp_file = named(bar->addMenu(QStringLiteral("&Help")), "hilp_file");
    ui.yess = item("yess", QStringLiteral("&About Velno 6300 Management System"), ui.hilp_file);
    ui.yess->setData(123);
}

// The Tab key follows the layout as it reads: the left column from the top,
// then the right column, each row from left to right.
void setTabOrder(const Form1Ui& ui)
{
    setTabChain({ui.Option1,
                 ui.Option2,
                 ui.Option3,
                 ui.Option4,
                 ui.upload,
                 ui.download,
                 ui.connectButton,
                 ui.close1,
                 ui.Text2,
                 ui.Text3,
                 ui.Mastercode,
                 ui.rtrtc,
                 ui.Text1,
                 ui.Command1,
                 ui.OLE2,
                 ui.up_all,
                 ui.up_par,
                 ui.up_tnt,
                 ui.up_evr,
                 ui.uptalktime,
                 ui.medit1,
                 ui.cleartnt,
                 ui.MEDITTNT,
                 ui.opentime1,
                 ui.medit2,
                 ui.opendtmf,
                 ui.dtmf,
                 ui.opentime2,
                 ui.medit3,
                 ui.Newmastcode,
                 ui.Medit_New_mastercode,
                 ui.manualdoor1,
                 ui.medit7,
                 ui.clearevr,
                 ui.Date,
                 ui.manualdoor2,
                 ui.medit8,
                 ui.um,
                 ui.up,
                 ui.MsgWel,
                 ui.message,
                 ui.sendfileg,
                 ui.Command3});
}

}   // namespace

QRadioButton* Form1Ui::option(int number) const
{
    switch (number) {
    case 1: return Option1;
    case 2: return Option2;
    case 3: return Option3;
    case 4: return Option4;
    default: return nullptr;
    }
}

QList<QWidget*> Form1Ui::commandControls() const
{
    return {Mastercode, cleartnt,  um,        Date,        up,          upload,
            download,   rtrtc,     sendfileg, message,     opendtmf,    dtmf,
            uptalktime, opentime1, opentime2, manualdoor1, manualdoor2, Newmastcode,
            up_all,     up_par,    up_tnt,    up_evr,      medit1,      medit2,
            medit3,     medit7,    medit8,    clearevr,    MEDITTNT,    Medit_New_mastercode};
}

void buildForm1(QMainWindow* window, Form1Ui& ui)
{
    window->setObjectName(QStringLiteral("form1"));
    window->setWindowTitle(QStringLiteral("Velno 6100 Management System") + QString(24, u' ')
                           + QStringLiteral("Version 3.0"));
    QPalette palette = window->palette();
    palette.setColor(QPalette::Window, QColor(192, 192, 192));
    window->setPalette(palette);
    window->setAutoFillBackground(true);

    // The receive pane takes every pixel the window gains: the left column
    // all the width, the pane all the height of it; the right column keeps
    // its controls at the top.
    auto* central = new QWidget;
    central->setObjectName(QStringLiteral("form1_client"));
    auto* columns = new QHBoxLayout(central);
    auto* left = new QVBoxLayout;
    auto* right = new QVBoxLayout;
    columns->addLayout(left, 1);
    columns->addLayout(right);

    buildPortAndConnect(central, left, ui);
    buildReceivePane(central, left, ui);
    buildReceiveFrame(central, right, ui);
    buildSendFrame(central, right, ui);

    ui.Progress = named(new QProgressBar(central), "Progress");
    ui.Progress->setFormat(QStringLiteral("%v / %m"));
    ui.Progress->setAccessibleName(QStringLiteral("Records sent"));
    right->addWidget(ui.Progress);
    right->addStretch(1);

    // A window smaller than the controls need, on a small screen, scrolls them.
    ui.client = central;
    ui.clientArea = named(new QScrollArea(window), "form1_scroller");
    ui.clientArea->setFrameShape(QFrame::NoFrame);
    ui.clientArea->setWidgetResizable(true);
    ui.clientArea->setWidget(central);
    ui.clientArea->setFocusPolicy(Qt::NoFocus);   // Tab goes from control to control
    keepFocusInView(ui.clientArea);
    window->setCentralWidget(ui.clientArea);

    ui.bar = named(new StatusPanels(window), "bar");
    window->setStatusBar(ui.bar);
    buildMenus(window, ui);
    setTabOrder(ui);

    // The design's client area is the first size, or what the controls
    // want if that is more, so that no caption is cut off at any font size
    // or scaling and every pixel gained goes to the pane alone; the window
    // never gets smaller, unless the screen is smaller.
    const QSize controls = central->sizeHint();
    const int chrome = window->menuBar()->sizeHint().height() + ui.bar->sizeHint().height();
    const QSize wanted(qMax(controls.width(), ui.bar->minimumSizeHint().width()), controls.height() + chrome);
    openAtFirstSize(window, QSize(kClientWidth, kClientHeight + chrome).expandedTo(wanted));
}
