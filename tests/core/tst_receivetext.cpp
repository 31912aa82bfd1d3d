// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/receivetext.h"

#include <QTest>

class TstReceiveText : public QObject {
    Q_OBJECT
private slots:
    void normalise_data();
    void normalise();
    void otherBytesPassUnchanged();
};

void TstReceiveText::normalise_data()
{
    QTest::addColumn<QString>("raw");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("replacesLast");

    // Backspaces
    QTest::addRow("a backspace removes the character before it")
        << QStringLiteral("AB\bC") << QStringLiteral("AC") << false;
    QTest::addRow("backspace at the head") << QStringLiteral("\bXY") << QStringLiteral("XY") << true;
    QTest::addRow("two at the head take back one shown character")
        << QStringLiteral("\b\bX") << QStringLiteral("X") << true;
    QTest::addRow("backspaces that run past the chunk's head")
        << QStringLiteral("A\b\bX") << QStringLiteral("X") << true;
    QTest::addRow("three backspaces after two characters")
        << QStringLiteral("AB\b\b\bX") << QStringLiteral("X") << true;
    QTest::addRow("everything taken back") << QStringLiteral("AB\b\b") << QString() << false;
    QTest::addRow("a backspace alone") << QStringLiteral("\b") << QString() << true;
    QTest::addRow("a backspace removes the LF of a line end")
        << QStringLiteral("a\r\n\bb") << QStringLiteral("a\r\nb") << false;
    QTest::addRow("a backspace removes a CR") << QStringLiteral("a\r\bb") << QStringLiteral("ab") << false;

    // Line ends
    QTest::addRow("CR LF unchanged") << QStringLiteral("x\r\ny") << QStringLiteral("x\r\ny") << false;
    QTest::addRow("LF dropped") << QStringLiteral("x\ny") << QStringLiteral("xy") << false;
    QTest::addRow("CR gets its LF") << QStringLiteral("x\ry") << QStringLiteral("x\r\ny") << false;
    QTest::addRow("chunk ending in CR") << QStringLiteral("x\r") << QStringLiteral("x\r\n") << false;
    QTest::addRow("chunk starting with LF") << QStringLiteral("\ny") << QStringLiteral("y") << false;
    QTest::addRow("LF CR becomes one line end")
        << QStringLiteral("a\n\rb") << QStringLiteral("a\r\nb") << false;
    QTest::addRow("CR CR") << QStringLiteral("\r\r") << QStringLiteral("\r\n\r\n") << false;
    QTest::addRow("CR LF LF") << QStringLiteral("a\r\n\nb") << QStringLiteral("a\r\nb") << false;
    QTest::addRow("empty chunk") << QString() << QString() << false;
}

void TstReceiveText::normalise()
{
    QFETCH(QString, raw);
    QFETCH(QString, text);
    QFETCH(bool, replacesLast);
    const ReceiveText::Chunk chunk = ReceiveText::normalise(raw);
    QCOMPARE(chunk.text, text);
    QCOMPARE(chunk.replacesLast, replacesLast);
}

void TstReceiveText::otherBytesPassUnchanged()
{
    QString all;
    for (int c = 0; c < 256; ++c) {
        if (c != 8 && c != 10 && c != 13)
            all.append(QChar(c));
    }
    const ReceiveText::Chunk chunk = ReceiveText::normalise(all);
    QCOMPARE(chunk.text, all);
    QVERIFY(!chunk.replacesLast);
}

QTEST_APPLESS_MAIN(TstReceiveText)
#include "tst_receivetext.moc"
