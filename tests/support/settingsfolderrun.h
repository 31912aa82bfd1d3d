// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/mainwindow.h"
#include "platform/inisettingsstore.h"
#include "testplatform.h"

// One run of the program, loaded, on the real settings files under a folder;
// fakes for everything else.
struct SettingsFolderRun {
    explicit SettingsFolderRun(const QString& root)
        : store(root),
          platform{fakes.port, fakes.prompter, store, fakes.clock, fakes.clipboard, fakes.printer,
                   fakes.opener, TestPlatform::kShortTickMs},
          window(platform)
    {
        window.Form_Load();
    }

    TestPlatform fakes;
    IniSettingsStore store;
    Platform platform;
    MainWindow window;
};
