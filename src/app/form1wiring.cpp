// SPDX-License-Identifier: GPL-3.0-or-later
#include "form1wiring.h"

#include "app/mainwindow.h"
#include "commands/panelcommands.h"
#include "commands/programmingcode.h"
#include "desktop/controlevents.h"
#include "desktop/maskedfield.h"
#include "files/editmenu.h"
#include "files/parametermenu.h"
#include "files/receiveprinting.h"
#include "files/sitemenu.h"
#include "files/tenantmenu.h"
#include "form/form1ui.h"
#include "link/capturelog.h"
#include "link/connection.h"
#include "link/receiver.h"
#include "transfer/filesender.h"
#include "transfer/savereceived.h"
#include "transfer/uploads.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <functional>

namespace {

// A menu item, a button or a field's text: the handler's object is the
// connection's context, so the connection ends with it.
template <typename Handler, typename Run>
void onChoose(QAction* item, Handler* handler, Run run)
{
    QObject::connect(item, &QAction::triggered, handler, run);
}

template <typename Handler, typename Run>
void onClick(QAbstractButton* button, Handler* handler, Run run)
{
    QObject::connect(button, &QAbstractButton::clicked, handler, run);
}

template <typename Handler, typename Run>
void onChange(QLineEdit* field, Handler* handler, Run run)
{
    QObject::connect(field, &QLineEdit::textChanged, handler, run);
}

// The focus and key notifications of a field (see ControlEvents).
void onFocus(QWidget* field, std::function<void()> run)
{
    ControlEvents::of(field).gotFocus = std::move(run);
}

void onKeyDown(QWidget* field, std::function<bool(int)> run)
{
    ControlEvents::of(field).keyDown = std::move(run);
}

void onKeyPress(QWidget* field, std::function<void(int)> run)
{
    ControlEvents::of(field).keyPress = [run = std::move(run)](int& charCode) { run(charCode); };
}

// The menus, each in the order it shows its items.
void wireMenus(const Form1Ui& ui, const Form1Handlers& h)
{
    onChoose(ui.di, &h.tenantMenu, &TenantMenu::di_Click);
    onChoose(ui.dig, &h.tenantMenu, &TenantMenu::dig_Click);
    onChoose(ui.digi, &h.tenantMenu, &TenantMenu::digi_Click);
    onChoose(ui.open_send, &h.tenantMenu, &TenantMenu::open_send_Click);
    onChoose(ui.mnuOpenLog, &h.captureLog, &CaptureLog::mnuOpenLog_Click);
    onChoose(ui.mnuCloseLog, &h.captureLog, &CaptureLog::mnuCloseLog_Click);
    onChoose(ui.mnuopenpar, &h.parameterMenu, &ParameterMenu::mnuopenpar_Click);
    onChoose(ui.OpenPar, &h.parameterMenu, &ParameterMenu::OpenPar_Click);
    onChoose(ui.save_received, &h.saveReceived, &SaveReceived::save_received_Click);
    onChoose(ui.print_receive, &h.receivePrinting, &ReceivePrinting::print_receive_Click);
    // print_send is never available: it has no handler.
    onChoose(ui.closeItem, &h.window, &MainWindow::close_Click);
    onChoose(ui.cut_file, &h.editMenu, &EditMenu::cut_file_Click);
    onChoose(ui.copy_file, &h.editMenu, &EditMenu::copy_file_Click);
    onChoose(ui.paset_file, &h.editMenu, &EditMenu::paset_file_Click);
    onChoose(ui.Setting, &h.window, &MainWindow::Setting_Click);
    onChoose(ui.siteBook, &h.siteMenu, &SiteMenu::siteBook_Click);
    onChoose(ui.journal, &h.window, &MainWindow::journal_Click);
    onChoose(ui.siteTeam, &h.siteMenu, &SiteMenu::team_Click);
    for (int n = 1; n <= ui.recentSites.size(); ++n) {
        SiteMenu& sites = h.siteMenu;
        onChoose(ui.recentSites.at(n - 1), &sites, [&sites, n] { sites.recentSite_Click(n); });
    }
    onChoose(ui.yess, &h.window, &MainWindow::yess_Click);
}

// The left column from the top, each row from left to right; below the
// receive pane, "Please Wait..." only shows.
void wireLeftColumn(const Form1Ui& ui, const Form1Handlers& h)
{
    Connection& link = h.connection;
    onClick(ui.Option1, &link, [&link] { link.Option_Click(1); });
    onClick(ui.Option2, &link, [&link] { link.Option_Click(2); });
    onClick(ui.Option3, &link, [&link] { link.Option_Click(3); });
    onClick(ui.Option4, &link, [&link] { link.Option_Click(4); });
    onClick(ui.upload, &h.window, &MainWindow::upload_Click);
    onClick(ui.download, &h.fileSender, &FileSender::download_Click);
    onClick(ui.connectButton, &link, &Connection::connect_Click);
    onClick(ui.close1, &link, &Connection::close1_Click);
    onChange(ui.Text2, &link, &Connection::Text2_Change);
    onFocus(ui.Text2, [&link] { link.Text2_GotFocus(); });
    onKeyDown(ui.Text2, [&link](int key) { return link.Text2_KeyDown(key); });
    onKeyPress(ui.Text2, [&link](int ch) { link.Text2_KeyPress(ch); });
    ProgrammingCode& code = h.programmingCode;
    onFocus(ui.Text3, [&code] { code.Text3_GotFocus(); });
    onKeyDown(ui.Text3, [&code](int key) { return code.Text3_KeyDown(key); });
    onKeyPress(ui.Text3, [&code](int ch) { code.Text3_KeyPress(ch); });
    onClick(ui.Mastercode, &h.commands.masterCode, &MasterCodeCommands::Mastercode_Click);
    onClick(ui.rtrtc, &h.commands.clock, &ClockCommands::rtrtc_Click);
    // The help page's icon runs its verb, which the window made with it.
}

void wireReceiveFrame(const Form1Ui& ui, const Form1Handlers& h)
{
    onClick(ui.up_all, &h.uploads, &Uploads::up_all_Click);
    onClick(ui.up_par, &h.uploads, &Uploads::up_par_Click);
    onClick(ui.up_tnt, &h.uploads, &Uploads::up_tnt_Click);
    onClick(ui.up_evr, &h.uploads, &Uploads::up_evr_Click);
}

// Each door value's button, then its field.
void wireDoorValue(QAbstractButton* button, MaskedField* field, DoorTiming& doors, DoorTiming::Row row)
{
    onClick(button, &doors, [&doors, row] { doors.button_Click(row); });
    onKeyPress(field, [&doors, row](int ch) { doors.medit_KeyPress(row, ch); });
    onFocus(field, [&doors, row] { doors.medit_GotFocus(row); });
}

// Row by row, each from left to right.
void wireSendFrame(const Form1Ui& ui, const Form1Handlers& h)
{
    PanelCommands& c = h.commands;
    wireDoorValue(ui.uptalktime, ui.medit1, c.doorTiming, DoorTiming::TalkTime);
    onClick(ui.cleartnt, &c.clear, &ClearCommands::cleartnt_Click);
    wireDoorValue(ui.opentime1, ui.medit2, c.doorTiming, DoorTiming::Door1OpenTime);
    onClick(ui.opendtmf, &c.doorRelease, &DoorReleaseCommands::opendtmf_Click);
    onKeyPress(ui.dtmf, [&c](int ch) { c.doorRelease.dtmf_KeyPress(ch); });
    onFocus(ui.dtmf, [&c] { c.doorRelease.dtmf_GotFocus(); });
    wireDoorValue(ui.opentime2, ui.medit3, c.doorTiming, DoorTiming::Door2OpenTime);
    onClick(ui.Newmastcode, &c.masterCode, &MasterCodeCommands::Newmastcode_Click);
    onKeyPress(ui.Medit_New_mastercode, [&c](int ch) { c.masterCode.Medit_New_mastercode_KeyPress(ch); });
    onFocus(ui.Medit_New_mastercode, [&c] { c.masterCode.Medit_New_mastercode_GotFocus(); });
    wireDoorValue(ui.manualdoor1, ui.medit7, c.doorTiming, DoorTiming::Door1UnlockHour);
    onClick(ui.clearevr, &c.clear, &ClearCommands::clearevr_Click);
    onClick(ui.Date, &c.clock, &ClockCommands::Date_Click);
    wireDoorValue(ui.manualdoor2, ui.medit8, c.doorTiming, DoorTiming::Door2UnlockHour);
    onClick(ui.um, &c.doorRelease, &DoorReleaseCommands::um_Click);
    onClick(ui.up, &c.doorRelease, &DoorReleaseCommands::up_Click);
    onKeyPress(ui.MsgWel, [&c](int ch) { c.masterCode.MsgWel_KeyPress(ch); });
    onClick(ui.message, &c.masterCode, &MasterCodeCommands::message_Click);
    onClick(ui.sendfileg, &h.fileSender, &FileSender::sendfileg_Click);
    onClick(ui.Command3, &h.receiver, &Receiver::Command3_Click);
}

}   // namespace

void wireForm1(const Form1Ui& ui, const Form1Handlers& handlers)
{
    wireMenus(ui, handlers);
    wireLeftColumn(ui, handlers);
    wireReceiveFrame(ui, handlers);
    wireSendFrame(ui, handlers);
}
