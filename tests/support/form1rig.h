// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/mainwindow.h"
#include "testplatform.h"

#include <memory>

// The main window on fakes, loaded, shown and active so that focus is real.
struct Form1Rig {
    explicit Form1Rig(bool load = true);

    Form1Ui& ui() { return window->ui(); }
    Form1Context& ctx() { return window->context(); }
    // The control that has the keyboard focus, or null.
    static QWidget* focus();
    // Opens the fake port the way Connect does with an empty phone field.
    void connectDirect();

    TestPlatform fakes;
    std::unique_ptr<MainWindow> window;
};
