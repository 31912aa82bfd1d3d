// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QPushButton;

// Enter, and the keypad's Enter, press the button while it has the focus, as
// Space does, without the button becoming anyone's default. A held Enter
// presses it once: the key's repeats do nothing.
void pressOnEnter(QPushButton* button);
