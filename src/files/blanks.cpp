// SPDX-License-Identifier: GPL-3.0-or-later
#include "blanks.h"

namespace {

constexpr QChar kBlank = u' ';

int firstNonBlank(const QString& text)
{
    int i = 0;
    while (i < text.size() && text.at(i) == kBlank)
        ++i;
    return i;
}

}   // namespace

namespace Blanks {

QString trimmedLeft(const QString& text)
{
    return text.mid(firstNonBlank(text));
}

QString trimmed(const QString& text)
{
    const int start = firstNonBlank(text);
    int end = int(text.size());
    while (end > start && text.at(end - 1) == kBlank)
        --end;
    return text.mid(start, end - start);
}

}   // namespace Blanks
