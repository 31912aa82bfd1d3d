// SPDX-License-Identifier: GPL-3.0-or-later
#include "receiveprinting.h"

#include "files/printjob.h"
#include "form/form1context.h"

const QString ReceivePrinting::kReceiveTitle = QStringLiteral("RECEIVE: FILE CONTENT");

ReceivePrinting::ReceivePrinting(Form1Context& ctx, QObject* parent) : QObject(parent), m_ctx(ctx) {}

void ReceivePrinting::print_receive_Click()
{
    PrintJob{kReceiveTitle, m_ctx.ui.Text1->text()}.print(m_ctx.platform.printer, m_ctx.platform.clock);
}
