// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// The one conversion between the program's text and the 8-bit bytes of the
// serial line and of the files it reads and writes: every byte is one
// character and every character one byte (Latin-1 both ways).
namespace EightBit {

inline QString decode(QByteArrayView bytes)
{
    return QString::fromLatin1(bytes);
}

inline QByteArray encode(const QString& text)
{
    return text.toLatin1();
}

// True when every character of text has a byte of its own.
inline bool representable(const QString& text)
{
    for (QChar c : text) {
        if (c.unicode() > 0xFF)
            return false;
    }
    return true;
}

// The characters of text that have no byte, each named once for the
// operator: the character and its code ("€ (U+20AC)"), the code alone for
// one that does not show (a line separator: "U+2028"). Many are cut short.
QString foreignCharacters(const QString& text);

}   // namespace EightBit
