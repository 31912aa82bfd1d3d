// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "commands/fieldcommand.h"

#include <QObject>
#include <vector>

struct Form1Context;

// The five door values (talk time, the open times and the unlock hours of
// both doors): each a masked field with a button beside it, sent by the
// button or by Enter in the field, the focus then going round the group.
class DoorTiming : public QObject {
    Q_OBJECT
public:
    // The rows index the group's values: plain numbers, as the handlers take them.
    enum Row : std::size_t { TalkTime, Door1OpenTime, Door2OpenTime, Door1UnlockHour, Door2UnlockHour };

    explicit DoorTiming(Form1Context& ctx, QObject* parent = nullptr);

    // uptalktime_Click, opentime1_Click, opentime2_Click, manualdoor1_Click, manualdoor2_Click
    void button_Click(std::size_t row);
    // medit1_KeyPress ... medit8_KeyPress
    void medit_KeyPress(std::size_t row, int charCode);
    // medit1_GotFocus ... medit8_GotFocus
    void medit_GotFocus(std::size_t row);

private:
    std::vector<FieldCommand> m_values;
};
