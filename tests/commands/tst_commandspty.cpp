#include "app/mainwindow.h"
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

QTEST_MAIN(TstCommandsPty)
#include "tst_commandspty.moc"
