// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the benchmark writes after a receive load: the pane's text ends with
// it only once everything before it has gone through the receive path. No
// byte of it is changed on the way (no backspace, CR, LF, XON or XOFF).
inline constexpr char kLoadEnd[] = "#velno-bench: end of load#";
