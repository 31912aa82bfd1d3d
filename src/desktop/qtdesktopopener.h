// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "desktopopener.h"

// Opens a local file with the desktop's viewer through QDesktopServices.
class QtDesktopOpener : public DesktopOpener {
public:
    bool openFile(const QString& path) override;
};
