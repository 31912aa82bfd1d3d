// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/mainwindow.h"
#include "app/setformhost.h"
#include "desktop/maskedfield.h"
#include "form1rig.h"
#include "operator.h"
#include "pasteanddrop.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

namespace {

// The main window on a real serial port whose port 1 is a pseudo-terminal;
// the test plays the panel at the far end. Everything else is a fake.
struct PtyRig : Form1Rig {
    PtyRig() : Form1Rig(RigOptions().onPty()) {}

    // What arrived at the far end: the expected bytes, then nothing more.
    QByteArray arrived(const QByteArray& expected)
    {
        QByteArray got = pty->receive(int(expected.size()));
        QTest::qWait(50);
        return got + pty->drain();
    }
};

QByteArray times(int count, const QByteArray& line)
{
    return line.repeated(count);
}

}   // namespace

class TstCommandsPty : public QObject {
    Q_OBJECT
private slots:
    void operatorSessionPutsExactBytesOnTheLine();
    void pastedLinesGoOutAsOne_data();
    void pastedLinesGoOutAsOne();
};

void TstCommandsPty::operatorSessionPutsExactBytesOnTheLine()
{
    PtyRig rig;
    QVERIFY(rig.pty->isValid());
    QVERIFY(rig.active);
    Form1Ui& ui = rig.ui();
    rig.fakes.clock.time = QDateTime(QDate(2003, 1, 5), QTime(23, 59, 40));

    click(ui.Option1);
    click(ui.connectButton);   // no phone number: a direct line
    QVERIFY(rig.port().isOpen());
    rig.fakes.prompter.boxes.clear();

    clickAndType(ui.Text3, QStringLiteral("1234"));
    QCOMPARE(rig.pty->drain(), QByteArray());
    pressEnter();
    QCOMPARE(rig.arrived(times(6, "PGM1234\r\n")), times(6, "PGM1234\r\n"));
    QCOMPARE(focus(), ui.upload);
    QVERIFY(ui.download->isEnabled());

    // What "SEND" does for the parameter commands.
    rig.makeCommandsUsable();

    clickAndType(ui.medit2, QStringLiteral("4"));
    switchAwayAndBack(rig.window.get());   // the caret stays after the 4
    QCOMPARE(focus(), ui.medit2);
    QTest::keyClicks(ui.medit2, QStringLiteral("5"));
    holdEnter();
    QCOMPARE(focus(), ui.medit3);
    QTest::keyClicks(focus(), QStringLiteral("7"));
    pressEnter();
    QCOMPARE(focus(), ui.medit7);
    QCOMPARE(rig.arrived("PARDOT1 45\r\nPARDOT2 7\r\n"), QByteArray("PARDOT1 45\r\nPARDOT2 7\r\n"));

    clickAndType(ui.dtmf, QStringLiteral("12"));
    click(ui.opendtmf);
    QCOMPARE(rig.arrived("PARDTM 12\r\n"), QByteArray("PARDTM 12\r\n"));
    QCOMPARE(focus(), ui.medit1);

    click(ui.Date);
    click(ui.rtrtc);
    QCOMPARE(rig.arrived("DAT 01 05 2003 7\r\nTIM 23 59\r\n"),
             QByteArray("DAT 01 05 2003 7\r\nTIM 23 59\r\n"));

    clickAndType(ui.MsgWel, QStringLiteral("WELCOME"));
    holdEnter();   // the repeats do not press the button the focus went to
    QCOMPARE(focus(), ui.message);
    QCOMPARE(rig.arrived(QByteArray()), QByteArray());
    pressEnter();   // the focused button, pressed from the keyboard
    QCOMPARE(rig.arrived("PARMSG WELCOME \r\n"), QByteArray("PARMSG WELCOME \r\n"));

    clickAndType(ui.MEDITTNT, QStringLiteral("12"));
    rig.fakes.prompter.answer(MessageBox::Answer::Yes);
    click(ui.cleartnt);
    click(ui.clearevr);   // not confirmed: the default button is No
    QCOMPARE(rig.arrived("CLR 12\r\n"), QByteArray("CLR 12\r\n"));
    QCOMPARE(rig.fakes.prompter.boxes.size(), 2);

    click(ui.close1);
    QCOMPARE(rig.arrived("END\r\n"), QByteArray("END\r\n"));
    click(ui.um);   // disabled again: nothing happens
    QVERIFY(!rig.port().isOpen());
    QCOMPARE(rig.pty->drain(), QByteArray());
}

