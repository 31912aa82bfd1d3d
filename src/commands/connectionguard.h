// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QByteArray;
struct Form1Context;

// Asked before anything goes to the panel: true when the serial port is open.
// When it is closed the operator is told "The comm port is closed" in a box
// titled "Disconnect" (OK, no icon) and false comes back; the focus stays
// where it is.
bool connectionGuard(const Form1Context& ctx);

// The guard's box on its own, for a port that refused a write; always false.
bool tellPortClosed(const Form1Context& ctx);

// Writes to the port. A write the port refuses was not sent: the operator is
// told as by the guard, and false comes back so that the handler changes
// nothing else (no focus moved, nothing enabled).
bool writeOrTell(const Form1Context& ctx, const QByteArray& bytes);

// The guard, then the line in one write; false when the guard stopped it or
// the port refused the write.
bool sendGuarded(const Form1Context& ctx, const QByteArray& line);
