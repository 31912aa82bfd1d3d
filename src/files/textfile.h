#pragma once

#include <QString>
#include <QStringList>

// Whole 8-bit text files: read as lines, written in one piece.
namespace TextFile {

inline const QString kCrLf = QStringLiteral("\r\n");

// The lines of text; CR LF, a lone CR and a lone LF each end a line. A final
// line end starts no further line.
QStringList splitLines(const QString& text);

// False when the file cannot be opened or read.
bool readLines(const QString& path, QStringList& lines);

// Writes text to a temporary file that replaces path only once it is
// complete. On failure error holds the platform's description and an
// existing file at path is left as it was.
bool write(const QString& path, const QString& text, QString& error);

} // namespace TextFile
