// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "store/journalfilter.h"

class QIODevice;
class Store;

// The journal as text, one entry a line:
//   2026-12-09T15:02:11+01:00 tech@workshop-pc Elm House > PARDOT1 07
// or as CSV (RFC 4180, UTF-8, CR LF, a header row):
//   time,operator,host,site,kind,text
// A team's journal names the server's role that shipped each entry beside
// the login, or marks this computer's own not shipped yet:
//   2026-12-09T15:02:11+01:00 anna@pc (tech_anna) Elm House > PARDOT1 07
//   2026-12-09T15:04:30+01:00 tech@workshop-pc (not shipped) - * Connected
// and as CSV has two columns more at the end, the role and "yes" or "no":
//   time,operator,host,site,kind,text,role,shipped
class TeamJournal;

namespace JournalExport {

enum class Format { Text, Csv };

// Writes every entry that passes the filter, oldest first, a page at a
// time; false, with the store's reason, when the journal cannot be read.
bool write(Store& store, const JournalFilter& filter, Format format, QIODevice& out);
// The same of a team's journal; false with the journal's reason.
bool write(TeamJournal& journal, const JournalFilter& filter, Format format, QIODevice& out);

// A field as CSV has it: quoted, its quotes doubled, when it holds a
// comma, a quote or a line break.
QString csvField(const QString& text);

}   // namespace JournalExport
