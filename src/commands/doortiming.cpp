// SPDX-License-Identifier: GPL-3.0-or-later
#include "doortiming.h"

#include "commands/fieldcaret.h"
#include "desktop/controlevents.h"
#include "desktop/maskedfield.h"
#include "form/form1context.h"

#include <QPushButton>

namespace {

// One command per row, in the order of DoorTiming::Row: its word, field,
// prompt for an empty field and the control that gets the focus after sending.
std::vector<FieldCommand> doorValues(Form1Context& ctx)
{
    const Form1Ui& ui = ctx.ui;
    auto row = [&ctx](const char* word, MaskedField* field, const char* emptyPrompt, QWidget* next) {
        return FieldCommand(ctx,
                            {QString::fromLatin1(word), field, QString::fromLatin1(emptyPrompt), next, next});
    };
    return {
        row("PARTKT", ui.medit1, "Please input CallHold Time ", ui.um),
        row("PARDOT1", ui.medit2, "Please input Door1OpenTime", ui.medit3),
        row("PARDOT2", ui.medit3, "Please input Door2OpenTime ", ui.medit7),
        row("PAROHR1", ui.medit7, "Please input Door1UnlockHour", ui.medit8),
        row("PAROHR2", ui.medit8, "Please input Door2UnlockHour ", ui.medit1),
    };
}

}   // namespace

DoorTiming::DoorTiming(Form1Context& ctx, QObject* parent) : QObject(parent), m_values(doorValues(ctx)) {}

void DoorTiming::button_Click(std::size_t row)
{
    m_values[row].sendByButton();
}

void DoorTiming::medit_KeyPress(std::size_t row, int charCode)
{
    if (charCode == ControlEvents::kEnter)
        m_values[row].sendByEnter();
}

void DoorTiming::medit_GotFocus(std::size_t row)
{
    putCaretAtStart(m_values[row].field());
}
