// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "commands/clearcommands.h"
#include "commands/clockcommands.h"
#include "commands/doorreleasecommands.h"
#include "commands/doortiming.h"
#include "commands/mastercodecommands.h"

struct Form1Context;

// The parameter and control commands of the main window, in their groups.
class PanelCommands {
public:
    explicit PanelCommands(Form1Context& ctx);

    ClockCommands clock;
    DoorReleaseCommands doorRelease;
    DoorTiming doorTiming;
    MasterCodeCommands masterCode;
    ClearCommands clear;
};
