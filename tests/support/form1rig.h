// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/mainwindow.h"
#include "operator.h"
#include "ptypair.h"
#include "testfiles.h"
#include "testplatform.h"

#include <QStringList>
#include <QTemporaryDir>
#include <memory>

// How a rig is built. By default: fakes everywhere, the window loaded, shown
// and active so that focus is real. Each setter returns the options, to chain.
struct RigOptions {
    enum class Line { Fake, Pty, Real };

    // The real serial port, its port 1 a pseudo-terminal whose far end the test plays.
    RigOptions& onPty() { return set(line, Line::Pty); }
    // The real serial port, its devices mapped by the test (fakes.mapPort).
    RigOptions& onRealPort() { return set(line, Line::Real); }
    RigOptions& tick(int ms) { return set(tickMs, ms); }
    // The real settings files under the folder.
    RigOptions& settingsIn(const QString& folder) { return set(settingsFolder, folder); }
    // The store (velno.sqlite) in the folder.
    RigOptions& dataIn(const QString& folder) { return set(dataFolder, folder); }
    RigOptions& hidden() { return set(show, false); }
    // Neither loaded nor shown: the test loads it.
    RigOptions& unloaded() { return set(load, false).set(show, false); }

    Line line = Line::Fake;
    QString settingsFolder;
    QString dataFolder;
    int tickMs = TestPlatform::kShortTickMs;
    bool load = true;
    bool show = true;

private:
    template <typename T, typename V>
    RigOptions& set(T& field, const V& value)
    {
        field = value;
        return *this;
    }
};

// The main window on the platform the options ask for; fakes for the rest.
struct Form1Rig {
    explicit Form1Rig(const RigOptions& options = RigOptions());

    // Loads the window, on the real port choosing port 1; then shows it and
    // waits until it is the active window, if asked.
    void load(bool show = true);

    Form1Ui& ui() { return window->ui(); }
    Form1Context& ctx() { return window->context(); }
    template <typename T = QWidget>
    T* control(const QString& name) const
    {
        return ::control<T>(window.get(), name);
    }
    // The serial port in use, fake or real.
    SerialPort& port() { return fakes.platform.port; }

    // Connect with an empty phone field: the port opens, no modem is dialled.
    // Returns the prompts of the boxes shown meanwhile, which are then forgotten.
    QStringList connectDirect();
    // What "SEND" does: every command control usable.
    void makeCommandsUsable();
    // Open LOG File on path, the file dialog answered by the prompter.
    void openCapture(const QString& path);
    QString paneText() const;
    QString statusText() const;

    QTemporaryDir dir;
    std::unique_ptr<PtyPair> pty;   // on a pseudo-terminal only
    TestPlatform fakes;
    std::unique_ptr<MainWindow> window;
    bool active = false;   // shown and became the active window

private:
    bool m_realPort = false;
};
