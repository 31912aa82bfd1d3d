#include "programmingmode.h"

#include "app/form1context.h"
#include "commands/commandline.h"
#include "platform/serialport.h"

#include <QPushButton>

namespace ProgrammingMode {

void enter(Form1Context& ctx, const QString& code, int writes)
{
    const QByteArray line = CommandLine::programming(code);
    SerialPort& port = ctx.platform.port;
    port.write(line);
    ctx.ui.upload->setEnabled(true);
    ctx.ui.download->setEnabled(true);
    for (int i = 1; i < writes; ++i)
        port.write(line);
    ctx.ui.upload->setFocus();
}

} // namespace ProgrammingMode
