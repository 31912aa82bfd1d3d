// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class CaptureLog;
class Connection;
class EditMenu;
class FileSender;
class MainWindow;
class ParameterMenu;
class ProgrammingCode;
class ReceivePrinting;
class Receiver;
class SaveReceived;
class SiteMenu;
class TenantMenu;
class Uploads;
struct Form1Ui;
class PanelCommands;

// The objects whose handlers the main window's controls and menu items run.
struct Form1Handlers {
    MainWindow& window;
    TenantMenu& tenantMenu;
    CaptureLog& captureLog;
    ParameterMenu& parameterMenu;
    SaveReceived& saveReceived;
    ReceivePrinting& receivePrinting;
    EditMenu& editMenu;
    Connection& connection;
    FileSender& fileSender;
    ProgrammingCode& programmingCode;
    Uploads& uploads;
    PanelCommands& commands;
    Receiver& receiver;
    SiteMenu& siteMenu;
};

// Connects every control and menu item of the main window to its handler,
// once each: the one place that says what a control does.
void wireForm1(const Form1Ui& ui, const Form1Handlers& handlers);
