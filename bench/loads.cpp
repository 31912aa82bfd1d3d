// SPDX-License-Identifier: GPL-3.0-or-later
#include "loads.h"

#include <random>

namespace {
constexpr char kFirstPrintable = ' ';
constexpr int kPrintables = '~' - ' ' + 1;
constexpr unsigned char kXon = 0x11;
constexpr unsigned char kXoff = 0x13;
}   // namespace

std::string Loads::textLines(size_t size, size_t lineChars)
{
    std::string load;
    load.reserve(size + lineChars + 2);
    for (size_t line = 0; load.size() < size; ++line) {
        for (size_t i = 0; i < lineChars; ++i)
            load.push_back(char(kFirstPrintable + (line + i) % kPrintables));
        load.append("\r\n");
    }
    load.resize(size);
    return load;
}

std::string Loads::eightBit(size_t size)
{
    std::mt19937 random(6100);
    std::uniform_int_distribution<int> byte(0, 255);
    std::string load;
    load.reserve(size);
    while (load.size() < size) {
        const auto b = static_cast<unsigned char>(byte(random));
        if (b != kXon && b != kXoff)
            load.push_back(char(b));
    }
    return load;
}
