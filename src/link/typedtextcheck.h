// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QLineEdit;
class QString;
struct Form1Context;

// The line carries one line of 8-bit characters. True when the text typed
// into the field can go on it; otherwise the operator is told, nothing is
// sent and the field stays as it is. The box names the characters that have
// no byte of their own (a character beyond the 16-bit range counts once),
// but only the field when the field hides what is typed. A line break or
// other control character, which the field itself keeps out and which only
// text set past it can hold, is refused by the field's name as well.
bool typedTextFitsTheLine(const Form1Context& ctx, const QLineEdit* field, const QString& typed);
