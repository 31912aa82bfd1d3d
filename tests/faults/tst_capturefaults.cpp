// SPDX-License-Identifier: GPL-3.0-or-later
#include "faultrig.h"

#include "form/receivepane.h"
#include "link/capturelog.h"
#include "platform/eightbit.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QTest>

using Answer = MessageBox::Answer;

// A capture file whose disk is full, whose disk fills while it is written, or
// whose folder is not one: the operator hears why, the pane keeps showing
// everything, and what reached the file is there once.
class TstCaptureFaults : public QObject {
    Q_OBJECT
private slots:
    void deviceIsFull();
    void diskFillsWhileCapturing();
    void bytesArriveWhileTheBoxIsUp_data();
    void bytesArriveWhileTheBoxIsUp();
    void folderIsNoFolder_data();
    void folderIsNoFolder();
    void folderReplacedByAFileWhileCapturing();
};

namespace {

// The main window on fakes, loaded.
struct CaptureRig : Form1Rig {
    CaptureRig() : Form1Rig(RigOptions().hidden()) {}

    bool capturing() { return ctx().capture.isOpen(); }
    bool menuSaysCapturing() { return !ui().mnuOpenLog->isEnabled() && ui().mnuCloseLog->isEnabled(); }
};

}   // namespace

// /dev/full exists: the replace question must be answered No (append), the
// only answer that leaves the device alone.
void TstCaptureFaults::deviceIsFull()
{
    CaptureRig rig;
    rig.fakes.prompter.answer(Answer::No);
    rig.openCapture(QStringLiteral("/dev/full"));
    QVERIFY(rig.capturing());
    rig.fakes.prompter.answer(Answer::Retry);
    rig.fakes.prompter.answer(Answer::Cancel);

    rig.fakes.port.receive("EVR 0001 DOOR1\r\n");

    QCOMPARE(rig.fakes.prompter.boxes.size(), 3);   // replace?, full, full again
    for (const MessageBox& box : rig.fakes.prompter.boxes.mid(1)) {
        QCOMPARE(box.prompt, QStringLiteral("No space left on device"));
        QCOMPARE(box.buttons, MessageBox::Buttons::RetryCancel);
        QCOMPARE(box.icon, MessageBox::Icon::Critical);
    }
    QVERIFY(!rig.capturing());
    QVERIFY(!rig.menuSaysCapturing());
    QCOMPARE(rig.paneText(), QStringLiteral("EVR 0001 DOOR1\r\n"));

    rig.fakes.port.receive("EVR 0002 DOOR2\r\n");   // shown, no longer captured
    QTRY_COMPARE(rig.paneText(), QStringLiteral("EVR 0001 DOOR1\r\nEVR 0002 DOOR2\r\n"));
    QCOMPARE(rig.fakes.prompter.boxes.size(), 3);
}

// The chunk that meets the full disk is half written; once there is room
// again, Retry writes the rest, so the file holds every byte once.
void TstCaptureFaults::diskFillsWhileCapturing()
{
    CaptureRig rig;
    const QString path = rig.dir.filePath(QStringLiteral("events.EVR"));
    rig.openCapture(path);
    const QByteArray first("EVR 0001 01/20/03 09:05 DOOR1 OPEN\r\n");
    const QByteArray second("EVR 0002 01/20/03 09:07 DOOR2 OPEN\r\nEVR 0003 01/20/03 09:09 DOOR1\r\n");
    FileSizeLimit limit(first.size() + 20);
    QVERIFY(limit.isSet());
    rig.fakes.prompter.onBox = [&](const MessageBox&) { limit.lift(); };
    rig.fakes.prompter.answer(Answer::Retry);

    rig.fakes.port.receive(first);
    rig.fakes.port.receive(second);

    QTRY_COMPARE(contentOf(path), first + second);
    QCOMPARE(rig.fakes.prompter.boxes.size(), 1);
    QCOMPARE(rig.fakes.prompter.boxes.first().prompt, QStringLiteral("File too large"));
    QVERIFY(rig.capturing());
    QCOMPARE(rig.paneText(), EightBit::decode(first + second));
}

void TstCaptureFaults::bytesArriveWhileTheBoxIsUp_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("lineGoes");   // after the bytes, while the box is still up
    QTest::addColumn<bool>("tailCaptured");
    QTest::addRow("retry once there is room") << int(Answer::Retry) << false << true;
    QTest::addRow("cancel") << int(Answer::Cancel) << false << false;
    QTest::addRow("line lost meanwhile") << int(Answer::Retry) << true << true;
}

