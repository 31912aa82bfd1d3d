// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "commands/fieldcommand.h"

#include <QObject>

struct Form1Context;

// The two door-release telephone digits ("OpenDoorNo(1/2)" and Enter in
// `dtmf`) and the two unlock signals ("UnlockMute", "UnlockBeep").
class DoorReleaseCommands : public QObject {
    Q_OBJECT
public:
    explicit DoorReleaseCommands(Form1Context& ctx, QObject* parent = nullptr);

    void opendtmf_Click();
    void dtmf_KeyPress(int charCode);
    void dtmf_GotFocus();
    void um_Click();
    void up_Click();

private:
    Form1Context& m_ctx;
    FieldCommand m_doorNumbers;
};
