// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QString;
struct Form1Context;

// Puts the panel into programming mode: the programming line ("PGM" and the
// code) written `writes` times back to back, "RECEIVE" and "SEND" enabled
// after the first write, then the focus on "RECEIVE". The caller has checked
// the code and passed the connection guard. A write the port refuses is told
// and ends it there: nothing more is written, the focus stays.
namespace ProgrammingMode {

void enter(Form1Context& ctx, const QString& code, int writes);

}   // namespace ProgrammingMode
