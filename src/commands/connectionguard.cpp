#include "connectionguard.h"

#include "app/form1context.h"
#include "platform/prompter.h"
#include "platform/serialport.h"

bool connectionGuard(const Form1Context& ctx)
{
    if (ctx.platform.port.isOpen())
        return true;
    ctx.platform.prompter.tell(QStringLiteral("The comm port is closed"), QStringLiteral("Disconnect"));
    return false;
}

bool sendGuarded(const Form1Context& ctx, const QByteArray& line)
{
    if (!connectionGuard(ctx))
        return false;
    ctx.platform.port.write(line);
    return true;
}
