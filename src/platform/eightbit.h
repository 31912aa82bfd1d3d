#pragma once

#include <QByteArray>
#include <QString>

// The one conversion between the program's text and the 8-bit bytes of the
// serial line and of the files it reads and writes: every byte is one
// character and every character one byte (Latin-1 both ways).
namespace EightBit {

inline QString decode(const QByteArray& bytes) { return QString::fromLatin1(bytes); }

inline QByteArray encode(const QString& text) { return text.toLatin1(); }

// True when every character of text has a byte of its own.
inline bool representable(const QString& text)
{
    for (QChar c : text) {
        if (c.unicode() > 0xFF)
            return false;
    }
    return true;
}

} // namespace EightBit
