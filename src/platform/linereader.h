// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QFile>
#include <QString>

// Reads an 8-bit text file line by line, holding no more than a chunk of it
// at a time. CR LF, a lone LF and a lone CR each end a line; a last line
// without an end is still a line, and a final line end starts no further one.
class LineReader {
public:
    // Reads at most limit bytes of the file; a negative limit: all of it.
    explicit LineReader(const QString& path, qint64 limit = -1);

    // False when the file cannot be opened; error() then says why.
    bool open();
    // The next line without its end, valid until the next call; false at the
    // end of the file or when reading failed (see failed()).
    bool next(QByteArrayView& line);
    // Reads on to the end and counts the lines that are not empty.
    qint64 countNonEmpty();

    bool failed() const { return m_failed; }
    // The file went on past the limit; reading stopped there.
    bool overLimit() const { return m_overLimit; }
    // The system's description of the last failure.
    QString error() const { return m_file.errorString(); }

private:
    bool fill();

    QFile m_file;
    const qint64 m_limit;
    qint64 m_read = 0;
    QByteArray m_buffer;
    qsizetype m_pos = 0;
    bool m_afterCr = false;   // the last line ended in CR: an LF right after it belongs to it
    bool m_atEnd = false;
    bool m_failed = false;
    bool m_overLimit = false;
};
