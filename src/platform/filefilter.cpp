// SPDX-License-Identifier: GPL-3.0-or-later
#include "filefilter.h"

namespace {

QString blankSeparated(const QString& patterns)
{
    QStringList parts;
    for (const QString& part : patterns.split(QLatin1Char(';'))) {
        const QString pattern = part.trimmed();
        if (!pattern.isEmpty())
            parts << pattern;
    }
    return parts.isEmpty() ? QStringLiteral("*") : parts.join(QLatin1Char(' '));
}

// Qt reads the patterns from the caption's last parentheses and splits them
// at blanks only, so a ";" in there becomes a blank.
QString withBlankSeparatedTail(const QString& caption)
{
    const int open = caption.lastIndexOf(QLatin1Char('('));
    const int close = caption.lastIndexOf(QLatin1Char(')'));
    if (open < 0 || close < open || !caption.mid(open, close - open).contains(QLatin1Char(';')))
        return caption;
    const QString inner = caption.mid(open + 1, close - open - 1);
    return caption.left(open + 1) + blankSeparated(inner) + caption.mid(close);
}

QString nameFilter(const QString& caption, const QString& patterns)
{
    const QString shown = QLatin1Char('(') + patterns.trimmed() + QLatin1Char(')');
    if (!patterns.trimmed().isEmpty() && caption.contains(shown, Qt::CaseInsensitive))
        return withBlankSeparatedTail(caption);
    return caption.trimmed() + QStringLiteral(" (") + blankSeparated(patterns) + QLatin1Char(')');
}

}   // namespace

QStringList qtNameFilters(const QString& pairs)
{
    QStringList filters;
    if (pairs.isEmpty())
        return filters;
    const QStringList parts = pairs.split(QLatin1Char('|'));
    for (int i = 0; i + 1 < parts.size(); i += 2)
        filters << nameFilter(parts[i], parts[i + 1]);
    return filters;
}
