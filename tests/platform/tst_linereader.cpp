// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linereader.h"

#include <QTemporaryDir>
#include <QTest>

namespace {

QString fileWith(const QTemporaryDir& dir, const QByteArray& bytes)
{
    const QString path = dir.filePath(QStringLiteral("lines.TNT"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

QByteArrayList linesOf(const QString& path)
{
    LineReader reader(path);
    QByteArrayList lines;
    if (!reader.open())
        return {QByteArray("<cannot open>")};
    QByteArrayView line;
    while (reader.next(line))
        lines.append(line.toByteArray());
    return lines;
}

}   // namespace

class TstLineReader : public QObject {
    Q_OBJECT
private slots:
    void splitsAtEveryLineEnd_data();
    void splitsAtEveryLineEnd();
    void unreadableFilesFail_data();
    void unreadableFilesFail();
    void stopsPastItsLimit_data();
    void stopsPastItsLimit();
};

void TstLineReader::splitsAtEveryLineEnd_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QByteArrayList>("lines");
    QTest::addColumn<qint64>("nonEmpty");

    const QByteArray longLine(200 * 1024, 'a');
    const QByteArray upToChunkEnd(64 * 1024 - 1, 'b');   // its CR ends the first chunk
    QTest::addRow("CR LF") << QByteArray("A\r\nB\r\n") << QByteArrayList{"A", "B"} << qint64(2);
    QTest::addRow("lone LF") << QByteArray("A\nB\n") << QByteArrayList{"A", "B"} << qint64(2);
    QTest::addRow("lone CR") << QByteArray("A\rB\r") << QByteArrayList{"A", "B"} << qint64(2);
    QTest::addRow("mixed") << QByteArray("A\r\n\nB\rC") << QByteArrayList{"A", "", "B", "C"} << qint64(3);
    QTest::addRow("LF CR is two ends") << QByteArray("A\n\rB") << QByteArrayList{"A", "", "B"} << qint64(2);
    QTest::addRow("empty lines") << QByteArray("\r\n\r\nA\r\n\r\n") << QByteArrayList{"", "", "A", ""}
                                 << qint64(1);
    QTest::addRow("no final end") << QByteArray("A\r\nB") << QByteArrayList{"A", "B"} << qint64(2);
    QTest::addRow("empty file") << QByteArray() << QByteArrayList{} << qint64(0);
    QTest::addRow("8-bit and NUL") << QByteArray("\xDC\xE9\0x \r\n", 7)
                                   << QByteArrayList{QByteArray("\xDC\xE9\0x ", 5)} << qint64(1);
    QTest::addRow("line over several chunks")
        << longLine + "\r\nB" << QByteArrayList{longLine, "B"} << qint64(2);
    QTest::addRow("CR LF split by a chunk") << upToChunkEnd + "\r\nC\r\n"
                                            << QByteArrayList{upToChunkEnd, "C"} << qint64(2);
}

void TstLineReader::splitsAtEveryLineEnd()
{
    QFETCH(QByteArray, content);
    QFETCH(QByteArrayList, lines);
    QFETCH(qint64, nonEmpty);
    QTemporaryDir dir;
    const QString path = fileWith(dir, content);

    QCOMPARE(linesOf(path), lines);
    LineReader counter(path);
    QVERIFY(counter.open());
    QCOMPARE(counter.countNonEmpty(), nonEmpty);
    QVERIFY(!counter.failed());
}

void TstLineReader::unreadableFilesFail_data()
{
    QTest::addColumn<QString>("name");
    QTest::addRow("missing") << QStringLiteral("gone.TNT");
    QTest::addRow("a folder") << QString();
}

void TstLineReader::unreadableFilesFail()
{
    QFETCH(QString, name);
    QTemporaryDir dir;
    LineReader reader(name.isEmpty() ? dir.path() : dir.filePath(name));
    QVERIFY(!reader.open());
    QVERIFY(reader.failed());
    QVERIFY(!reader.error().isEmpty());
}

void TstLineReader::stopsPastItsLimit_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<qint64>("limit");
    QTest::addColumn<bool>("over");
    const QByteArray chunks(3 * 64 * 1024, 'x');
    QTest::addRow("at the limit") << QByteArray("A\r\nB") << qint64(4) << false;
    QTest::addRow("one byte past it") << QByteArray("A\r\nBC") << qint64(4) << true;
    QTest::addRow("a line longer than the limit") << chunks << qint64(64 * 1024) << true;
}

// Past the limit reading fails and gives no more lines.
void TstLineReader::stopsPastItsLimit()
{
    QFETCH(QByteArray, content);
    QFETCH(qint64, limit);
    QFETCH(bool, over);
    QTemporaryDir dir;
    LineReader reader(fileWith(dir, content), limit);
    QVERIFY(reader.open());
    QByteArrayView line;
    qint64 seen = 0;
    while (reader.next(line))
        seen += line.size() + 2;
    QCOMPARE(reader.overLimit(), over);
    QCOMPARE(reader.failed(), over);
    QVERIFY(seen <= limit + 2);
}

QTEST_GUILESS_MAIN(TstLineReader)
#include "tst_linereader.moc"
