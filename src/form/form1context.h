// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/appsettings.h"
#include "core/capturefile.h"
#include "desktop/platform.h"
#include "form/form1ui.h"

class QMainWindow;
class LinkSession;
class ModemSettings;
class Waiter;

// The state the main window's handlers share: its controls, the platform's
// services, the settings, the waits, the link to the panel and the capture
// slot, all living as long as the window.
// What a site of the book sets in the window: the port, the phone number
// and the modem setting.
struct SiteLine {
    int port = 0;
    QString phone;
    QString setup;
};

struct Form1Context {
    QMainWindow* window;
    Form1Ui& ui;
    Platform& platform;
    AppSettings& settings;
    Waiter& waiter;
    ModemSettings& modem;
    LinkSession& session;   // the port's state; every line to the panel goes through it

    CaptureFile capture{};   // the capture slot: open while received text is captured
    // The name of the site last used from the site book, empty for none,
    // and the port, phone number and modem setting it gave the window;
    // changed through setSiteInUse only.
    QString siteInUse{};
    SiteLine siteLine{};

    // The main window's mouse pointer: the hourglass or the default.
    void setHourglass(bool on) const;
    // A box with an OK button, no icon and the application title.
    void tellWithTitle(const QString& prompt) const;
    // Records the site in use and shows it: the status bar's tooltip and the
    // first line of the window's accessible description.
    void setSiteInUse(const QString& name, const SiteLine& line = SiteLine());
};
