// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Trimming of blanks (the space character only): tabs, CR and LF stay, as
// the tenant and parameter file formats require.
namespace Blanks {

QString trimmed(const QString& text);
QString trimmedLeft(const QString& text);

}   // namespace Blanks
