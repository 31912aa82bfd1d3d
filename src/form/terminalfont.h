// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>

// The fixed-pitch "Terminal" font of the text panes, or the system's fixed font.
QFont terminalFont();
