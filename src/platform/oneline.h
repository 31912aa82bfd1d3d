// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// A field whose text goes onto the serial line holds one line: no character
// below 0x20 and no 0x7F. A CR or LF inside a value would end the command
// early and start another one; other control characters would reach the
// panel unseen, since a field draws them as blanks.
namespace OneLine {

bool isControl(QChar c);
bool holdsControl(const QString& text);

// The text as one line: each line break (CR LF, CR, LF, U+2028, U+2029)
// becomes one blank and every other control character is dropped. A
// position in the text, if given, moves along with the characters before it.
QString flattened(const QString& text, int* position = nullptr);

}   // namespace OneLine
