// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>

// What the benchmark's far end sends the program.
namespace Loads {

// Printable lines of lineChars characters, each ended by CR LF, size bytes
// in all.
std::string textLines(size_t size, size_t lineChars = 80);

// Random 8-bit bytes (a fixed seed, so every run gets the same), all but XON
// and XOFF, which the line's handshaking keeps for itself.
std::string eightBit(size_t size);

}   // namespace Loads
