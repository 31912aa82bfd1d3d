// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// Whole 8-bit text files: read as lines, written in one piece.
namespace TextFile {

inline const QString kCrLf = QStringLiteral("\r\n");

// The lines of text; CR LF, a lone CR and a lone LF each end a line. A final
// line end starts no further line.
QStringList splitLines(const QString& text);

// No file the program reads is larger: far more than a tenant or parameter
// file ever holds, and little enough to hold in memory.
inline constexpr qint64 kMaxReadSize = 16 * 1024 * 1024;

// Hands the lines of the file at path to take one at a time, as they are
// read, until take returns false or the file ends; the line ends as for
// splitLines. False when the file cannot be opened or read, or is larger than
// kMaxReadSize: then refusal tells the operator so, naming the file and its
// size, and a file whose size shows beforehand is not read at all.
bool forEachLine(const QString& path, const std::function<bool(const QString&)>& take, QString& refusal);

// All lines of the file; false when it cannot be read or is too large.
bool readLines(const QString& path, QStringList& lines);

// Writes text to a temporary file that replaces path only once it is
// complete; on failure error holds the platform's description and an
// existing file at path is left as it was. Where the folder takes no new
// file but the file itself may be written, it is written in place, and a
// failure midway can leave it cut short. A text with characters that have no
// byte is refused, naming them, before anything is written.
bool write(const QString& path, const QString& text, QString& error);

}   // namespace TextFile
