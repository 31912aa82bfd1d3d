// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "commands/fieldcommand.h"

#include <QObject>

struct Form1Context;

// The programming code by its button ("MasterCode"), a new master code
// ("New Mastercode" and Enter in its field) and the welcome message
// ("Message").
class MasterCodeCommands : public QObject {
    Q_OBJECT
public:
    explicit MasterCodeCommands(Form1Context& ctx, QObject* parent = nullptr);

    void Mastercode_Click();
    void Newmastcode_Click();
    void Medit_New_mastercode_KeyPress(int charCode);
    void Medit_New_mastercode_GotFocus();
    void message_Click();
    void MsgWel_KeyPress(int charCode);

private:
    Form1Context& m_ctx;
    FieldCommand m_newMasterCode;
};
