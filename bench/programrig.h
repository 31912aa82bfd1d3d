// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/mainwindow.h"
#include "desktop/platform.h"
#include "fakeservices.h"
#include "platform/clock.h"
#include "platform/qtserialport.h"
#include "scriptedprompter.h"

#include <QTemporaryDir>

#include <memory>

// The program as it runs for the operator, with a pseudo-terminal for its
// port 1: the main window shown (on the offscreen platform), its real serial
// port, the real clock and the real 1000 ms tick. No operator is there, so
// boxes and dialogs are answered by a script, and settings, clipboard,
// printer and opener are the test doubles.
class ProgramRig {
public:
    explicit ProgramRig(const QString& device);
    ~ProgramRig();
    ProgramRig(const ProgramRig&) = delete;
    ProgramRig& operator=(const ProgramRig&) = delete;

    MainWindow& window() { return *m_window; }
    ScriptedPrompter& prompter() { return m_prompter; }
    SerialPort& port() { return m_port; }

    // Connect with an empty phone field: the port opens, no modem is dialled.
    bool connectDirect();
    // The capture file that received text is copied into.
    bool openCapture(const QString& path);
    // Connected, with the capture file open when a path is given, and the
    // window on screen: the start of every receiving mode. False (and said
    // why) when the port or the file would not open.
    bool readyToReceive(const QString& capturePath);

private:
    MemorySettingsStore m_store;
    ScriptedPrompter m_prompter;
    SystemClock m_clock;
    FakeClipboard m_clipboard;
    FakePrinter m_printer;
    FakeOpener m_opener;
    QtSerialPort m_port;
    QTemporaryDir m_journalDir;   // the journal of the measured runs, not the user's
    Platform m_platform;
    std::unique_ptr<MainWindow> m_window;
};
