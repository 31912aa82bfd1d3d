// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

// Opens a pseudo-terminal pair for a serial line's far end: the slave in raw
// mode (no echo, no line editing, all 8 bits), the master non-blocking.
// Plain C++, so that the benchmark driver, which has no Qt, shares it.
// False, with both descriptors -1, when no pair can be had.
bool openRawPty(int& master, int& slave, std::string& slavePath);
