// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "store/journalfilter.h"

class QIODevice;
class Store;

// The journal as text, one entry a line:
//   2026-12-09T15:02:11+01:00 tech@workshop-pc Elm House > PARDOT1 07
// or as CSV (RFC 4180, UTF-8, CR LF, a header row):
//   time,operator,host,site,kind,text
namespace JournalExport {

enum class Format { Text, Csv };

// Writes every entry that passes the filter, oldest first, a page at a
// time; false, with the store's reason, when the journal cannot be read.
bool write(Store& store, const JournalFilter& filter, Format format, QIODevice& out);

// A field as CSV has it: quoted, its quotes doubled, when it holds a
// comma, a quote or a line break.
QString csvField(const QString& text);

}   // namespace JournalExport
