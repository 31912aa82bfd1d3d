// SPDX-License-Identifier: GPL-3.0-or-later
#include "connectionguard.h"

#include "core/linksession.h"
#include "form/form1context.h"
#include "platform/prompter.h"

bool tellPortClosed(const Form1Context& ctx)
{
    ctx.platform.prompter.tell(QStringLiteral("The comm port is closed"), QStringLiteral("Disconnect"));
    return false;
}

bool connectionGuard(const Form1Context& ctx)
{
    return ctx.session.isOpen() || tellPortClosed(ctx);
}

bool writeOrTell(const Form1Context& ctx, const QByteArray& bytes)
{
    return ctx.session.write(bytes) || tellPortClosed(ctx);
}

bool sendGuarded(const Form1Context& ctx, const QByteArray& line)
{
    return connectionGuard(ctx) && writeOrTell(ctx, line);
}
