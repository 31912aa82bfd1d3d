// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "commands/clearcommands.h"
#include "commands/clockcommands.h"
#include "commands/doorreleasecommands.h"
#include "commands/doortiming.h"
#include "commands/mastercodecommands.h"

struct Form1Context;

// The parameter and control commands of the main window, each group wired to
// its own controls.
class PanelCommands {
public:
    explicit PanelCommands(Form1Context& ctx);

private:
    ClockCommands m_clock;
    DoorReleaseCommands m_doorRelease;
    DoorTiming m_doorTiming;
    MasterCodeCommands m_masterCode;
    ClearCommands m_clear;
};
