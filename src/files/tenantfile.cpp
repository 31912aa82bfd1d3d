// SPDX-License-Identifier: GPL-3.0-or-later
#include "tenantfile.h"

#include "files/blanks.h"
#include "files/textfile.h"

namespace {

const QString kTelephoneTag = QStringLiteral("TEL:");
constexpr int kFirstLineColumnOfTwoDigits = 10;
constexpr int kLaterLineColumnOfTwoDigits = 12;

// The 1-based column of "TEL:" in line, 0 when it has none.
int telephoneColumn(const QString& line)
{
    return int(line.indexOf(kTelephoneTag)) + 1;
}

int digitCountAt(int column, int columnOfTwoDigits)
{
    const int digits = column - columnOfTwoDigits + 2;
    return digits >= 2 && digits <= 4 ? digits : 0;
}

}   // namespace

namespace TenantFile {

void ListBuilder::add(const QString& line)
{
    m_list += Blanks::trimmedLeft(line) + TextFile::kCrLf;
}

QString ListBuilder::list() const
{
    return Blanks::trimmed(m_list);
}

QString listFromLines(const QStringList& lines)
{
    ListBuilder builder;
    for (const QString& line : lines)
        builder.add(line);
    return builder.list();
}

QString textFromList(const QString& list)
{
    return list + TextFile::kCrLf;
}

bool DigitCount::take(const QString& line)
{
    const bool first = m_firstLine;
    m_firstLine = false;
    const int column = telephoneColumn(line);
    if (column == 0)
        return true;
    m_digits = digitCountAt(column, first ? kFirstLineColumnOfTwoDigits : kLaterLineColumnOfTwoDigits);
    return false;
}

int digitCountOf(const QStringList& lines)
{
    DigitCount count;
    for (const QString& line : lines) {
        if (!count.take(line))
            break;
    }
    return count.digits();
}

}   // namespace TenantFile
