// SPDX-License-Identifier: GPL-3.0-or-later
#include "fieldcommand.h"

#include "commands/connectionguard.h"
#include "core/commandline.h"
#include "desktop/maskedfield.h"
#include "form/form1context.h"
#include "link/typedtextcheck.h"

FieldCommand::FieldCommand(Form1Context& ctx, Route route) : m_ctx(ctx), m_route(std::move(route)) {}

QString FieldCommand::valueOf(const QLineEdit* field)
{
    if (const auto* masked = qobject_cast<const MaskedField*>(field))
        return masked->typedValue();
    return field->text();
}

void FieldCommand::sendByButton()
{
    if (valueOf(m_route.field).isEmpty()) {
        m_ctx.tellWithTitle(m_route.emptyPrompt);
        m_route.field->setFocus();
        return;
    }
    send(m_route.focusAfterButton);
}

void FieldCommand::sendByEnter()
{
    send(m_route.focusAfterEnter);
}

void FieldCommand::send(QWidget* focusAfter)
{
    if (!connectionGuard(m_ctx))
        return;
    const QString value = valueOf(m_route.field);
    if (!typedTextFitsTheLine(m_ctx, m_route.field, value))
        return;
    if (!writeOrTell(m_ctx, CommandLine::command(m_route.word, {value})))
        return;
    if (focusAfter)
        focusAfter->setFocus();
}
