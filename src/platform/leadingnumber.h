// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The number a text begins with: leading blanks skipped, then a sign, digits
// and a decimal fraction read up to the first character that cannot continue
// them. A text that does not begin with a number gives 0.
double leadingNumber(const QString& text);
