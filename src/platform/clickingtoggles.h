// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// An option or a check box that an assistive tool toggles (the one action
// Qt offers on them) is clicked, as the mouse or Space would: the program's
// click handlers run however the control is operated. Qt's own accessible
// button only toggles it, which announces no click. Once is enough.
void makeTogglesClick();