// Two lines pasted or dropped into a field that reaches the line, then its
// button or Enter: one command line goes out, with one CR LF at its end.
void TstCommandsPty::pastedLinesGoOutAsOne_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("way");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("button");   // empty: Enter in the field
    QTest::addColumn<QByteArray>("line");
    const QString twoLines = QStringLiteral("1\r\n2");
    const struct {
        const char* field;
        const char* way;
        const char* button;
        QByteArray line;
    } rows[] = {
        {"MsgWel", "paste", "message", "PARMSG 1 2 \r\n"},
        {"MsgWel", "drop", "message", "PARMSG 1 2 \r\n"},
        {"Medit_New_mastercode", "paste", "", "PARCMC 1 2\r\n"},
        {"Medit_New_mastercode", "drop", "Newmastcode", "PARCMC 1 2\r\n"},
        {"Text3", "paste", "Mastercode", "PGM1 2\r\n"},
        {"Text3", "drop", "", QByteArray("PGM1 2\r\n").repeated(6)},
        {"Text2", "paste", "connect", "\r\nATDT1 2\r\n"},   // an empty setup string first
        {"Text1", "drop", "connect", "1 2\r\nATDT5\r\n"},   // the setup string
        {"medit1", "paste", "", "PARTKT 12\r\n"},
        {"medit2", "drop", "opentime1", "PARDOT1 12\r\n"},
        {"medit3", "paste", "opentime2", "PARDOT2 12\r\n"},
        {"medit7", "drop", "", "PAROHR1 12\r\n"},
        {"medit8", "paste", "manualdoor2", "PAROHR2 12\r\n"},
        {"dtmf", "drop", "", "PARDTM 12\r\n"},
        {"MEDITTNT", "paste", "cleartnt", "CLR 12\r\n"},
    };
    for (const auto& row : rows) {
        QTest::addRow("%s, %s, %s", row.field, row.way, *row.button ? row.button : "Enter")
            << row.field << row.way << twoLines << row.button << row.line;
    }
    QTest::addRow("blank dropped into a digit field") << "medit2"
                                                      << "drop"
                                                      << "4 5"
                                                      << "" << QByteArray("PARDOT1 45\r\n");
}

void TstCommandsPty::pastedLinesGoOutAsOne()
{
    QFETCH(QString, field);
    QFETCH(QString, way);
    QFETCH(QString, text);
    QFETCH(QString, button);
    QFETCH(QByteArray, line);
    PtyRig rig;
    QVERIFY(rig.pty->isValid());
    rig.connectDirect();
    rig.makeCommandsUsable();
    rig.ui().Text2->setText(QStringLiteral("5"));
    rig.fakes.prompter.answer(MessageBox::Answer::Yes);
    auto* edit = field == QStringLiteral("Text1") ? rig.window->setform().ensureLoaded().Text1
                                                  : control<QLineEdit>(rig.window.get(), field);
    edit->clear();
    edit->setFocus();

    if (way == QStringLiteral("paste"))
        pasteInto(edit, text);
    else
        dropOnto(edit, text);
    if (button.isEmpty())
        QTest::keyClick(edit, Qt::Key_Return);
    else
        click(control(rig.window.get(), button));

    QCOMPARE(rig.arrived(line), line);
}

QTEST_MAIN(TstCommandsPty)
#include "tst_commandspty.moc"
