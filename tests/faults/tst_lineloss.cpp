// SPDX-License-Identifier: GPL-3.0-or-later
#include "faultrig.h"

#include "link/connection.h"
#include "link/receiver.h"
#include "platform/eightbit.h"
#include "transfer/filesender.h"

#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

// The far end of the line goes away in the middle of receiving, of a paced
// send and of a modem dial: the operator is told once, what was shown and
// captured stays, the handler in progress ends, and nothing spins afterwards.
class TstLineLoss : public QObject {
    Q_OBJECT
private slots:
    void whileReceiving();
    void whileSendingAFile();
    void whileDialling();
};

namespace {

// Long enough for a written line to cross the pseudo-terminal within a pause.
constexpr int kTickMs = 20;

void verifyLostBox(Form1Rig& rig, const MessageBox& box)
{
    QVERIFY(box.prompt.contains(rig.pty->slavePath()));
    QCOMPARE(box.icon, MessageBox::Icon::Exclamation);
    const QString lost = Receiver::kLineLost + QStringLiteral(" (") + rig.pty->slavePath() + u')';
    QCOMPARE(rig.statusText(), QStringLiteral("Status: ") + lost);
}

}   // namespace

void TstLineLoss::whileReceiving()
{
    Form1Rig rig(RigOptions().onPty().hidden());
    QVERIFY(rig.pty->isValid());
    const QString capture = rig.dir.filePath(QStringLiteral("events.EVR"));
    rig.openCapture(capture);
    rig.connectDirect();
    QVERIFY(rig.port().isOpen());
    const QByteArray part("EVR 0001 01/20/03 09:05 DOOR1 OPEN\r\nEVR 0002 01/20/03 09:0");
    QVERIFY(rig.pty->send(part));
    QTRY_COMPARE(rig.paneText(), EightBit::decode(part));

    rig.pty->closeMaster();

    QTRY_COMPARE(rig.fakes.prompter.boxes.size(), 1);
    verifyLostBox(rig, rig.fakes.prompter.boxes.first());
    QVERIFY(!rig.port().isOpen());
    QVERIFY(rig.window->context().capture.isOpen());
    QCOMPARE(contentOf(capture), part);
    const double idleCpu = cpuSecondsWhileIdle(kIdleMs);
    QVERIFY2(idleCpu < kIdleCpuBound, qPrintable(spinning(idleCpu)));
    QCOMPARE(rig.fakes.prompter.boxes.size(), 1);
    QCOMPARE(rig.paneText(), EightBit::decode(part));
}

// The line goes once the second line has arrived: the third meets the
// connection guard, the count shows the two that went.
void TstLineLoss::whileSendingAFile()
{
    Form1Rig rig(RigOptions().onPty().tick(kTickMs).hidden());
    QVERIFY(rig.pty->isValid());
    rig.connectDirect();
    const QByteArrayList lines{"TNTDIR:01TEL:5551234 CODE:1234 DOOR:1 NAME:SMITH\r\n",
                               "TNTDIR:02TEL:5559876 CODE:4321 DOOR:2 NAME:JONES\r\n",
                               "TNTDIR:03TEL:5550000 CODE:0000 DOOR:1 NAME:BROWN\r\n",
                               "TNTDIR:04TEL:5551111 CODE:1111 DOOR:2 NAME:GREEN\r\n"};
    const QString path = writeFile(rig.dir, QStringLiteral("tenants.TNT"), lines.join());
    const QByteArray firstTwo = lines[0] + lines[1];
    QByteArray arrived;
    QObject::connect(&rig.window->waiter(), &Waiter::ticked, [&] {
        arrived += rig.pty->drain();
        if (arrived == firstTwo)
            rig.pty->closeMaster();
    });
    rig.fakes.prompter.choose(path);

    rig.window->fileSender().sendfileg_Click();

    QCOMPARE(arrived, firstTwo);
    QCOMPARE(rig.window->fileSender().sentRecords(), 2);
    QCOMPARE(rig.fakes.prompter.boxes.size(), 2);
    verifyLostBox(rig, rig.fakes.prompter.boxes.at(0));
    QVERIFY(rig.fakes.prompter.boxes.at(1).prompt.contains(QStringLiteral("The comm port is closed")));
    QVERIFY(rig.window->ui().Progress->isHidden());
    QVERIFY(rig.window->ui().Command1->isHidden());
    const double idleCpu = cpuSecondsWhileIdle(kIdleMs);
    QVERIFY2(idleCpu < kIdleCpuBound, qPrintable(spinning(idleCpu)));
    QCOMPARE(rig.fakes.prompter.boxes.size(), 2);
}

// The modem's far end goes after the setup string: the dial still ends, the
// number goes nowhere, and the operator learns that the line is gone.
void TstLineLoss::whileDialling()
{
    Form1Rig rig(RigOptions().onPty().tick(kTickMs).hidden());
    QVERIFY(rig.pty->isValid());
    rig.fakes.store.store(AppSettings::kSettingTitle, AppSettings::kSection, QStringLiteral("sett"),
                          QStringLiteral("ATZ"));
    QByteArray arrived;
    QObject::connect(&rig.window->waiter(), &Waiter::ticked, [&] {
        arrived += rig.pty->drain();
        if (arrived == "ATZ\r\n")
            rig.pty->closeMaster();
    });

    rig.window->ui().Text2->setText(QStringLiteral("5551234"));
    rig.window->connection().connect_Click();

    QCOMPARE(arrived, QByteArray("ATZ\r\n"));
    QVERIFY(!rig.port().isOpen());
    QCOMPARE(rig.fakes.prompter.boxes.size(), 1);
    verifyLostBox(rig, rig.fakes.prompter.boxes.first());
    QVERIFY(rig.window->ui().Mastercode->isEnabled());
    QCOMPARE(rig.window->cursor().shape(), Qt::ArrowCursor);
    const double idleCpu = cpuSecondsWhileIdle(kIdleMs);
    QVERIFY2(idleCpu < kIdleCpuBound, qPrintable(spinning(idleCpu)));
    QCOMPARE(rig.fakes.prompter.boxes.size(), 1);
}

QTEST_MAIN(TstLineLoss)
#include "tst_lineloss.moc"
