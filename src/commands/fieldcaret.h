// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QLineEdit;

// Puts the caret at the first position of a field with nothing selected, so
// that typing begins there whatever the field already holds.
void putCaretAtStart(QLineEdit* field);