// On the real line Qt raises no second notification for bytes that come while
// the full-disk box is up: they are read when it closes, with no further byte,
// and also when the line went away meanwhile.
void TstCaptureFaults::bytesArriveWhileTheBoxIsUp()
{
    QFETCH(int, answer);
    QFETCH(bool, lineGoes);
    QFETCH(bool, tailCaptured);
    Form1Rig rig(RigOptions().onPty().hidden());
    QVERIFY(rig.pty->isValid());
    const QString path = rig.dir.filePath(QStringLiteral("upload.EVR"));
    rig.openCapture(path);
    rig.connectDirect();
    const QByteArray head("EVR 0001 01/20/03 09:05 DOOR1 OPEN\r\n");
    const QByteArray tail("EVR 0002 01/20/03 09:07 DOOR2 OPEN\r\nEND\r\n");
    constexpr int kRoom = 10;
    FileSizeLimit limit(kRoom);
    QVERIFY(limit.isSet());
    bool tailWaited = false;
    bool lineLost = false;
    rig.fakes.prompter.onBox = [&](const MessageBox&) {
        if (rig.fakes.prompter.boxes.size() > 1)
            return;   // the box of the lost line
        rig.pty->send(tail);
        tailWaited = QTest::qWaitFor([&] { return rig.port().bytesWaiting() == tail.size(); });
        if (lineGoes) {
            rig.pty->closeMaster();
            lineLost = QTest::qWaitFor([&] { return !rig.port().isOpen(); });
        }
        limit.lift();
        rig.fakes.prompter.answer(Answer(answer));
    };

    QVERIFY(rig.pty->send(head));

    QTRY_COMPARE(rig.paneText(), EightBit::decode(head + tail));
    QVERIFY(tailWaited);
    QCOMPARE(rig.fakes.prompter.boxes.size(), lineGoes ? 2 : 1);
    QCOMPARE(lineLost, lineGoes);
    QCOMPARE(rig.port().isOpen(), !lineGoes);
    QCOMPARE(contentOf(path), tailCaptured ? head + tail : head.left(kRoom));
}

void TstCaptureFaults::folderIsNoFolder_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("description");
    QTest::addColumn<int>("boxes");   // a replace question comes first for a path that exists
    QTest::addRow("a file where the folder should be")
        << QStringLiteral("notes.txt/capture.log") << QStringLiteral("Not a directory") << 1;
    QTest::addRow("a folder where the file should be")
        << QStringLiteral("folder") << QStringLiteral("Is a directory") << 2;
}

// The capture already open goes on: nothing it would have taken is lost.
void TstCaptureFaults::folderIsNoFolder()
{
    QFETCH(QString, name);
    QFETCH(QString, description);
    QFETCH(int, boxes);
    CaptureRig rig;
    writeFile(rig.dir, QStringLiteral("notes.txt"), "NOTES\r\n");
    QVERIFY(QDir(rig.dir.path()).mkdir(QStringLiteral("folder")));
    const QString path = rig.dir.filePath(name);
    rig.fakes.prompter.answer(Answer::No);   // append, if asked

    rig.openCapture(path);

    QCOMPARE(rig.fakes.prompter.boxes.size(), boxes);
    const MessageBox& box = rig.fakes.prompter.boxes.last();
    QVERIFY2(box.prompt.contains(description), qPrintable(box.prompt));
    QCOMPARE(box.detail, QDir::toNativeSeparators(path));
    QCOMPARE(box.icon, MessageBox::Icon::Exclamation);
    QVERIFY(!rig.capturing());
    QVERIFY(!rig.menuSaysCapturing());
    QCOMPARE(contentOf(rig.dir.filePath(QStringLiteral("notes.txt"))), QByteArray("NOTES\r\n"));
    QVERIFY(QFileInfo(rig.dir.filePath(QStringLiteral("folder"))).isDir());
}

// Permission bits do not stop root, so the folder is taken away and a file
// put in its place. The open capture writes on into the file it has, which
// went along with its folder; a new capture at the old place is refused.
void TstCaptureFaults::folderReplacedByAFileWhileCapturing()
{
    CaptureRig rig;
    QDir dir(rig.dir.path());
    QVERIFY(dir.mkdir(QStringLiteral("logs")));
    const QString path = rig.dir.filePath(QStringLiteral("logs/capture.log"));
    rig.openCapture(path);
    rig.fakes.port.receive("EVR 0001 DOOR1\r\n");
    QVERIFY(dir.rename(QStringLiteral("logs"), QStringLiteral("moved")));
    writeFile(rig.dir, QStringLiteral("logs"), "not a folder");

    rig.fakes.port.receive("EVR 0002 DOOR2\r\n");

    QTRY_COMPARE(contentOf(rig.dir.filePath(QStringLiteral("moved/capture.log"))),
                 QByteArray("EVR 0001 DOOR1\r\nEVR 0002 DOOR2\r\n"));
    QVERIFY(rig.fakes.prompter.boxes.isEmpty());

    rig.window->captureLog().mnuCloseLog_Click();
    rig.openCapture(path);
    QCOMPARE(rig.fakes.prompter.boxes.size(), 1);
    QVERIFY(rig.fakes.prompter.boxes.first().prompt.contains(QStringLiteral("Not a directory")));
    QVERIFY(!rig.capturing());
}

QTEST_MAIN(TstCaptureFaults)
#include "tst_capturefaults.moc"
