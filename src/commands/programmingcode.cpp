// SPDX-License-Identifier: GPL-3.0-or-later
#include "programmingcode.h"

#include "commands/connectionguard.h"
#include "commands/fieldcaret.h"
#include "commands/programmingmode.h"
#include "desktop/controlevents.h"
#include "form/form1context.h"
#include "link/typedtextcheck.h"

#include <QLineEdit>

ProgrammingCode::ProgrammingCode(Form1Context& ctx, QObject* parent) : QObject(parent), m_ctx(ctx) {}

void ProgrammingCode::Text3_GotFocus()
{
    putCaretAtStart(m_ctx.ui.Text3);
}

// Backspace never deletes one character here: it empties the field.
bool ProgrammingCode::Text3_KeyDown(int keyCode)
{
    if (keyCode != ControlEvents::kBackspace)
        return false;
    m_ctx.ui.Text3->clear();
    return true;
}

// Runs before the character goes in, which it still does after sending.
void ProgrammingCode::Text3_KeyPress(int charCode)
{
    QLineEdit* field = m_ctx.ui.Text3;
    const QString code = field->text();
    const bool holdsWholeCode = code.size() >= kCodeLength;
    if (!holdsWholeCode && charCode != ControlEvents::kEnter)
        return;
    if (code.isEmpty()) {
        m_ctx.tellWithTitle(QStringLiteral("Please input 4-digit PassWord, and Press ENTER to Send"));
        field->setFocus();
        return;
    }
    if (connectionGuard(m_ctx) && typedTextFitsTheLine(m_ctx, field, code))
        ProgrammingMode::enter(m_ctx, code, kKeyboardWrites);
}
