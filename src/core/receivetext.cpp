// SPDX-License-Identifier: GPL-3.0-or-later
#include "receivetext.h"

namespace {

constexpr QChar kCr = u'\r';
constexpr QChar kLf = u'\n';

QString applyBackspaces(const QString& raw, bool& replacesLast)
{
    if (!raw.contains(ReceiveText::kBackspace))
        return raw;
    QString out;
    out.reserve(raw.size());
    for (const QChar c : raw) {
        if (c != ReceiveText::kBackspace)
            out.append(c);
        else if (out.isEmpty())
            replacesLast = true;
        else
            out.chop(1);
    }
    return out;
}

QString crLfLineEnds(const QString& text)
{
    if (!text.contains(kCr) && !text.contains(kLf))
        return text;
    QString out(text.size() * 2, Qt::Uninitialized);
    QChar* to = out.data();
    for (const QChar c : text) {
        if (c == kLf)
            continue;
        *to++ = c;
        if (c == kCr)
            *to++ = kLf;
    }
    out.truncate(to - out.constData());
    return out;
}

}   // namespace

ReceiveText::Chunk ReceiveText::normalise(const QString& raw)
{
    Chunk chunk;
    chunk.text = crLfLineEnds(applyBackspaces(raw, chunk.replacesLast));
    return chunk;
}
