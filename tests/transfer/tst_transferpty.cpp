// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/mainwindow.h"
#include "form1rig.h"
#include "link/connection.h"
#include "transfer/filesender.h"
#include "transfer/uploads.h"

#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>

namespace {

// Long enough for a written line to cross the pseudo-terminal within a pause.
constexpr int kTickMs = 20;
constexpr int kTicksPerLine = 3;

// The main window on the real serial port, port 1 mapped to a pseudo-terminal
// whose far end the test plays; connected directly.
struct PtyRig : Form1Rig {
    PtyRig() : Form1Rig(RigOptions().onPty().tick(kTickMs).hidden()) { connectDirect(); }
};

}   // namespace

class TstTransferPty : public QObject {
    Q_OBJECT
private slots:
    void tenantFileArrivesLineByLine();
    void uploadAnswerLandsInTheCaptureFile();
};

void TstTransferPty::tenantFileArrivesLineByLine()
{
    PtyRig rig;
    QVERIFY(rig.pty->isValid());
    QVERIFY(rig.port().isOpen());
    const QByteArrayList lines{"0101 5551234 1234 1 SMITH\r\n", "0102 5559876 4321 2 JONES\r\n",
                               "0103 5550000 0000 1 M\xDCLLER\r\n"};
    const QString path =
        writeFile(rig.dir, QStringLiteral("tenants.TNT"), lines[0] + "\r\n" + lines[1] + lines[2]);

    // What had arrived at the far end at each tick of the pauses.
    QByteArray arrived;
    QList<int> arrivedAtTick{0};
    QObject::connect(&rig.window->waiter(), &Waiter::ticked, [&] {
        arrived += rig.pty->drain();
        arrivedAtTick.append(int(arrived.size()));
    });
    rig.fakes.prompter.choose(path);
    rig.window->fileSender().sendfileg_Click();
    const QByteArray all = lines.join();
    arrived += rig.pty->receive(int(all.size() - arrived.size()));

    QCOMPARE(arrived, all);
    QCOMPARE(arrivedAtTick.size(), 1 + kTicksPerLine * int(lines.size()));
    // A line goes out once its pause is over, and is through before the next one goes.
    for (int tick = 1; tick < arrivedAtTick.size(); ++tick) {
        const int written = (tick - 1) / kTicksPerLine;
        const int through = std::max(written - 1, 0);
        const QByteArray at = QByteArray::number(tick);
        QVERIFY2(arrivedAtTick[tick] <= lines.mid(0, written).join().size(), at.constData());
        QVERIFY2(arrivedAtTick[tick] >= lines.mid(0, through).join().size(), at.constData());
    }
    QVERIFY(rig.fakes.prompter.boxes.isEmpty());
}

void TstTransferPty::uploadAnswerLandsInTheCaptureFile()
{
    PtyRig rig;
    QVERIFY(rig.pty->isValid());
    const QString capture = rig.dir.filePath(QStringLiteral("tenants.TNT"));
    rig.fakes.prompter.choose(capture);

    rig.window->uploads().up_tnt_Click();

    QCOMPARE(rig.pty->receive(8), QByteArray("PRITNT\r\n"));
    const QByteArray answer("0101 5551234 1234 1 SMITH\r\n0102 5559876 4321 2 JONES\r\n");
    QVERIFY(rig.pty->send(answer));
    QTRY_COMPARE(contentOf(capture), answer);
    QVERIFY(rig.fakes.prompter.boxes.isEmpty());
}

QTEST_MAIN(TstTransferPty)
#include "tst_transferpty.moc"
