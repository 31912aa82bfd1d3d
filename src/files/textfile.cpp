// SPDX-License-Identifier: GPL-3.0-or-later
#include "textfile.h"

#include "platform/eightbit.h"
#include "platform/linereader.h"
#include "platform/writeall.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QSaveFile>

namespace {

// size < 0: not known, only that it is over the limit.
QString tooLarge(const QString& path, qint64 size)
{
    const QLocale locale = QLocale::system();
    const QString limit =
        locale.formattedDataSize(TextFile::kMaxReadSize, 0, QLocale::DataSizeTraditionalFormat);
    const QString length = size < 0 ? QStringLiteral("more than ") + limit
                                    : locale.formattedDataSize(size, 1, QLocale::DataSizeTraditionalFormat);
    return QStringLiteral("%1 is %2 long, more than a tenant or parameter file can be (at most "
                          "%3). It was not opened.")
        .arg(QDir::toNativeSeparators(path), length, limit);
}

}   // namespace

namespace TextFile {

QStringList splitLines(const QString& text)
{
    QStringList lines;
    QString line;
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c != u'\r' && c != u'\n') {
            line += c;
            continue;
        }
        if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n')
            ++i;
        lines.append(line);
        line.clear();
    }
    if (!line.isEmpty())
        lines.append(line);
    return lines;
}

bool forEachLine(const QString& path, const std::function<bool(const QString&)>& take, QString& refusal)
{
    if (path.isEmpty())
        return false;
    const qint64 size = QFileInfo(path).size();
    if (size > kMaxReadSize) {
        refusal = tooLarge(path, size);
        return false;
    }
    // The limit holds for a file that grows while it is read, and for a device
    // that reports no size.
    LineReader reader(path, kMaxReadSize);
    if (!reader.open())
        return false;
    QByteArrayView line;
    while (reader.next(line)) {
        if (!take(EightBit::decode(line)))
            return true;
    }
    if (reader.overLimit())
        refusal = tooLarge(path, -1);
    return !reader.failed();
}

bool readLines(const QString& path, QStringList& lines)
{
    QStringList read;
    QString refusal;
    if (!forEachLine(
            path,
            [&read](const QString& line) {
                read.append(line);
                return true;
            },
            refusal))
        return false;
    lines = read;
    return true;
}

bool write(const QString& path, const QString& text, QString& error)
{
    if (!EightBit::representable(text)) {
        error = QStringLiteral("An 8-bit text file cannot hold these characters of the text: %1. "
                               "Nothing was written to %2.")
                    .arg(EightBit::foreignCharacters(text), path);
        return false;
    }
    // Unbuffered: a write that falls short shows at once (in a buffer it would
    // show only at the commit, which takes the file as it is). In a folder
    // where no temporary file can be made, a file that may be written is
    // written in place; the replaced file keeps its permissions either way.
    QSaveFile file(path);
    file.setDirectWriteFallback(true);
    const QByteArray bytes = EightBit::encode(text);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) || writeAll(file, bytes) != bytes.size()
        || !file.commit()) {
        error = file.errorString();
        return false;
    }
    return true;
}

}   // namespace TextFile
