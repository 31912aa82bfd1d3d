// SPDX-License-Identifier: GPL-3.0-or-later
#include "form1rig.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

QByteArrayList times(int count, const QByteArray& line)
{
    QByteArrayList out;
    for (int i = 0; i < count; ++i)
        out << line;
    return out;
}

// The operator's keys go to the field that has the focus.
void typeIntoCode(Form1Rig& rig, const QString& keys)
{
    rig.ui().Text3->setFocus();
    QTest::keyClicks(rig.ui().Text3, keys);
}

bool transfersEnabled(Form1Rig& rig)
{
    return rig.ui().upload->isEnabled() && rig.ui().download->isEnabled();
}

}   // namespace

class TstProgrammingCode : public QObject {
    Q_OBJECT
private slots:
    void keysThatSend_data();
    void keysThatSend();
    void transfersOpenAfterTheFirstWrite();
    void backspaceEmptiesTheField_data();
    void backspaceEmptiesTheField();
    void enterInEmptyFieldPrompts();
    void closedPortShowsTheGuard();
    void caretGoesToTheStartOnFocus();
};

void TstProgrammingCode::keysThatSend_data()
{
    QTest::addColumn<QString>("keys");
    QTest::addColumn<bool>("enter");
    QTest::addColumn<QByteArrayList>("writes");
    QTest::addColumn<QString>("fieldAfter");
    QTest::addRow("three characters") << "123" << false << QByteArrayList{} << "123";
    QTest::addRow("four characters") << "1234" << false << QByteArrayList{} << "1234";
    QTest::addRow("four characters, Enter") << "1234" << true << times(6, "PGM1234\r\n") << "1234";
    QTest::addRow("two characters, Enter") << "12" << true << times(6, "PGM12\r\n") << "12";
    QTest::addRow("one character, Enter") << "7" << true << times(6, "PGM7\r\n") << "7";
    QTest::addRow("fifth character sends the first four")
        << "1234x" << false << times(6, "PGM1234\r\n") << "1234x";
    QTest::addRow("a key after five sends all five")
        << "12345y" << false << times(6, "PGM1234\r\n") + times(6, "PGM12345\r\n") << "12345";
    QTest::addRow("any characters") << "a B-" << true << times(6, "PGMa B-\r\n") << "a B-";
}

void TstProgrammingCode::keysThatSend()
{
    QFETCH(QString, keys);
    QFETCH(bool, enter);
    QFETCH(QByteArrayList, writes);
    QFETCH(QString, fieldAfter);
    Form1Rig rig;
    rig.connectDirect();

    typeIntoCode(rig, keys);
    if (enter)
        QTest::keyClick(rig.ui().Text3, Qt::Key_Return);

    QCOMPARE(rig.fakes.port.writes, writes);
    QCOMPARE(rig.ui().Text3->text(), fieldAfter);
    QCOMPARE(transfersEnabled(rig), !writes.isEmpty());
    QCOMPARE(focus(),
             writes.isEmpty() ? static_cast<QWidget*>(rig.ui().Text3)
                              : static_cast<QWidget*>(rig.ui().upload));
    QVERIFY(rig.fakes.prompter.boxes.isEmpty());
}

void TstProgrammingCode::transfersOpenAfterTheFirstWrite()
{
    Form1Rig rig;
    rig.connectDirect();
    QList<bool> enabledAtWrite;
    rig.fakes.port.onWrite = [&](const QByteArray&) { enabledAtWrite << transfersEnabled(rig); };
    typeIntoCode(rig, QStringLiteral("9876"));
    QTest::keyClick(rig.ui().Text3, Qt::Key_Return);
    QCOMPARE(enabledAtWrite, (QList<bool>{false, true, true, true, true, true}));
}

void TstProgrammingCode::backspaceEmptiesTheField_data()
{
    QTest::addColumn<QString>("keys");
    QTest::addColumn<int>("caret");
    QTest::addRow("three characters") << "123" << 3;
    QTest::addRow("four characters, nothing sent") << "1234" << 4;
    QTest::addRow("caret in the middle") << "123" << 1;
}

void TstProgrammingCode::backspaceEmptiesTheField()
{
    QFETCH(QString, keys);
    QFETCH(int, caret);
    Form1Rig rig;
    rig.connectDirect();
    typeIntoCode(rig, keys);
    rig.ui().Text3->setCursorPosition(caret);
    QTest::keyClick(rig.ui().Text3, Qt::Key_Backspace);
    QCOMPARE(rig.ui().Text3->text(), QString());
    QVERIFY(rig.fakes.port.writes.isEmpty());
    QVERIFY(!transfersEnabled(rig));
}

void TstProgrammingCode::enterInEmptyFieldPrompts()
{
    Form1Rig rig;
    rig.connectDirect();
    rig.ui().Text3->setFocus();
    QTest::keyClick(rig.ui().Text3, Qt::Key_Return);
    QCOMPARE(rig.fakes.prompter.boxes.size(), 1);
    const MessageBox& box = rig.fakes.prompter.boxes.first();
    QCOMPARE(box.prompt, QStringLiteral("Please input 4-digit PassWord, and Press ENTER to Send"));
    QCOMPARE(box.title, QStringLiteral("Velno 6100 Management System"));
    QCOMPARE(box.buttons, MessageBox::Buttons::Ok);
    QCOMPARE(box.icon, MessageBox::Icon::None);
    QVERIFY(rig.fakes.port.writes.isEmpty());
    QCOMPARE(focus(), rig.ui().Text3);
    QVERIFY(!transfersEnabled(rig));
}

void TstProgrammingCode::closedPortShowsTheGuard()
{
    Form1Rig rig;
    typeIntoCode(rig, QStringLiteral("1234"));
    QTest::keyClick(rig.ui().Text3, Qt::Key_Return);
    QCOMPARE(rig.fakes.prompter.boxes.size(), 1);
    const MessageBox& box = rig.fakes.prompter.boxes.first();
    QCOMPARE(box.prompt, QStringLiteral("The comm port is closed"));
    QCOMPARE(box.title, QStringLiteral("Disconnect"));
    QCOMPARE(box.buttons, MessageBox::Buttons::Ok);
    QCOMPARE(box.icon, MessageBox::Icon::None);
    QVERIFY(rig.fakes.port.writes.isEmpty());
    QVERIFY(!transfersEnabled(rig));
    QCOMPARE(focus(), rig.ui().Text3);
}

void TstProgrammingCode::caretGoesToTheStartOnFocus()
{
    Form1Rig rig;
    QLineEdit* code = rig.ui().Text3;
    code->setText(QStringLiteral("12"));
    for (Qt::FocusReason reason : {Qt::TabFocusReason, Qt::OtherFocusReason}) {
        rig.ui().Text2->setFocus();
        code->setCursorPosition(2);
        code->setFocus(reason);
        QCOMPARE(code->cursorPosition(), 0);
        QVERIFY(!code->hasSelectedText());
    }
    QTest::keyClicks(code, QStringLiteral("9"));
    QCOMPARE(code->text(), QStringLiteral("912"));
}

QTEST_MAIN(TstProgrammingCode)
#include "tst_programmingcode.moc"
