// SPDX-License-Identifier: GPL-3.0-or-later
#include "fieldcaret.h"

#include <QLineEdit>

void putCaretAtStart(QLineEdit* field)
{
    field->deselect();
    field->setCursorPosition(0);
}
