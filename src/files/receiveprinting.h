// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

struct Form1Context;

// Print Received File: the receive pane on the printer.
class ReceivePrinting : public QObject {
    Q_OBJECT
public:
    static const QString kReceiveTitle;   // the printed title line

    explicit ReceivePrinting(Form1Context& ctx, QObject* parent = nullptr);

    void print_receive_Click();

private:
    Form1Context& m_ctx;
};
