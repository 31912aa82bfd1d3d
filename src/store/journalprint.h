// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "store/journalexport.h"
#include "store/journalfilter.h"

#include <QString>

class QIODevice;

// The journal printed without a window, while another copy of the program
// may be writing it: the local one, or in a team the team's, with this
// computer's entries not shipped yet merged in. A team database that cannot
// be reached, or whose tables are not this program's, is said in one line
// on `warnings`, and the local journal printed in its place.
namespace JournalPrint {

constexpr int kDone = 0;
constexpr int kUnreadable = 1;   // the journal printed could not be read
constexpr int kLocalInstead = 3;   // the team's journal could not be read: the local one is printed

struct Request {
    QString dataFolder;   // of the local store; empty: the user's data folder
    QString teamUri;   // empty: the local journal
    JournalFilter filter;
    JournalExport::Format format = JournalExport::Format::Text;
};

// Returns the exit status.
int print(const Request& request, QIODevice& out, QIODevice& warnings);

}   // namespace JournalPrint
