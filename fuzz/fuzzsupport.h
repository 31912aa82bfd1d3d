// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "fuzzcheck.h"

#include <QString>

// What the fuzz targets with widgets share: the application they need and
// the text as a document shows it.
namespace Fuzz {

// Creates the one QApplication of the process, on the offscreen platform.
// Called from LLVMFuzzerInitialize.
void startApplication();

// The text as a QTextDocument shows it: each CR LF, lone CR and lone LF one
// paragraph separator.
QString asShown(QString exact);

}   // namespace Fuzz
