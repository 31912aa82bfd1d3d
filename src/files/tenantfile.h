// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// The tenant file (.TNT): one record line per tenant, as TenantRecord writes
// it, read into and written from the editor's list.
namespace TenantFile {

// The editor's list, built from the lines of a file one at a time.
class ListBuilder {
public:
    // Adds a line without its leading blanks, ended by CR LF.
    void add(const QString& line);
    // The lines added, the whole without surrounding blanks.
    QString list() const;

private:
    QString m_list;
};

QString listFromLines(const QStringList& lines);

// The file's text for the editor's list: the list and one more CR LF.
QString textFromList(const QString& list);

// The directory digit count (2, 3 or 4) of the editor a file opens in, found
// line by line: from the column of "TEL:" on the first line (10, 11, 12) or,
// when the first line has none, on the first later line that has one (12,
// 13, 14); 0 for none.
class DigitCount {
public:
    // Takes the file's next line; false once the count is known.
    bool take(const QString& line);
    int digits() const { return m_digits; }

private:
    bool m_firstLine = true;
    int m_digits = 0;
};

int digitCountOf(const QStringList& lines);

}   // namespace TenantFile
