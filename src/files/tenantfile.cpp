#include "tenantfile.h"

#include "files/blanks.h"
#include "files/textfile.h"

namespace {

const QString kTelephoneTag = QStringLiteral("TEL:");
constexpr int kFirstLineColumnOfTwoDigits = 10;
constexpr int kLaterLineColumnOfTwoDigits = 12;

// The 1-based column of "TEL:" in line, 0 when it has none.
int telephoneColumn(const QString& line) { return int(line.indexOf(kTelephoneTag)) + 1; }

int digitCountAt(int column, int columnOfTwoDigits)
{
    const int digits = column - columnOfTwoDigits + 2;
    return digits >= 2 && digits <= 4 ? digits : 0;
}

} // namespace

namespace TenantFile {

QString listFromLines(const QStringList& lines)
{
    QString list;
    for (const QString& line : lines)
        list += Blanks::trimmedLeft(line) + TextFile::kCrLf;
    return Blanks::trimmed(list);
}

QString textFromList(const QString& list) { return list + TextFile::kCrLf; }

int digitCountOf(const QStringList& lines)
{
    if (lines.isEmpty())
        return 0;
    const int first = telephoneColumn(lines.first());
    if (first != 0)
        return digitCountAt(first, kFirstLineColumnOfTwoDigits);
    for (int i = 1; i < lines.size(); ++i) {
        const int column = telephoneColumn(lines.at(i));
        if (column != 0)
            return digitCountAt(column, kLaterLineColumnOfTwoDigits);
    }
    return 0;
}

} // namespace TenantFile
