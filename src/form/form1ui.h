// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "form/receivepane.h"

#include <QList>

class QAction;
class QWidget;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMainWindow;
class QMenu;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QScrollArea;
class QToolButton;
class MaskedField;
class StatusPanels;

// Every control and menu item of the main window, under its own name.
struct Form1Ui {
    // Left column
    QGroupBox* Frame2 = nullptr;   // "Select Port"
    QRadioButton* Option1 = nullptr;
    QRadioButton* Option2 = nullptr;
    QRadioButton* Option3 = nullptr;
    QRadioButton* Option4 = nullptr;
    QGroupBox* Frame1 = nullptr;
    QPushButton* upload = nullptr;   // "RECEIVE"
    QPushButton* download = nullptr;   // "SEND"
    QPushButton* connectButton = nullptr;   // objectName "connect"
    QPushButton* close1 = nullptr;
    QLabel* Label1 = nullptr;
    QLineEdit* Text2 = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* Text3 = nullptr;
    QPushButton* Mastercode = nullptr;
    QPushButton* rtrtc = nullptr;
    ReceivePane* Text1 = nullptr;   // the receive pane
    QPushButton* Command1 = nullptr;   // "Please Wait..."
    QToolButton* OLE2 = nullptr;   // the help page, shown as an icon

    // "Receive"
    QGroupBox* Frame3 = nullptr;
    QPushButton* up_all = nullptr;
    QPushButton* up_par = nullptr;
    QPushButton* up_tnt = nullptr;
    QPushButton* up_evr = nullptr;

    // "Send"
    QGroupBox* Frame4 = nullptr;
    QPushButton* Date = nullptr;
    QPushButton* Command3 = nullptr;
    QPushButton* sendfileg = nullptr;
    QPushButton* opentime1 = nullptr;
    QPushButton* opentime2 = nullptr;
    QPushButton* uptalktime = nullptr;
    QPushButton* manualdoor1 = nullptr;
    QPushButton* manualdoor2 = nullptr;
    QPushButton* Newmastcode = nullptr;
    QPushButton* message = nullptr;
    QPushButton* opendtmf = nullptr;
    QPushButton* um = nullptr;
    QPushButton* up = nullptr;
    QPushButton* clearevr = nullptr;
    QPushButton* cleartnt = nullptr;
    MaskedField* medit1 = nullptr;
    MaskedField* medit2 = nullptr;
    MaskedField* medit3 = nullptr;
    MaskedField* medit7 = nullptr;
    MaskedField* medit8 = nullptr;
    MaskedField* MEDITTNT = nullptr;
    MaskedField* dtmf = nullptr;
    QLineEdit* Medit_New_mastercode = nullptr;
    QLabel* Label4 = nullptr;
    QLineEdit* MsgWel = nullptr;

    QProgressBar* Progress = nullptr;
    StatusPanels* bar = nullptr;

    QWidget* client = nullptr;   // every control between menus and status bar
    QScrollArea* clientArea = nullptr;   // scrolls them when the window is smaller

    // Menus
    QMenu* file = nullptr;
    QMenu* new_tenant = nullptr;
    QAction* di = nullptr;
    QAction* dig = nullptr;
    QAction* digi = nullptr;
    QAction* open_send = nullptr;
    QAction* mnuOpenLog = nullptr;
    QAction* mnuCloseLog = nullptr;
    QAction* mnuopenpar = nullptr;
    QAction* OpenPar = nullptr;
    QAction* save_received = nullptr;
    QAction* print_receive = nullptr;
    QAction* print_send = nullptr;
    QAction* closeItem = nullptr;   // objectName "close"
    QMenu* edit_file = nullptr;
    QAction* cut_file = nullptr;
    QAction* copy_file = nullptr;
    QAction* paset_file = nullptr;
    QAction* Setting = nullptr;
    QMenu* sites = nullptr;   // "S&ites"
    QAction* siteBook = nullptr;   // "&Site Book..."
    QAction* siteTeam = nullptr;   // "&Team..."
    QList<QAction*> recentSites;   // the sites used last, newest first
    QAction* journal = nullptr;   // "&Journal..."
    QMenu* hilp_file = nullptr;
    QAction* yess = nullptr;

    QRadioButton* option(int number) const;
    // The command controls that are usable only while connected: disabled
    // when the window loads and again on Disconnect.
    QList<QWidget*> commandControls() const;
};

// Creates the controls of the main window in their start-up state, the
// window at its first size.
void buildForm1(QMainWindow* window, Form1Ui& ui);
