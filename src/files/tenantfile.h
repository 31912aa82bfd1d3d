#pragma once

#include <QString>
#include <QStringList>

// The tenant file (.TNT): one record line per tenant, as TenantRecord writes
// it, read into and written from the editor's list.
namespace TenantFile {

// The editor's list for the lines of a file: each line without its leading
// blanks and ended by CR LF, the whole without surrounding blanks.
QString listFromLines(const QStringList& lines);

// The file's text for the editor's list: the list and one more CR LF.
QString textFromList(const QString& list);

// The directory digit count (2, 3 or 4) of the editor a file opens in, from
// the column of "TEL:" on the first line (10, 11, 12) or, when the first line
// has none, on the first later line that has one (12, 13, 14); 0 for none.
int digitCountOf(const QStringList& lines);

} // namespace TenantFile
