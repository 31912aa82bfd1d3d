// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QLineEdit;

// Shows every typed character of a password field as "*" (the platform's
// own password character may be another).
void echoAsAsterisks(QLineEdit* field);
