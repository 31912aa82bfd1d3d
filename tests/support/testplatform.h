// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "fakeserialport.h"
#include "fakeservices.h"
#include "platform/platform.h"
#include "scriptedprompter.h"

// Every platform service as a fake, with a tick of a few milliseconds.
struct TestPlatform {
    static constexpr int kShortTickMs = 5;

    explicit TestPlatform(int realMsPerSecond = kShortTickMs)
        : platform{port, prompter, store, clock, clipboard, printer, opener, realMsPerSecond}
    {
    }

    FakeSerialPort port;
    ScriptedPrompter prompter;
    MemorySettingsStore store;
    FixedClock clock;
    FakeClipboard clipboard;
    FakePrinter printer;
    FakeOpener opener;
    Platform platform;
};
