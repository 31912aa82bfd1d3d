// SPDX-License-Identifier: GPL-3.0-or-later
#include "eightbit.h"

#include <QList>
#include <QStringList>

namespace {

constexpr int kNamedAtMost = 8;

QString nameOf(char32_t code)
{
    const QString number = QStringLiteral("U+%1").arg(uint(code), 4, 16, QLatin1Char('0')).toUpper();
    if (!QChar::isPrint(code) || QChar::isSpace(code))
        return number;
    return QStringLiteral("%1 (%2)").arg(QString::fromUcs4(&code, 1), number);
}

}   // namespace

namespace EightBit {

QString foreignCharacters(const QString& text)
{
    QList<char32_t> seen;
    QStringList names;
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t code = text.at(i).unicode();
        if (text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            code = QChar::surrogateToUcs4(text.at(i), text.at(i + 1));
            ++i;
        }
        if (code <= 0xFF || seen.contains(code))
            continue;
        if (seen.size() == kNamedAtMost) {
            names.append(QStringLiteral("..."));
            break;
        }
        seen.append(code);
        names.append(nameOf(code));
    }
    return names.join(QStringLiteral(", "));
}

}   // namespace EightBit
