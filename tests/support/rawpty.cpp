// SPDX-License-Identifier: GPL-3.0-or-later
#include "rawpty.h"

#include <fcntl.h>
#include <pty.h>
#include <termios.h>

bool openRawPty(int& master, int& slave, std::string& slavePath)
{
    char name[256] = {};
    if (openpty(&master, &slave, name, nullptr, nullptr) != 0) {
        master = slave = -1;
        return false;
    }
    termios raw{};
    tcgetattr(slave, &raw);
    cfmakeraw(&raw);
    tcsetattr(slave, TCSANOW, &raw);
    fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);
    slavePath = name;
    return true;
}
