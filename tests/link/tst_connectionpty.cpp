// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/mainwindow.h"
#include "form1rig.h"
#include "link/connection.h"

#include <QLineEdit>
#include <QTest>

namespace {
const QString kSecond = QStringLiteral("Velno 6300 Managemant System");
const QString kProps = QStringLiteral("Properties");
}   // namespace

class TstConnectionPty : public QObject {
    Q_OBJECT
private slots:
    void dialPutsExactBytesOnTheLine();
    void directConnectThenDisconnectSendsOnlyEnd();
};

void TstConnectionPty::dialPutsExactBytesOnTheLine()
{
    Form1Rig rig(RigOptions().onPty().hidden());
    QVERIFY(rig.pty->isValid());
    rig.fakes.store.store(kSecond, kProps, QStringLiteral("sett"), QStringLiteral("AT&F\xe9"));
    rig.window->ui().Text2->setText(QStringLiteral("0123456"));

    rig.window->connection().connect_Click();

    QVERIFY(rig.port().isOpen());
    // The modem lines cannot be set on a pseudo-terminal: that is no reason for a box.
    QVERIFY(rig.fakes.prompter.boxes.isEmpty());
    const QByteArray expected("AT&F\xe9\r\nATDT0123456\r\n");
    QCOMPARE(rig.pty->receive(int(expected.size())), expected);

    rig.window->connection().close1_Click();
    QCOMPARE(rig.pty->receive(5), QByteArray("END\r\n"));
    QVERIFY(!rig.port().isOpen());
}

void TstConnectionPty::directConnectThenDisconnectSendsOnlyEnd()
{
    Form1Rig rig(RigOptions().onPty().hidden());
    rig.window->connection().connect_Click();
    QVERIFY(rig.port().isOpen());
    QCOMPARE(rig.fakes.prompter.boxes.size(), 1);   // "Please input the phone number"
    QCOMPARE(rig.pty->receive(1, 200), QByteArray());
    rig.window->connection().close1_Click();
    QCOMPARE(rig.pty->receive(5), QByteArray("END\r\n"));
}

QTEST_MAIN(TstConnectionPty)
#include "tst_connectionpty.moc"
