// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class SerialPort;
class Prompter;
class SettingsStore;
class Clock;
class Clipboard;
class Printer;
class DesktopOpener;

// The services of the system the program's logic uses; real ones in the
// program, fakes in tests.
struct Platform {
    SerialPort& port;
    Prompter& prompter;
    SettingsStore& store;
    Clock& clock;
    Clipboard& clipboard;
    Printer& printer;
    DesktopOpener& opener;
    int realMsPerSecond = 1000;   // the tick length; shortened in tests only
    // The user's configuration folder, where an earlier version kept the
    // site book (Velno/sites.ini); none: there is nothing to bring in.
    QString configFolder{};
    // Where the store (velno.sqlite: the journal and the site book) is
    // kept; empty: the user's data folder.
    QString dataFolder{};
};
