// SPDX-License-Identifier: GPL-3.0-or-later
#include "programmingmode.h"

#include "commands/connectionguard.h"
#include "core/panellink.h"
#include "form/form1context.h"

#include <QPushButton>

namespace ProgrammingMode {

void enter(Form1Context& ctx, const QString& code, int writes)
{
    const auto write = [&ctx](const QByteArray& line) { return writeOrTell(ctx, line); };
    const auto openTransfers = [&ctx] {
        ctx.ui.upload->setEnabled(true);
        ctx.ui.download->setEnabled(true);
    };
    if (PanelLink::enterProgramming(ctx.session, code, writes, write, openTransfers))
        ctx.ui.upload->setFocus();
}

}   // namespace ProgrammingMode
