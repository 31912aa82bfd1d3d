// SPDX-License-Identifier: GPL-3.0-or-later
#include "panelcommands.h"

PanelCommands::PanelCommands(Form1Context& ctx)
    : m_clock(ctx), m_doorRelease(ctx), m_doorTiming(ctx), m_masterCode(ctx), m_clear(ctx)
{
}
