// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/mainwindow.h"
#include "core/appendpacer.h"
#include "form/statuspanels.h"
#include "form1rig.h"
#include "link/capturelog.h"
#include "link/connection.h"
#include "platform/eightbit.h"

#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

namespace {

// The main window on the real serial port, port 1 mapped to a
// pseudo-terminal whose far end the test plays; connected, capturing.
struct PtyRig : Form1Rig {
    PtyRig() : Form1Rig(RigOptions().onPty().hidden())
    {
        openCapture(capturePath);
        connectDirect();
    }

    const QString capturePath = dir.filePath(QStringLiteral("pty.log"));
};

// Every byte value but XON and XOFF, which the line's handshaking keeps for itself.
QByteArray everyDataByte()
{
    QByteArray bytes;
    for (int b = 0; b < 256; ++b) {
        if (b != 0x11 && b != 0x13)
            bytes.append(char(b));
    }
    return bytes;
}

// The same bytes as shown: the backspace takes back 7, LF goes, CR gets its LF.
QString everyDataByteShown()
{
    QString shown;
    for (const char c : everyDataByte()) {
        const int b = uchar(c);
        if (b == 7 || b == 8 || b == 10)
            continue;
        shown.append(QChar(b));
        if (b == 13)
            shown.append(u'\n');
    }
    return shown;
}

}   // namespace

class TstReceivePty : public QObject {
    Q_OBJECT
private slots:
    void receivedTextReachesPaneAndCapture();
    void unpluggingIsReportedAndLosesNothing();
    void aSlowLineIsReadAFrameAtATime();
};

void TstReceivePty::receivedTextReachesPaneAndCapture()
{
    PtyRig rig;
    QVERIFY(rig.pty->isValid());
    QVERIFY(rig.port().isOpen());
    QVERIFY(rig.window->context().capture.isOpen());

    QVERIFY(rig.pty->send("HELLO\r\nAB\bC\n"));
    QTRY_COMPARE(rig.paneText(), QStringLiteral("HELLO\r\nAC"));
    QVERIFY(rig.pty->send(everyDataByte()));
    const QString expected = QStringLiteral("HELLO\r\nAC") + everyDataByteShown();
    QTRY_COMPARE(rig.paneText(), expected);

    QCOMPARE(contentOf(rig.capturePath), EightBit::encode(expected));
    QCOMPARE(rig.statusText(), QStringLiteral("Status: Receiving..."));
    QVERIFY(rig.fakes.prompter.boxes.isEmpty());
}

void TstReceivePty::unpluggingIsReportedAndLosesNothing()
{
    PtyRig rig;
    QVERIFY(rig.pty->isValid());
    QVERIFY(rig.pty->send("EVR 0001 DOOR1\r\nEVR 0002 DOOR2\r\n"));
    QTRY_COMPARE(rig.paneText(), QStringLiteral("EVR 0001 DOOR1\r\nEVR 0002 DOOR2\r\n"));

    rig.pty->closeMaster();

    QTRY_COMPARE(rig.fakes.prompter.boxes.size(), 1);
    QVERIFY(!rig.port().isOpen());
    QCOMPARE(rig.statusText(),
             QStringLiteral("Status: Line Lost (") + rig.pty->slavePath() + QStringLiteral(")"));
    const MessageBox& box = rig.fakes.prompter.boxes.first();
    QVERIFY(box.prompt.contains(rig.pty->slavePath()));
    QCOMPARE(box.icon, MessageBox::Icon::Exclamation);
    QVERIFY(rig.window->context().capture.isOpen());
    QCOMPARE(contentOf(rig.capturePath), EightBit::encode(rig.paneText()));

    QTest::qWait(200);   // told once, and nothing keeps going on
    QCOMPARE(rig.fakes.prompter.boxes.size(), 1);
    QCOMPARE(rig.paneText(), QStringLiteral("EVR 0001 DOOR1\r\nEVR 0002 DOOR2\r\n"));
}

// Bytes that come one at a time, as at the line's own pace, are read a frame
// at a time: every one reaches the pane and the capture, in order, and the
// port wakes the program at most once a frame (and once more for the first
// byte after a quiet frame), not once a byte.
void TstReceivePty::aSlowLineIsReadAFrameAtATime()
{
    PtyRig rig;
    int notifications = 0;
    connect(&rig.port(), &SerialPort::notified, this,
            [&](int code) { notifications += code == SerialPort::kDataReceived; });
    const QByteArray pattern = "EVR 0001 DOOR1\r\n";
    QByteArray sent;
    QElapsedTimer elapsed;
    elapsed.start();
    for (int i = 0; i < 120; ++i) {
        QVERIFY(rig.pty->send(pattern.mid(i % pattern.size(), 1)));
        sent += pattern.at(i % pattern.size());
        QTest::qWait(4);
    }
    QTRY_COMPARE(rig.paneText(), QString::fromLatin1(sent));
    const qint64 frames = elapsed.elapsed() / AppendPacer::kFrameMs + 1;
    QVERIFY2(notifications <= frames + 1,
             qPrintable(QStringLiteral("%1 notifications in %2 frames").arg(notifications).arg(frames)));
    QCOMPARE(contentOf(rig.capturePath), sent);
}

QTEST_MAIN(TstReceivePty)
#include "tst_receivepty.moc"
