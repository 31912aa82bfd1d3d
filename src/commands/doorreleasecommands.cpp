// SPDX-License-Identifier: GPL-3.0-or-later
#include "doorreleasecommands.h"

#include "commands/connectionguard.h"
#include "commands/fieldcaret.h"
#include "core/commandline.h"
#include "desktop/controlevents.h"
#include "desktop/maskedfield.h"
#include "form/form1context.h"

#include <QPushButton>

DoorReleaseCommands::DoorReleaseCommands(Form1Context& ctx, QObject* parent)
    : QObject(parent),
      m_ctx(ctx),
      m_doorNumbers(ctx,
                    {QStringLiteral("PARDTM"), ctx.ui.dtmf,
                     QStringLiteral("Please input Door1,Door2TelephoneOpenNumber"), ctx.ui.medit1,
                     ctx.ui.medit2})
{}

void DoorReleaseCommands::opendtmf_Click()
{
    m_doorNumbers.sendByButton();
}

void DoorReleaseCommands::dtmf_KeyPress(int charCode)
{
    if (charCode == ControlEvents::kEnter)
        m_doorNumbers.sendByEnter();
}

void DoorReleaseCommands::dtmf_GotFocus()
{
    putCaretAtStart(m_ctx.ui.dtmf);
}

void DoorReleaseCommands::um_Click()
{
    sendGuarded(m_ctx, CommandLine::command(QStringLiteral("PAROPN")));
}

void DoorReleaseCommands::up_Click()
{
    sendGuarded(m_ctx, CommandLine::command(QStringLiteral("PAROPB")));
}
