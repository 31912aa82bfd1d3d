// SPDX-License-Identifier: GPL-3.0-or-later
#include "faultrig.h"

#include "core/receivetext.h"
#include "form/receivepane.h"
#include "link/connection.h"
#include "link/receiver.h"
#include "platform/eightbit.h"

#include <QTest>
#include <QTextDocument>

// What the line can bring at once: a megabyte without a line end, and every
// byte value with runs of NUL bytes. The pane keeps the newest text within
// its limit, the capture file keeps everything, nobody is bothered, and once
// the burst is over nothing keeps running.
class TstLineBurst : public QObject {
    Q_OBJECT
private slots:
    void megabyteWithoutLineEnd();
    void everyByteValueAndNuls();
};

namespace {

constexpr int kMegabyte = 1024 * 1024;
constexpr int kArrivalMs = 60000;   // generous: the sanitizer build is slow
constexpr char kXon = 0x11;
constexpr char kXoff = 0x13;

QByteArray withoutLineEnds(int size)
{
    QByteArray bytes;
    bytes.reserve(size);
    for (int i = 0; bytes.size() < size; ++i)
        bytes += "EVR " + QByteArray::number(i).rightJustified(7, '0') + " DOOR1 OPEN; ";
    bytes.truncate(size);
    return bytes;
}

QString shownOf(const QString& exact)
{
    QString shown = exact;
    shown.replace(QStringLiteral("\r\n"), QString(QChar::ParagraphSeparator));
    shown.replace(u'\r', QChar::ParagraphSeparator);
    shown.replace(u'\n', QChar::ParagraphSeparator);
    return shown;
}

}   // namespace

void TstLineBurst::megabyteWithoutLineEnd()
{
    Form1Rig rig(RigOptions().onPty().hidden());
    QVERIFY(rig.pty->isValid());
    const QString capture = rig.dir.filePath(QStringLiteral("burst.log"));
    rig.openCapture(capture);
    rig.connectDirect();
    const QByteArray burst = withoutLineEnds(kMegabyte);

    QVERIFY(rig.pty->send(burst));

    QTRY_COMPARE_WITH_TIMEOUT(contentOf(capture).size(), burst.size(), kArrivalMs);
    QVERIFY(contentOf(capture) == burst);
    const ReceivePane& pane = *rig.window->ui().Text1;
    QVERIFY(pane.length() > 0);
    QVERIFY(pane.length() <= ReceivePane::kMaxLength);
    QVERIFY(pane.text() == EightBit::decode(burst.right(pane.length())));
    QCOMPARE(pane.document()->toRawText(), shownOf(pane.text()));
    QCOMPARE(rig.statusText(), QStringLiteral("Status: ") + Receiver::kReceiving);
    QVERIFY(rig.fakes.prompter.boxes.isEmpty());
    QVERIFY(rig.port().isOpen());
    const double idleCpu = cpuSecondsWhileIdle(kIdleMs);
    QVERIFY2(idleCpu < kIdleCpuBound, qPrintable(spinning(idleCpu)));
}

// XON and XOFF belong to the line's handshaking and never reach the program;
// the burst ends with XON so that the line is free again.
void TstLineBurst::everyByteValueAndNuls()
{
    Form1Rig rig(RigOptions().onPty().hidden());
    QVERIFY(rig.pty->isValid());
    const QString capture = rig.dir.filePath(QStringLiteral("bytes.log"));
    rig.openCapture(capture);
    rig.connectDirect();
    QByteArray burst;
    for (int round = 0; round < 4; ++round) {
        for (int b = 0; b < 256; ++b)
            burst += char(b);
        burst += QByteArray(1000, '\0');
    }
    burst += kXon;
    QByteArray data = burst;
    data.replace(kXon, QByteArray()).replace(kXoff, QByteArray());
    const QString expected = ReceiveText::normalise(EightBit::decode(data)).text;

    QVERIFY(rig.pty->send(burst));

    QTRY_COMPARE_WITH_TIMEOUT(rig.paneText().size(), expected.size(), kArrivalMs);
    QVERIFY(rig.paneText() == expected);
    QVERIFY(contentOf(capture) == EightBit::encode(expected));
    QCOMPARE(rig.window->ui().Text1->document()->toRawText(), shownOf(expected));
    QVERIFY(rig.fakes.prompter.boxes.isEmpty());

    rig.window->connection().close1_Click();   // the line still carries the program's END
    QCOMPARE(rig.pty->receive(5), QByteArray("END\r\n"));
}

QTEST_MAIN(TstLineBurst)
#include "tst_lineburst.moc"
