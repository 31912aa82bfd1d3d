// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/programarguments.h"

#include <QString>

class QIODevice;

// velno --journal: prints the journal of the store in the folder (empty:
// the user's data folder) without a window, while another copy may be
// writing it. Returns the exit status: 0, or 1 when it cannot be read.
int printJournal(const ProgramArguments::JournalOptions& options, const QString& dataFolder, QIODevice& out);
