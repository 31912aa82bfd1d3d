// SPDX-License-Identifier: GPL-3.0-or-later
#include "programmingmode.h"

#include "commands/connectionguard.h"
#include "form/form1context.h"
#include "core/commandline.h"
#include "core/linksession.h"

#include <QPushButton>

namespace ProgrammingMode {

void enter(Form1Context& ctx, const QString& code, int writes)
{
    const QByteArray line = CommandLine::programming(code);
    if (!writeOrTell(ctx, line))
        return;
    ctx.session.programmingEntered();
    ctx.ui.upload->setEnabled(true);
    ctx.ui.download->setEnabled(true);
    for (int i = 1; i < writes; ++i) {
        if (!writeOrTell(ctx, line))
            return;
    }
    ctx.ui.upload->setFocus();
}

} // namespace ProgrammingMode
