// SPDX-License-Identifier: GPL-3.0-or-later
#include "parameterrules.h"

#include <QDate>
#include <QRegularExpression>

namespace {

bool matches(const QString& pattern, const QString& value)
{
    return QRegularExpression(QStringLiteral("^(?:%1)$").arg(pattern)).match(value).hasMatch();
}

QString twoDigits(int value)
{
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

std::optional<QString> normalizeDate(const QString& value)
{
    static const QRegularExpression kDate(QStringLiteral("^(\\d{1,2}) (\\d{1,2}) (\\d{4}) ([1-7])$"));
    const QRegularExpressionMatch m = kDate.match(value);
    if (!m.hasMatch())
        return std::nullopt;
    const int month = m.captured(1).toInt();
    const int day = m.captured(2).toInt();
    const int year = m.captured(3).toInt();
    if (!QDate(year, month, day).isValid())
        return std::nullopt;
    return QStringLiteral("%1 %2 %3 %4").arg(twoDigits(month), twoDigits(day), m.captured(3), m.captured(4));
}

std::optional<QString> normalizeTime(const QString& value)
{
    static const QRegularExpression kTime(QStringLiteral("^(\\d{1,2}) (\\d{1,2})$"));
    const QRegularExpressionMatch m = kTime.match(value);
    if (!m.hasMatch() || m.captured(1).toInt() > 23 || m.captured(2).toInt() > 59)
        return std::nullopt;
    return twoDigits(m.captured(1).toInt()) + QLatin1Char(' ') + twoDigits(m.captured(2).toInt());
}

bool isPrintable(const QString& text)
{
    for (const QChar c : text) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            return false;
    }
    return true;
}

}   // namespace

const QStringList& ParameterRules::words()
{
    static const QStringList kWords = {
        QStringLiteral("PARTKT"),  QStringLiteral("PARDOT1"), QStringLiteral("PARDOT2"),
        QStringLiteral("PAROHR1"), QStringLiteral("PAROHR2"), QStringLiteral("PARDTM"),
        QStringLiteral("PARMSG"),  QStringLiteral("DAT"),     QStringLiteral("TIM"),
    };
    return kWords;
}

std::optional<QString> ParameterRules::normalize(const QString& word, const QString& value)
{
    if (word == QLatin1String("DAT"))
        return normalizeDate(value);
    if (word == QLatin1String("TIM"))
        return normalizeTime(value);
    if (word == QLatin1String("PARMSG"))
        return isPrintable(value) ? std::optional<QString>(value) : std::nullopt;
    if (word == QLatin1String("PARDTM"))
        return matches(QStringLiteral("([0-9*#]{2})?"), value) ? std::optional<QString>(value) : std::nullopt;
    if (words().contains(word))
        return matches(QStringLiteral("\\d{1,4}"), value) ? std::optional<QString>(value) : std::nullopt;
    return std::nullopt;
}

bool ParameterRules::isValidMasterCode(const QString& code)
{
    return matches(QStringLiteral("\\d{1,6}"), code);
}
