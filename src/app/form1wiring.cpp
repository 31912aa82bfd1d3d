// SPDX-License-Identifier: GPL-3.0-or-later
#include "form1wiring.h"

#include "app/mainwindow.h"
#include "files/editmenu.h"
#include "files/parametermenu.h"
#include "files/receiveprinting.h"
#include "files/tenantmenu.h"
#include "form/form1ui.h"
#include "link/capturelog.h"
#include "transfer/savereceived.h"

#include <QAction>
#include <QPushButton>

namespace {

// A menu item or a button: the handler's object is the connection's context,
// so the connection ends with it.
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
    onChoose(ui.yess, &h.window, &MainWindow::yess_Click);
}

// The left column from the top, each row from left to right.
void wireLeftColumn(const Form1Ui& ui, const Form1Handlers& h)
{
    onClick(ui.upload, &h.window, &MainWindow::upload_Click);
}

} // namespace

void wireForm1(const Form1Ui& ui, const Form1Handlers& handlers)
{
    wireMenus(ui, handlers);
    wireLeftColumn(ui, handlers);
}
