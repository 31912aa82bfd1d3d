// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "modemfrontend.h"

#include <QString>

// What the command line asked for.
struct SimulatorOptions {
    QString devicePath;   // empty: open a pseudo-terminal
    QString statePath;   // empty: no state file
    bool saveState = true;
    bool modem = false;
    DialSettings dial;
    bool rateLimit = false;
    bool verbose = false;
};
