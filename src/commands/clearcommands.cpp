// SPDX-License-Identifier: GPL-3.0-or-later
#include "clearcommands.h"

#include "commands/connectionguard.h"
#include "core/commandline.h"
#include "desktop/maskedfield.h"
#include "form/form1context.h"
#include "platform/prompter.h"

#include <QPushButton>

ClearCommands::ClearCommands(Form1Context& ctx, QObject* parent) : QObject(parent), m_ctx(ctx) {}

bool ClearCommands::confirmed(const QString& prompt) const
{
    MessageBox box;
    box.prompt = prompt;
    box.title = QStringLiteral("Delete Confirmation");
    box.buttons = MessageBox::Buttons::YesNo;
    box.icon = MessageBox::Icon::Exclamation;
    box.defaultButton = MessageBox::Answer::No;
    return m_ctx.platform.prompter.ask(box) == MessageBox::Answer::Yes;
}

void ClearCommands::askForDirectory() const
{
    MessageBox box;
    box.prompt = QStringLiteral(" Please input the Tenant_Directory you want to delete ! Warning: If you "
                                "input '0' or '00' or '000' or '0000', All tenants in the system will be "
                                "deleted!");
    box.title = QStringLiteral("Clear tenant");
    box.icon = MessageBox::Icon::Information;
    m_ctx.platform.prompter.ask(box);
}

void ClearCommands::clearevr_Click()
{
    if (confirmed(QStringLiteral("Do you really want to delete EventRecord DataBase ?")))
        sendGuarded(m_ctx, CommandLine::command(QStringLiteral("KLR EVR")));
}

// Only zeros ("0" ... "0000") make the panel delete every tenant: it is sent
// like any other number, the warning is in the prompt for an empty field.
void ClearCommands::cleartnt_Click()
{
    MaskedField* directory = m_ctx.ui.MEDITTNT;
    if (directory->typedValue().isEmpty()) {
        askForDirectory();
        directory->setFocus();
        return;
    }
    if (!confirmed(QStringLiteral("Do you really want to delete Tenant DataBase ?")))
        return;
    if (sendGuarded(m_ctx, CommandLine::command(QStringLiteral("CLR"), {directory->typedValue()})))
        m_ctx.ui.clearevr->setFocus();
}
