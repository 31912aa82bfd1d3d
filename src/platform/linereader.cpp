// SPDX-License-Identifier: GPL-3.0-or-later
#include "linereader.h"

namespace {
constexpr qsizetype kChunk = 64 * 1024;
}

LineReader::LineReader(const QString& path, qint64 limit) : m_file(path), m_limit(limit) {}

bool LineReader::open()
{
    m_failed = !m_file.open(QIODevice::ReadOnly);
    return !m_failed;
}

bool LineReader::next(QByteArrayView& line)
{
    for (;;) {
        if (m_afterCr && m_pos < m_buffer.size()) {
            if (m_buffer.at(m_pos) == '\n')
                ++m_pos;
            m_afterCr = false;
        }
        const char* data = m_buffer.constData();
        const qsizetype size = m_buffer.size();
        for (qsizetype i = m_pos; i < size; ++i) {
            if (data[i] == '\r' || data[i] == '\n') {
                line = QByteArrayView(data + m_pos, i - m_pos);
                m_afterCr = data[i] == '\r';
                m_pos = i + 1;
                return true;
            }
        }
        if (m_atEnd) {
            if (m_pos == size)
                return false;
            line = QByteArrayView(data + m_pos, size - m_pos);
            m_pos = size;
            return true;
        }
        if (!fill())
            return false;
    }
}

qint64 LineReader::countNonEmpty()
{
    qint64 count = 0;
    QByteArrayView line;
    while (next(line)) {
        if (!line.isEmpty())
            ++count;
    }
    return count;
}

// Keeps the unfinished line and appends the next chunk of the file after it.
bool LineReader::fill()
{
    m_buffer.remove(0, m_pos);
    m_pos = 0;
    const qsizetype kept = m_buffer.size();
    m_buffer.resize(kept + kChunk);
    const qint64 got = m_file.read(m_buffer.data() + kept, kChunk);
    m_buffer.resize(kept + qMax<qint64>(got, 0));
    m_read += qMax<qint64>(got, 0);
    m_overLimit = m_limit >= 0 && m_read > m_limit;
    m_failed = got < 0 || m_overLimit;
    m_atEnd = got == 0;
    return !m_failed;
}
