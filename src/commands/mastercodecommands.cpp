// SPDX-License-Identifier: GPL-3.0-or-later
#include "mastercodecommands.h"

#include "commands/connectionguard.h"
#include "commands/fieldcaret.h"
#include "commands/programmingmode.h"
#include "core/commandline.h"
#include "core/linksession.h"
#include "desktop/controlevents.h"
#include "form/form1context.h"
#include "link/typedtextcheck.h"
#include "platform/prompter.h"

#include <QLineEdit>
#include <QPushButton>

namespace {
constexpr int kButtonWrites = 1;
}   // namespace

MasterCodeCommands::MasterCodeCommands(Form1Context& ctx, QObject* parent)
    : QObject(parent),
      m_ctx(ctx),
      m_newMasterCode(ctx,
                      {CommandLine::kMasterCodeWord, ctx.ui.Medit_New_mastercode,
                       QStringLiteral("Please input new MasterCode"), nullptr, nullptr})
{}

void MasterCodeCommands::Mastercode_Click()
{
    const QString code = m_ctx.ui.Text3->text();
    if (code.isEmpty()) {
        m_ctx.tellWithTitle(QStringLiteral("Please input MasterCode"));
        m_ctx.ui.Text3->setFocus();
        return;
    }
    if (connectionGuard(m_ctx) && typedTextFitsTheLine(m_ctx, m_ctx.ui.Text3, code))
        ProgrammingMode::enter(m_ctx, code, kButtonWrites);
}

void MasterCodeCommands::Newmastcode_Click()
{
    m_newMasterCode.sendByButton();
}

void MasterCodeCommands::Medit_New_mastercode_KeyPress(int charCode)
{
    if (charCode == ControlEvents::kEnter)
        m_newMasterCode.sendByEnter();
}

void MasterCodeCommands::Medit_New_mastercode_GotFocus()
{
    putCaretAtStart(m_ctx.ui.Medit_New_mastercode);
}

// One box stands for both an empty message and a closed port.
void MasterCodeCommands::message_Click()
{
    const QString message = m_ctx.ui.MsgWel->text();
    LinkSession& session = m_ctx.session;
    if (message.isEmpty() || !session.isOpen()) {
        m_ctx.platform.prompter.tell(QStringLiteral("Please Input the text in 'Welcome Message' box"),
                                     QStringLiteral("Wellcome Message"));
        return;
    }
    if (!typedTextFitsTheLine(m_ctx, m_ctx.ui.MsgWel, message))
        return;
    m_ctx.setHourglass(true);
    const bool written = session.write(CommandLine::welcomeMessage(message));
    m_ctx.setHourglass(false);
    if (!written)
        tellPortClosed(m_ctx);
}

void MasterCodeCommands::MsgWel_KeyPress(int charCode)
{
    if (charCode == ControlEvents::kEnter)
        m_ctx.ui.message->setFocus();
}
