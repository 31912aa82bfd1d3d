// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/blanks.h"
#include "files/tenantfile.h"
#include "files/tenantrecord.h"
#include "files/textfile.h"

#include <QTemporaryDir>
#include <QTest>

Q_DECLARE_METATYPE(TenantRecord)

class TstTenantFile : public QObject {
    Q_OBJECT
private slots:
    void recordLine_data();
    void recordLine();
    void blanksAreSpacesOnly();
    void linesSplitAtEveryLineEnd_data();
    void linesSplitAtEveryLineEnd();
    void listFromLines_data();
    void listFromLines();
    void readAndWriteEightBitBytes();
    void unreadableFile();
    void unwritableFileKeepsExistingOne();
};

void TstTenantFile::recordLine_data()
{
    QTest::addColumn<TenantRecord>("record");
    QTest::addColumn<QString>("line");
    QTest::addRow("directory only, 2 digits") << TenantRecord{QStringLiteral("12"), {}, {}, {}, {}}
                                              << QStringLiteral("TNTDIR:12TEL: CODE: DOOR: NAME:\r\n");
    QTest::addRow("every field, 4 digits")
        << TenantRecord{QStringLiteral("1234"), QStringLiteral("01234567890"), QStringLiteral("9876"),
                        QStringLiteral("2"), QStringLiteral("Anna Berg")}
        << QStringLiteral("TNTDIR:1234TEL:01234567890 CODE:9876 DOOR:2 NAME:Anna Berg\r\n");
    QTest::addRow("blanks around the name, inside kept")
        << TenantRecord{QStringLiteral("345"),
                        QStringLiteral("555"),
                        {},
                        QStringLiteral("1"),
                        QStringLiteral("  van  Dijk   ")}
        << QStringLiteral("TNTDIR:345TEL:555 CODE: DOOR:1 NAME:van  Dijk\r\n");
    QTest::addRow("Latin-1 name")
        << TenantRecord{QStringLiteral("07"), {}, {}, {}, QStringLiteral("Müller Ærø")}
        << QStringLiteral("TNTDIR:07TEL: CODE: DOOR: NAME:Müller Ærø\r\n");
}

void TstTenantFile::recordLine()
{
    QFETCH(TenantRecord, record);
    QFETCH(QString, line);
    QCOMPARE(record.line(), line);
}

void TstTenantFile::blanksAreSpacesOnly()
{
    QCOMPARE(Blanks::trimmed(QStringLiteral("  a b \r\n  ")), QStringLiteral("a b \r\n"));
    QCOMPARE(Blanks::trimmed(QStringLiteral("\ta\t")), QStringLiteral("\ta\t"));
    QCOMPARE(Blanks::trimmed(QStringLiteral("    ")), QString());
    QCOMPARE(Blanks::trimmedLeft(QStringLiteral("  a  ")), QStringLiteral("a  "));
}

void TstTenantFile::linesSplitAtEveryLineEnd_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("lines");
    QTest::addRow("empty") << QString() << QStringList();
    QTest::addRow("CR LF") << QStringLiteral("a\r\nb\r\n") << QStringList{"a", "b"};
    QTest::addRow("no final end") << QStringLiteral("a\r\nb") << QStringList{"a", "b"};
    QTest::addRow("LF and CR") << QStringLiteral("a\nb\rc\n") << QStringList{"a", "b", "c"};
    QTest::addRow("blank lines stay") << QStringLiteral("\r\na\r\n\r\n") << QStringList{"", "a", ""};
}

void TstTenantFile::linesSplitAtEveryLineEnd()
{
    QFETCH(QString, text);
    QFETCH(QStringList, lines);
    QCOMPARE(TextFile::splitLines(text), lines);
}

void TstTenantFile::listFromLines_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("list");
    QTest::addRow("indented lines lose their indent")
        << QStringList{"  TNTDIR:12TEL: CODE: DOOR: NAME:A ", "    TNTDIR:13TEL:"}
        << QStringLiteral("TNTDIR:12TEL: CODE: DOOR: NAME:A \r\nTNTDIR:13TEL:\r\n");
    QTest::addRow("blank lines stay, final empty line too")
        << QStringList{"A", "", "B", ""} << QStringLiteral("A\r\n\r\nB\r\n\r\n");
    QTest::addRow("blank-only lines become empty")
        << QStringList{"A", "   ", "B"} << QStringLiteral("A\r\n\r\nB\r\n");
    QTest::addRow("leading blank lines stay") << QStringList{"", "A"} << QStringLiteral("\r\nA\r\n");
    QTest::addRow("no lines") << QStringList() << QString();
}

void TstTenantFile::listFromLines()
{
    QFETCH(QStringList, lines);
    QFETCH(QString, list);
    QCOMPARE(TenantFile::listFromLines(lines), list);
}

void TstTenantFile::readAndWriteEightBitBytes()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("t.TNT"));
    QString error;
    QVERIFY(TextFile::write(path, QStringLiteral("Zoë\r\n\u00A0x\r\n"), error));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("Zo\xEB\r\n\xA0x\r\n"));
    QStringList lines;
    QVERIFY(TextFile::readLines(path, lines));
    QCOMPARE(lines, (QStringList{QStringLiteral("Zoë"), QStringLiteral("\u00A0x")}));
}

void TstTenantFile::unreadableFile()
{
    QTemporaryDir dir;
    QStringList lines{QStringLiteral("kept")};
    QVERIFY(!TextFile::readLines(QString(), lines));
    QVERIFY(!TextFile::readLines(dir.filePath(QStringLiteral("missing.TNT")), lines));
    QVERIFY(!TextFile::readLines(dir.path(), lines));
    QCOMPARE(lines, QStringList{QStringLiteral("kept")});
}

void TstTenantFile::unwritableFileKeepsExistingOne()
{
    QTemporaryDir dir;
    QString error;
    QVERIFY(
        !TextFile::write(dir.filePath(QStringLiteral("no/such/folder/t.TNT")), QStringLiteral("x"), error));
    QVERIFY(!error.isEmpty());

    const QString path = dir.filePath(QStringLiteral("t.TNT"));
    QVERIFY(TextFile::write(path, QStringLiteral("old\r\n"), error));
    error.clear();
    QVERIFY(!TextFile::write(path, QStringLiteral("new \u20AC\r\n"), error));
    QVERIFY(error.contains(path));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("old\r\n"));
}

QTEST_GUILESS_MAIN(TstTenantFile)
#include "tst_tenantfile.moc"
