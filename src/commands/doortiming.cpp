// SPDX-License-Identifier: GPL-3.0-or-later
#include "doortiming.h"

#include "commands/fieldcaret.h"
#include "form/form1context.h"
#include "platform/controlevents.h"
#include "platform/maskedfield.h"

#include <QPushButton>

namespace {

// One row per value: its button, then its command word, field, prompt for
// an empty field and the control that gets the focus after sending.
std::vector<DoorTiming::Value> doorValues(Form1Context& ctx)
{
    const Form1Ui& ui = ctx.ui;
    auto row = [&ctx](QPushButton* button, const char* word, MaskedField* field,
                      const char* emptyPrompt, QWidget* next) {
        return DoorTiming::Value{button, FieldCommand(ctx, {QString::fromLatin1(word), field,
                                                            QString::fromLatin1(emptyPrompt), next, next})};
    };
    return {
        row(ui.uptalktime, "PARTKT", ui.medit1, "Please input CallHold Time ", ui.um),
        row(ui.opentime1, "PARDOT1", ui.medit2, "Please input Door1OpenTime", ui.medit3),
        row(ui.opentime2, "PARDOT2", ui.medit3, "Please input Door2OpenTime ", ui.medit7),
        row(ui.manualdoor1, "PAROHR1", ui.medit7, "Please input Door1UnlockHour", ui.medit8),
        row(ui.manualdoor2, "PAROHR2", ui.medit8, "Please input Door2UnlockHour ", ui.medit1),
    };
}

} // namespace

DoorTiming::DoorTiming(Form1Context& ctx, QObject* parent) : QObject(parent), m_values(doorValues(ctx))
{
    for (std::size_t row = 0; row < m_values.size(); ++row)
        wire(row);
}

void DoorTiming::wire(std::size_t row)
{
    connect(m_values[row].button, &QPushButton::clicked, this, [this, row] { button_Click(row); });
    ControlEvents& field = ControlEvents::of(m_values[row].command.field());
    field.keyPress = [this, row](int& ch) { medit_KeyPress(row, ch); };
    field.gotFocus = [this, row] { medit_GotFocus(row); };
}

void DoorTiming::button_Click(std::size_t row) { m_values[row].command.sendByButton(); }

void DoorTiming::medit_KeyPress(std::size_t row, int charCode)
{
    if (charCode == ControlEvents::kEnter)
        m_values[row].command.sendByEnter();
}

void DoorTiming::medit_GotFocus(std::size_t row) { putCaretAtStart(m_values[row].command.field()); }
