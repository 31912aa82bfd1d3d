#include "textfile.h"

#include "platform/eightbit.h"
#include "platform/writeall.h"

#include <QFile>
#include <QSaveFile>

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

bool readLines(const QString& path, QStringList& lines)
{
    if (path.isEmpty())
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return false;
    lines = splitLines(EightBit::decode(bytes));
    return true;
}

bool write(const QString& path, const QString& text, QString& error)
{
    if (!EightBit::representable(text)) {
        error = QStringLiteral("The text holds characters that an 8-bit text file cannot hold; "
                               "nothing was written to %1.")
                    .arg(path);
        return false;
    }
    // Unbuffered: a write that falls short shows at once (in a buffer it would
    // show only at the commit, which takes the file as it is).
    QSaveFile file(path);
    const QByteArray bytes = EightBit::encode(text);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)
        || writeAll(file, bytes) != bytes.size() || !file.commit()) {
        error = file.errorString();
        return false;
    }
    return true;
}

} // namespace TextFile
