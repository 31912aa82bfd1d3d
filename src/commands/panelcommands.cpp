// SPDX-License-Identifier: GPL-3.0-or-later
#include "panelcommands.h"

PanelCommands::PanelCommands(Form1Context& ctx)
    : clock(ctx), doorRelease(ctx), doorTiming(ctx), masterCode(ctx), clear(ctx)
{}
