// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "desktop/platform.h"
#include "fakeserialport.h"
#include "fakeservices.h"
#include "platform/inisettingsstore.h"
#include "platform/qtserialport.h"
#include "scriptedprompter.h"

#include <QTemporaryDir>
#include <memory>

// Every platform service as a fake, with a tick of a few milliseconds; on
// request the real serial port or the real settings files instead.
struct TestPlatform {
    static constexpr int kShortTickMs = 5;

    struct Options {
        int tickMs = kShortTickMs;
        bool realPort = false;   // the real serial port, its devices mapped in the settings
        QString settingsFolder;   // real settings files under this folder; in memory when empty
        QString dataFolder;   // the store's folder; a temporary one when empty
    };

    explicit TestPlatform(int realMsPerSecond = kShortTickMs);
    explicit TestPlatform(const Options& options);
    ~TestPlatform();
    TestPlatform(const TestPlatform&) = delete;
    TestPlatform& operator=(const TestPlatform&) = delete;

    // Maps a port number of the real serial port to a device.
    void mapPort(int number, const QString& device);

    FakeSerialPort port;
    ScriptedPrompter prompter;
    MemorySettingsStore store;
    FixedClock clock;
    FakeClipboard clipboard;
    FakePrinter printer;
    FakeOpener opener;
    std::unique_ptr<IniSettingsStore> iniStore;   // with a settings folder only
    std::unique_ptr<QtSerialPort> realPort;   // with the real port only
    QTemporaryDir dataDir;   // the store is never written in the real data folder
    Platform platform;
};
