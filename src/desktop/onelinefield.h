// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QLineEdit;

namespace OneLineField {

// Keeps the field to one line from now on: whatever is typed, pasted,
// dropped or set goes in flattened, so the field shows what will be sent.
void keep(QLineEdit* field);

}   // namespace OneLineField
