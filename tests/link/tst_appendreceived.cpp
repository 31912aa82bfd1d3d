// SPDX-License-Identifier: GPL-3.0-or-later
#include "form/receiveappender.h"
#include "form1rig.h"
#include "link/capturelog.h"
#include "platform/eightbit.h"
#include "testfiles.h"

#include <QAction>
#include <QFile>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

#include <stdexcept>

using Answer = MessageBox::Answer;

namespace {

// A pane that refuses the next text it is given, as a pane out of memory would.
class RefusingPane : public ReceivePane {
public:
    void replaceSelection(const QString& text) override
    {
        if (refuseNext) {
            refuseNext = false;
            throw std::runtime_error("the pane refused the text");
        }
        ReceivePane::replaceSelection(text);
    }
    bool refuseNext = false;
};

// Text whose characters tell their position apart.
QString numbered(int length)
{
    QString text;
    for (int i = 0; text.size() < length; ++i)
        text += QString::number(i) + u' ';
    text.truncate(length);
    return text;
}

}   // namespace

class TstAppendReceived : public QObject {
    Q_OBJECT
private slots:
    void appends_data();
    void appends();
    void cutBeforeAppend_data();
    void cutBeforeAppend();
    void overfullChunkPushesOldTextOut();
    void newestTextInView();
    void captureHoldsExactlyWhatWasShown();
    void failedCaptureWriteRetryThenCancel();
    void paneFailureDropsWaitingInputAndGoesOn();
};

void TstAppendReceived::appends_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<QStringList>("chunks");
    QTest::addColumn<QString>("after");

    QTest::addRow("A, B, backspace, C") << QString() << QStringList{"AB\bC"} << QStringLiteral("AC");
    QTest::addRow("head backspace replaces the last shown character")
        << QStringLiteral("abX") << QStringList{"\bYZ"} << QStringLiteral("abYZ");
    QTest::addRow("two head backspaces take back one character")
        << QStringLiteral("abX") << QStringList{"\b\bY"} << QStringLiteral("abY");
    QTest::addRow("head backspace on an empty pane removes nothing")
        << QString() << QStringList{"\bQ"} << QStringLiteral("Q");
    QTest::addRow("head backspace after a line end leaves a lone CR")
        << QStringLiteral("a\r\n") << QStringList{"\bb"} << QStringLiteral("a\rb");
    QTest::addRow("x CR LF y unchanged") << QString() << QStringList{"x\r\ny"} << QStringLiteral("x\r\ny");
    QTest::addRow("x LF y") << QString() << QStringList{"x\ny"} << QStringLiteral("xy");
    QTest::addRow("x CR y") << QString() << QStringList{"x\ry"} << QStringLiteral("x\r\ny");
    QTest::addRow("CR ending one chunk, LF starting the next")
        << QStringLiteral("p") << QStringList{"x\r", "\ny"} << QStringLiteral("px\r\ny");
    QTest::addRow("8-bit characters")
        << QString() << QStringList{QStringLiteral("\xe9\xff\x01\xa0")} << QStringLiteral("\xe9\xff\x01\xa0");
    QTest::addRow("empty chunk") << QStringLiteral("ab") << QStringList{""} << QStringLiteral("ab");
    QTest::addRow("one byte at a time, a line end among them")
        << QStringLiteral("ab") << QStringList{"c", "d", "\r", "\n", "e", "f"}
        << QStringLiteral("abcd\r\nef");
    QTest::addRow("one byte, then a line end and the next line in one chunk")
        << QString() << QStringList{"P", "A\r\nR", "M"} << QStringLiteral("PA\r\nRM");
}

void TstAppendReceived::appends()
{
    QFETCH(QString, before);
    QFETCH(QStringList, chunks);
    QFETCH(QString, after);
    Form1Rig rig;
    ReceivePane& pane = *rig.ui().Text1;
    pane.replaceSelection(before);
    pane.setCaret(0);   // the caret is moved to the end whatever it was
    ReceiveAppender appender(rig.ctx(), [&rig] { rig.window->captureLog().mnuCloseLog_Click(); });

    QString written;
    for (const QString& chunk : chunks)
        written += appender.append_received(pane, chunk);

    QCOMPARE(pane.text(), after);
    QCOMPARE(before.left(pane.length() - written.size()) + written, after);
    QCOMPARE(pane.selectionStart(), pane.length());
    QCOMPARE(pane.selectionLength(), 0);
}

void TstAppendReceived::cutBeforeAppend_data()
{
    QTest::addColumn<int>("before");
    QTest::addColumn<bool>("cut");
    QTest::addRow("exactly 20000: nothing cut") << 20000 << false;
    QTest::addRow("20001: the first 4096 go") << 20001 << true;
    QTest::addRow("far over: still one cut") << 30000 << true;
}

void TstAppendReceived::cutBeforeAppend()
{
    QFETCH(int, before);
    QFETCH(bool, cut);
    Form1Rig rig;
    ReceivePane& pane = *rig.ui().Text1;
    const QString old = numbered(before);
    pane.replaceSelection(old);
    ReceiveAppender appender(rig.ctx(), [&rig] { rig.window->captureLog().mnuCloseLog_Click(); });

    appender.append_received(pane, QStringLiteral("\bEND"));

    // A head backspace takes back the last character of what is left.
    const QString kept = cut ? old.mid(ReceiveAppender::kCut) : old;
    QCOMPARE(pane.text(), kept.chopped(1) + QStringLiteral("END"));
    QCOMPARE(pane.selectionStart(), pane.length());
}

