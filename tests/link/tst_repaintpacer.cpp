#include "form1rig.h"
#include "link/repaintpacer.h"

#include <QPlainTextEdit>
#include <QTest>

class TstRepaintPacer : public QObject {
    Q_OBJECT
private slots:
    void oneWidgetOnePacer();
    void firstChangeIsPaintedAtOnce();
    void changesWithinAFrameArePaintedWhenItEnds();
    void aQuietFrameEndsThePacing();
    void aStreamOfChunksIsInThePaneAtOnce();
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

// Pacing holds back only the painting: the text, the caret and the view
// follow every chunk.
void TstRepaintPacer::aStreamOfChunksIsInThePaneAtOnce()
{
    Form1Rig rig;
    ReceivePane& pane = *rig.ui().Text1;
    QString expected;
    for (int i = 0; i < 100; ++i) {
        const QByteArray line = "line " + QByteArray::number(i) + "\r\n";
        rig.fakes.port.receive(line);
        expected += QString::fromLatin1(line);
        QCOMPARE(pane.text(), expected);
        QCOMPARE(pane.selectionStart(), pane.length());
        QVERIFY(pane.viewport()->rect().contains(pane.cursorRect()));
    }
    QVERIFY(!pane.updatesEnabled());
    QTRY_VERIFY(pane.updatesEnabled());
}

QTEST_MAIN(TstRepaintPacer)
#include "tst_repaintpacer.moc"
