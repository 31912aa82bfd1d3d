// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform.h"
#include "platform/clock.h"
#include "platform/inisettingsstore.h"
#include "platform/qtserialport.h"
#include "qtclipboard.h"
#include "qtdesktopopener.h"
#include "qtprinter.h"
#include "widgetprompter.h"

// Owns the real service of each kind and hands them out as one Platform.
class RealPlatform {
public:
    RealPlatform();
    // Settings under the given folder instead of the user's configuration folder.
    explicit RealPlatform(const QString& settingsRoot);

    RealPlatform(const RealPlatform&) = delete;
    RealPlatform& operator=(const RealPlatform&) = delete;

    Platform& platform() { return m_platform; }

    // The window that message boxes and the file and print dialogs belong to.
    void setDialogParent(QWidget* parent);

private:
    IniSettingsStore m_store;
    QtSerialPort m_port;
    WidgetPrompter m_prompter;
    SystemClock m_clock;
    QtClipboard m_clipboard;
    QtPrinter m_printer;
    QtDesktopOpener m_opener;
    Platform m_platform;
};