void TstAppendReceived::overfullChunkPushesOldTextOut()
{
    Form1Rig rig;
    ReceivePane& pane = *rig.ui().Text1;
    pane.replaceSelection(QString(20000, u'a'));
    ReceiveAppender appender(rig.ctx(), [&rig] { rig.window->captureLog().mnuCloseLog_Click(); });

    const QString chunk(50000, u'b');
    QCOMPARE(appender.append_received(pane, chunk), chunk);

    QCOMPARE(pane.length(), ReceivePane::kMaxLength);
    QCOMPARE(pane.text(), QString(ReceivePane::kMaxLength - 50000, u'a') + chunk);
}

void TstAppendReceived::newestTextInView()
{
    Form1Rig rig;
    ReceivePane& pane = *rig.ui().Text1;
    for (int i = 0; i < 200; ++i)
        rig.fakes.port.receive(QByteArray("line ") + QByteArray::number(i) + "\r\n");
    QVERIFY(pane.verticalScrollBar()->value() > 0);
    QVERIFY(pane.viewport()->rect().contains(pane.cursorRect()));

    pane.verticalScrollBar()->setValue(0);   // the operator scrolls back
    rig.fakes.port.receive("newest");
    QTRY_VERIFY(pane.text().endsWith(QLatin1String("newest")));
    QVERIFY(pane.viewport()->rect().contains(pane.cursorRect()));
}

void TstAppendReceived::captureHoldsExactlyWhatWasShown()
{
    Form1Rig rig;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("all.log"));
    QVERIFY(rig.ctx().capture.open(path));
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(char(b));

    for (int from = 0; from < 256; from += 100)
        rig.fakes.port.receive(all.mid(from, 100));
    rig.fakes.port.receive(all);

    // Each pass: the backspace (8) takes back 7, LF goes, CR gets its LF,
    // every other byte value stays as it came.
    QByteArray once;
    for (int b = 0; b < 256; ++b) {
        if (b == 7 || b == 8 || b == 10)
            continue;
        once.append(char(b));
        if (b == 13)
            once.append('\n');
    }
    QCOMPARE(EightBit::encode(rig.ui().Text1->text()), once + once);
    QCOMPARE(contentOf(path), once + once);
}

void TstAppendReceived::failedCaptureWriteRetryThenCancel()
{
    if (!QFile::exists(QStringLiteral("/dev/full")))
        QSKIP("no device that is always full");
    Form1Rig rig;
    QVERIFY(rig.ctx().capture.open(QStringLiteral("/dev/full")));
    rig.fakes.prompter.answer(Answer::Retry);
    rig.fakes.prompter.answer(Answer::Cancel);

    rig.fakes.port.receive("abc\r\n");

    QCOMPARE(rig.fakes.prompter.boxes.size(), 2);
    for (const MessageBox& box : rig.fakes.prompter.boxes) {
        QVERIFY(!box.prompt.isEmpty());
        QCOMPARE(box.title, rig.ctx().settings.title());
        QCOMPARE(box.buttons, MessageBox::Buttons::RetryCancel);
        QCOMPARE(box.icon, MessageBox::Icon::Critical);
    }
    QVERIFY(!rig.ctx().capture.isOpen());
    QVERIFY(rig.ui().mnuOpenLog->isEnabled());
    QVERIFY(!rig.ui().mnuCloseLog->isEnabled());
    QCOMPARE(rig.ui().Text1->text(), QStringLiteral("abc\r\n"));

    rig.fakes.port.receive("d");
    QCOMPARE(rig.fakes.prompter.boxes.size(), 2);
    QCOMPARE(rig.ui().Text1->text(), QStringLiteral("abc\r\nd"));
}

void TstAppendReceived::paneFailureDropsWaitingInputAndGoesOn()
{
    Form1Rig rig;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("c.log"));
    QVERIFY(rig.ctx().capture.open(path));
    RefusingPane pane;
    pane.replaceSelection(QStringLiteral("old"));
    ReceiveAppender appender(rig.ctx(), [&rig] { rig.window->captureLog().mnuCloseLog_Click(); });
    rig.fakes.port.input = "waiting";
    pane.refuseNext = true;

    QCOMPARE(appender.append_received(pane, QStringLiteral("new")), QStringLiteral("new"));

    QCOMPARE(rig.fakes.port.discards, 1);
    QVERIFY(rig.fakes.port.input.isEmpty());
    QCOMPARE(rig.fakes.prompter.boxes.size(), 1);
    const MessageBox& box = rig.fakes.prompter.boxes.first();
    QCOMPARE(box.prompt, QStringLiteral("the pane refused the text"));
    QCOMPARE(box.title, rig.ctx().settings.title());
    QCOMPARE(box.buttons, MessageBox::Buttons::Ok);
    QCOMPARE(box.icon, MessageBox::Icon::None);
    // The steps after the failed one still ran: capture written, caret at the end.
    QCOMPARE(contentOf(path), QByteArray("new"));
    QCOMPARE(pane.text(), QStringLiteral("old"));
    QCOMPARE(pane.selectionStart(), 3);

    appender.append_received(pane, QStringLiteral("!"));
    QCOMPARE(pane.text(), QStringLiteral("old!"));
    QCOMPARE(contentOf(path), QByteArray("new!"));
}

QTEST_MAIN(TstAppendReceived)
#include "tst_appendreceived.moc"
