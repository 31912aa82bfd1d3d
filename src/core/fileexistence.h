// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Whether a file of a name exists, telling a failed test (a name the system
// cannot look up) from a missing file.
struct FileExistence {
    bool exists = false;
    QString error;   // the system's description when the test itself failed

    bool failed() const { return !error.isEmpty(); }

    static FileExistence of(const QString& path);
};
