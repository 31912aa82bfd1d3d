// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Hands a local file to the desktop's viewer for its type.
class DesktopOpener {
public:
    virtual ~DesktopOpener() = default;
    virtual bool openFile(const QString& path) = 0;
};
