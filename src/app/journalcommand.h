// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/programarguments.h"

#include <QString>

class QIODevice;

// velno --journal: prints the journal of the store in the folder (empty:
// the user's data folder) without a window, while another copy may be
// writing it; in a team (teamUri set, and no --local) the team's journal.
// Returns the exit status as JournalPrint::print does.
int printJournal(const ProgramArguments::JournalOptions& options, const QString& dataFolder,
                 const QString& teamUri, QIODevice& out);
