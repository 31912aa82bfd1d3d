// SPDX-License-Identifier: GPL-3.0-or-later
#include "oneline.h"

#include <algorithm>

namespace OneLine {

namespace {

bool isLineBreak(QChar c)
{
    return c == u'\r' || c == u'\n' || c == QChar::LineSeparator || c == QChar::ParagraphSeparator;
}

}   // namespace

bool isControl(QChar c)
{
    return c.unicode() < 0x20 || c.unicode() == 0x7F;
}

bool holdsControl(const QString& text)
{
    return std::any_of(text.begin(), text.end(), isControl);
}

QString flattened(const QString& text, int* position)
{
    QString out;
    int moved = -1;
    auto follow = [&](int i) {
        if (position && i == *position)
            moved = int(out.size());
    };
    for (int i = 0; i < text.size(); ++i) {
        follow(i);
        const QChar c = text.at(i);
        if (isLineBreak(c))
            out += u' ';
        else if (!isControl(c))
            out += c;
        if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n')
            follow(++i);   // CR LF is one break
    }
    if (position)
        *position = moved < 0 ? int(out.size()) : moved;
    return out;
}

}   // namespace OneLine
