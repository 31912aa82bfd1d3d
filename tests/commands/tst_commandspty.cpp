// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/mainwindow.h"
#include "app/setformhost.h"
#include "pasteanddrop.h"
#include "platform/maskedfield.h"
#include "ptyform1rig.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

namespace {

// The main window on a real serial port whose port 1 is a pseudo-terminal;
// the test plays the panel at the far end. Everything else is a fake.
struct PtyRig : PtyForm1Rig {
    PtyRig()
    {
        window->show();
        QApplication::setActiveWindow(window.get());
        active = QTest::qWaitForWindowActive(window.get());
    }

    Form1Ui& ui() { return window->ui(); }

    // Clicks into a field at its left edge, where typing then begins.
    void clickInto(QLineEdit* field)
    {
        QTest::mouseClick(field, Qt::LeftButton, {}, QPoint(3, field->height() / 2));
    }
    void typeInto(QLineEdit* field, const QString& keys)
    {
        clickInto(field);
        QTest::keyClicks(QApplication::focusWidget(), keys);
    }
    void pressEnter() { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return); }
    // Enter held down: its first press, then the keyboard's repeats.
    void holdEnter()
    {
        pressEnter();
        for (int repeat = 0; repeat < 3; ++repeat)
            QTest::simulateEvent(QApplication::focusWidget(), true, Qt::Key_Return, {}, QStringLiteral("\r"), true);
    }
    // Another window comes to the front and goes again.
    void switchAwayAndBack()
    {
        QWidget other;
        other.show();
        QApplication::setActiveWindow(&other);
        QVERIFY(QTest::qWaitForWindowActive(&other));
        QApplication::setActiveWindow(window.get());
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
    }
    void click(QPushButton* button) { QTest::mouseClick(button, Qt::LeftButton); }

    // What arrived at the far end: the expected bytes, then nothing more.
    QByteArray arrived(const QByteArray& expected)
    {
        QByteArray got = pty.receive(int(expected.size()));
        QTest::qWait(50);
        return got + pty.drain();
    }

    bool active = false;
};

QByteArray times(int count, const QByteArray& line) { return line.repeated(count); }

} // namespace

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
    QVERIFY(rig.pty.isValid());
    QVERIFY(rig.active);
    Form1Ui& ui = rig.ui();
    rig.fakes.clock.time = QDateTime(QDate(2003, 1, 5), QTime(23, 59, 40));

    QTest::mouseClick(ui.Option1, Qt::LeftButton);
    rig.click(ui.connectButton);   // no phone number: a direct line
    QVERIFY(rig.port.isOpen());
    rig.fakes.prompter.boxes.clear();

    rig.typeInto(ui.Text3, QStringLiteral("1234"));
    QCOMPARE(rig.pty.drain(), QByteArray());
    rig.pressEnter();
    QCOMPARE(rig.arrived(times(6, "PGM1234\r\n")), times(6, "PGM1234\r\n"));
    QCOMPARE(QApplication::focusWidget(), ui.upload);
    QVERIFY(ui.download->isEnabled());

    // What "SEND" does for the parameter commands.
    for (QWidget* control : ui.commandControls())
        control->setEnabled(true);

    rig.typeInto(ui.medit2, QStringLiteral("4"));
    rig.switchAwayAndBack();   // the caret stays after the 4
    QCOMPARE(QApplication::focusWidget(), ui.medit2);
    QTest::keyClicks(ui.medit2, QStringLiteral("5"));
    rig.holdEnter();
    QCOMPARE(QApplication::focusWidget(), ui.medit3);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("7"));
    rig.pressEnter();
    QCOMPARE(QApplication::focusWidget(), ui.medit7);
    QCOMPARE(rig.arrived("PARDOT1 45\r\nPARDOT2 7\r\n"), QByteArray("PARDOT1 45\r\nPARDOT2 7\r\n"));

    rig.typeInto(ui.dtmf, QStringLiteral("12"));
    rig.click(ui.opendtmf);
    QCOMPARE(rig.arrived("PARDTM 12\r\n"), QByteArray("PARDTM 12\r\n"));
    QCOMPARE(QApplication::focusWidget(), ui.medit1);

    rig.click(ui.Date);
    rig.click(ui.rtrtc);
    QCOMPARE(rig.arrived("DAT 01 05 2003 7\r\nTIM 23 59\r\n"), QByteArray("DAT 01 05 2003 7\r\nTIM 23 59\r\n"));

    rig.typeInto(ui.MsgWel, QStringLiteral("WELCOME"));
    rig.holdEnter();   // the repeats do not press the button the focus went to
    QCOMPARE(QApplication::focusWidget(), ui.message);
    QCOMPARE(rig.arrived(QByteArray()), QByteArray());
    rig.pressEnter();   // the focused button, pressed from the keyboard
    QCOMPARE(rig.arrived("PARMSG WELCOME \r\n"), QByteArray("PARMSG WELCOME \r\n"));

    rig.typeInto(ui.MEDITTNT, QStringLiteral("12"));
    rig.fakes.prompter.answer(MessageBox::Answer::Yes);
    rig.click(ui.cleartnt);
    rig.click(ui.clearevr);   // not confirmed: the default button is No
    QCOMPARE(rig.arrived("CLR 12\r\n"), QByteArray("CLR 12\r\n"));
    QCOMPARE(rig.fakes.prompter.boxes.size(), 2);

    rig.click(ui.close1);
    QCOMPARE(rig.arrived("END\r\n"), QByteArray("END\r\n"));
    rig.click(ui.um);   // disabled again: nothing happens
    QVERIFY(!rig.port.isOpen());
    QCOMPARE(rig.pty.drain(), QByteArray());
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
    QTest::addRow("blank dropped into a digit field") << "medit2" << "drop" << "4 5" << "" << QByteArray("PARDOT1 45\r\n");
}

void TstCommandsPty::pastedLinesGoOutAsOne()
{
    QFETCH(QString, field);
    QFETCH(QString, way);
    QFETCH(QString, text);
    QFETCH(QString, button);
    QFETCH(QByteArray, line);
    PtyRig rig;
    QVERIFY(rig.pty.isValid());
    rig.connectDirect();
    for (QWidget* control : rig.ui().commandControls())
        control->setEnabled(true);
    rig.ui().Text2->setText(QStringLiteral("5"));
    rig.fakes.prompter.answer(MessageBox::Answer::Yes);
    auto* edit = field == QStringLiteral("Text1") ? rig.window->setform().ensureLoaded().Text1
                                                   : rig.window->findChild<QLineEdit*>(field);
    QVERIFY(edit);
    edit->clear();
    edit->setFocus();

    if (way == QStringLiteral("paste"))
        pasteInto(edit, text);
    else
        dropOnto(edit, text);
    if (button.isEmpty())
        QTest::keyClick(edit, Qt::Key_Return);
    else
        rig.click(rig.window->findChild<QPushButton*>(button));

    QCOMPARE(rig.arrived(line), line);
}

QTEST_MAIN(TstCommandsPty)
#include "tst_commandspty.moc"
