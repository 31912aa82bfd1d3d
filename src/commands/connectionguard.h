#pragma once

class QByteArray;
struct Form1Context;

// Asked before anything goes to the panel: true when the serial port is open.
// When it is closed the operator is told "The comm port is closed" in a box
// titled "Disconnect" (OK, no icon) and false comes back; the focus stays
// where it is.
bool connectionGuard(const Form1Context& ctx);

// The guard, then the line in one write; false when the guard stopped it.
bool sendGuarded(const Form1Context& ctx, const QByteArray& line);
