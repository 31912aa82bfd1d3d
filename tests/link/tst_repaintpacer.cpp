// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/appendpacer.h"
#include "form/repaintpacer.h"
#include "form1rig.h"

#include <QPlainTextEdit>
#include <QTest>

class TstRepaintPacer : public QObject {
    Q_OBJECT
private slots:
    void oneWidgetOnePacer();
    void firstChangeIsPaintedAtOnce();
    void changesWithinAFrameArePaintedWhenItEnds();
    void aQuietFrameEndsThePacing();
    void aStreamOfChunksIsInThePaneWithinAFrame();
};

void TstRepaintPacer::oneWidgetOnePacer()
{
    QWidget first;
    QWidget second;
    QCOMPARE(&RepaintPacer::of(&first), &RepaintPacer::of(&first));
    QVERIFY(&RepaintPacer::of(&first) != &RepaintPacer::of(&second));
}

void TstRepaintPacer::firstChangeIsPaintedAtOnce()
{
    QWidget widget;
    RepaintPacer::of(&widget).changing();
    QVERIFY(widget.updatesEnabled());
}

void TstRepaintPacer::changesWithinAFrameArePaintedWhenItEnds()
{
    QWidget widget;
    QWidget child(&widget);
    RepaintPacer& pacer = RepaintPacer::of(&widget);
    pacer.changing();
    pacer.changing();
    QVERIFY(!widget.updatesEnabled());
    QVERIFY(!child.updatesEnabled());
    QTRY_VERIFY(widget.updatesEnabled());
    QVERIFY(child.updatesEnabled());
}

void TstRepaintPacer::aQuietFrameEndsThePacing()
{
    QWidget widget;
    RepaintPacer& pacer = RepaintPacer::of(&widget);
    pacer.changing();
    pacer.changing();
    QTRY_VERIFY(widget.updatesEnabled());
    QTest::qWait(10 * RepaintPacer::kFrameMs);   // the frame after it passes without a change
    pacer.changing();
    QVERIFY(widget.updatesEnabled());
}

// Small chunks that follow each other within a frame go into the pane
// together when it ends, in order, the caret and the view after them, and
// the port's reading pauses meanwhile; a large chunk goes in at once, its
// painting paced, and the port reads on.
void TstRepaintPacer::aStreamOfChunksIsInThePaneWithinAFrame()
{
    Form1Rig rig;
    ReceivePane& pane = *rig.ui().Text1;
    QString expected;
    for (int i = 0; i < 100; ++i) {
        const QByteArray line = "line " + QByteArray::number(i) + "\r\n";
        rig.fakes.port.receive(line);
        expected += QString::fromLatin1(line);
        QVERIFY(expected.startsWith(pane.text()));
        if (i == 0)
            QVERIFY(rig.fakes.port.readingPaused);   // the port holds the rest of the frame
    }
    QTRY_COMPARE(pane.text(), expected);
    QTRY_VERIFY(!rig.fakes.port.readingPaused);
    QCOMPARE(pane.selectionStart(), pane.length());
    QVERIFY(pane.viewport()->rect().contains(pane.cursorRect()));

    const QByteArray burst = QByteArray(AppendPacer::kHoldLimit, 'b') + "\r\n";
    for (int i = 0; i < 2; ++i) {
        rig.fakes.port.receive(burst);
        expected += QString::fromLatin1(burst);
        QCOMPARE(pane.text(), expected);
        QVERIFY(!rig.fakes.port.readingPaused);   // a burst is read on
    }
    QVERIFY(!pane.updatesEnabled());
    QTRY_VERIFY(pane.updatesEnabled());

    // After a quiet frame, a byte goes in at once; one that only extends the
    // last line is painted at once, without holding the pane back.
    QTest::qWait(10 * AppendPacer::kFrameMs);
    rig.fakes.port.receive("P");
    QCOMPARE(pane.text(), expected + QLatin1Char('P'));
    QVERIFY(pane.updatesEnabled());
    QVERIFY(rig.fakes.port.readingPaused);

    // What waited in the system meanwhile is read when the frame ends and
    // starts the next one, the port still paused; only a frame that nothing
    // followed lets it read again.
    const int resumes = rig.fakes.port.resumes;
    rig.fakes.port.waitingInSystem = "QR";
    QTRY_COMPARE(pane.text(), expected + QStringLiteral("PQR"));
    QTRY_VERIFY(!rig.fakes.port.readingPaused);
    QCOMPARE(rig.fakes.port.resumes, resumes + 1);
    rig.fakes.port.receive("S");

    // Opening a capture ends the frame: the port reads at once.
    rig.openCapture(rig.dir.filePath(QStringLiteral("capture.txt")));
    QVERIFY(!rig.fakes.port.readingPaused);
    QCOMPARE(pane.text(), expected + QStringLiteral("PQRS"));
}

QTEST_MAIN(TstRepaintPacer)
#include "tst_repaintpacer.moc"
