// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// What every fuzz target shares: the application its widgets need and the
// check that turns a broken promise into a finding.
namespace Fuzz {

// Creates the one QApplication of the process, on the offscreen platform.
// Called from LLVMFuzzerInitialize.
void startApplication();

// Aborts with the promise that does not hold, so libFuzzer keeps the input.
void require(bool holds, const char* promise);

// The text as a QTextDocument shows it: each CR LF, lone CR and lone LF one
// paragraph separator.
QString asShown(QString exact);

} // namespace Fuzz
