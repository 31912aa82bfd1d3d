// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What an assistive tool does (a screen reader, switch access) through the
// accessibility interface acts as the mouse or the keyboard would, in every
// window of the program:
// - An option or a check box that it toggles (the one action Qt offers on
//   them) is clicked, so the program's click handlers run. Qt's own
//   accessible button only toggles it, which announces no click.
// - An item it selects in a list box's list is chosen, as a click on it
//   would. Qt only selects the item in the list, and the list box keeps
//   showing the one it had.
// Once is enough.
void makeAssistiveActionsAct();
