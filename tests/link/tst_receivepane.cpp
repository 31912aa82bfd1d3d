// SPDX-License-Identifier: GPL-3.0-or-later
#include "form/receivepane.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QPaintEvent>
#include <QScopeGuard>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <QTextCursor>

namespace {

// What the document must show for an exact text: each CR LF, lone CR and
// lone LF one line break.
QString shownFor(QString exact)
{
    exact.replace(QStringLiteral("\r\n"), QString(QChar::ParagraphSeparator));
    exact.replace(u'\r', QChar::ParagraphSeparator);
    exact.replace(u'\n', QChar::ParagraphSeparator);
    return exact;
}

#define VERIFY_SHOWN(pane) QCOMPARE((pane).document()->toRawText(), shownFor((pane).text()))

QString allBytes()
{
    QString all;
    for (int c = 0; c < 256; ++c)
        all.append(QChar(c));
    return all;
}

// The widget as the screen shows it now: what its window's backing store holds.
QImage onScreen(QWidget* widget)
{
    const QRect inWindow(widget->mapTo(widget->window(), QPoint()), widget->size());
    const QImage window = widget->screen()->grabWindow(widget->window()->winId()).toImage();
    return window.copy(inWindow).convertToFormat(QImage::Format_RGB32);
}

void selectOnDocument(ReceivePane& pane, int anchor, int position)
{
    QTextCursor c = pane.textCursor();
    c.setPosition(anchor);
    c.setPosition(position, QTextCursor::KeepAnchor);
    pane.setTextCursor(c);
}

// Counts a widget's paint events and the area they covered, leaving out
// those of grab().
class Paints : public QObject {
public:
    explicit Paints(QWidget* widget) { widget->installEventFilter(this); }
    QImage grab(QWidget* widget)
    {
        m_grabbing = true;
        const QImage image = widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
        m_grabbing = false;
        return image;
    }
    int count = 0;
    QRegion area;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() != QEvent::Paint || m_grabbing)
            return false;
        ++count;
        area += static_cast<QPaintEvent*>(event)->region();
        return false;
    }

private:
    bool m_grabbing = false;
};

}   // namespace

class TstReceivePane : public QObject {
    Q_OBJECT
private slots:
    void keepsEveryCharacterAndLineEnd();
    void exactSelections_data();
    void exactSelections();
    void documentSelectionCoversWholeLineEnds();
    void replacingTheLfOfALineEndLeavesALoneCr();
    void removeHeadBetweenCrAndLf();
    void editsOnTheDocumentFollow();
    void formatChangesLeaveTheTextAlone();
    void copyGivesTheExactText();
    void operatorStopsAtTheLimit();
    void pasteIsCutToTheLimit();
    void scrollBarsPaintOnlyWhatChanged();
    void resizingKeepsTheNewestLineInView_data();
    void resizingKeepsTheNewestLineInView();
    void appendsRepaintOnlyTheLinesTheyChange_data();
    void appendsRepaintOnlyTheLinesTheyChange();
};

void TstReceivePane::keepsEveryCharacterAndLineEnd()
{
    ReceivePane pane;
    const QString text = allBytes() + QStringLiteral("a\r\nb\rc\nd\x00a0 e\r\n");
    pane.replaceSelection(text);
    QCOMPARE(pane.text(), text);
    QCOMPARE(pane.length(), int(text.size()));
    QCOMPARE(pane.selectionStart(), pane.length());
    QCOMPARE(pane.selectionLength(), 0);
    VERIFY_SHOWN(pane);
}

void TstReceivePane::exactSelections_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("length");
    QTest::addColumn<QString>("selected");
    QTest::addColumn<int>("docStart");
    QTest::addColumn<int>("docEnd");

    const QString text = QStringLiteral("ab\r\ncd\r\nef");   // shown: ab|cd|ef
    QTest::addRow("across a line end") << text << 1 << 4 << QStringLiteral("b\r\nc") << 1 << 4;
    QTest::addRow("the last character") << text << 9 << 1 << QStringLiteral("f") << 7 << 8;
    QTest::addRow("the LF alone") << text << 3 << 1 << QStringLiteral("\n") << 2 << 3;
    QTest::addRow("the CR alone") << text << 2 << 1 << QStringLiteral("\r") << 2 << 3;
    QTest::addRow("past the end is the end") << text << 50 << 3 << QString() << 8 << 8;
    QTest::addRow("too long is cut") << text << 8 << 9 << QStringLiteral("ef") << 6 << 8;
    QTest::addRow("from the start, long text")
        << QString(QStringLiteral("x\r\n")).repeated(50) << 0 << 6 << QStringLiteral("x\r\nx\r\n") << 0 << 4;
}

void TstReceivePane::exactSelections()
{
    QFETCH(QString, text);
    QFETCH(int, start);
    QFETCH(int, length);
    QFETCH(QString, selected);
    QFETCH(int, docStart);
    QFETCH(int, docEnd);
    ReceivePane pane;
    pane.replaceSelection(text);
    pane.setSelection(start, length);
    QCOMPARE(pane.selectedText(), selected);
    QCOMPARE(pane.selectionStart(), qMin(start, int(text.size())));
    QCOMPARE(pane.selectionLength(), int(selected.size()));
    QCOMPARE(pane.textCursor().selectionStart(), docStart);
    QCOMPARE(pane.textCursor().selectionEnd(), docEnd);
}

void TstReceivePane::documentSelectionCoversWholeLineEnds()
{
    ReceivePane pane;
    pane.replaceSelection(QStringLiteral("ab\r\ncd\rxy"));   // shown: ab|cd|xy
    selectOnDocument(pane, 6, 1);   // made backwards, ending after the lone CR
    QCOMPARE(pane.selectionStart(), 1);
    QCOMPARE(pane.selectedText(), QStringLiteral("b\r\ncd\r"));
    selectOnDocument(pane, 2, 3);
    QCOMPARE(pane.selectedText(), QStringLiteral("\r\n"));
    pane.replaceSelection(QStringLiteral("-"));
    QCOMPARE(pane.text(), QStringLiteral("ab-cd\rxy"));
    VERIFY_SHOWN(pane);
}

void TstReceivePane::replacingTheLfOfALineEndLeavesALoneCr()
{
    ReceivePane pane;
    pane.replaceSelection(QStringLiteral("x\r\n"));
    pane.setSelection(2, 1);
    pane.replaceSelection(QStringLiteral("Y"));
    QCOMPARE(pane.text(), QStringLiteral("x\rY"));
    VERIFY_SHOWN(pane);
    // Taking the lone CR's neighbour and then appending a LF-led text must
    // not run the two into one line end.
    pane.setSelection(2, 1);
    pane.replaceSelection(QStringLiteral("\nZ"));
    QCOMPARE(pane.text(), QStringLiteral("x\r\nZ"));
    VERIFY_SHOWN(pane);
    QCOMPARE(pane.selectionStart(), 4);
}

void TstReceivePane::removeHeadBetweenCrAndLf()
{
    ReceivePane pane;
    pane.replaceSelection(QStringLiteral("ab\r\ncd"));
    pane.removeHead(3);
    QCOMPARE(pane.text(), QStringLiteral("\ncd"));
    VERIFY_SHOWN(pane);
    pane.removeHead(1);
    QCOMPARE(pane.text(), QStringLiteral("cd"));
    VERIFY_SHOWN(pane);
    pane.removeHead(10);
    QCOMPARE(pane.text(), QString());
    VERIFY_SHOWN(pane);
}

void TstReceivePane::editsOnTheDocumentFollow()
{
    ReceivePane pane;
    pane.setPlainText(QStringLiteral("one\ntwo"));
    QCOMPARE(pane.text(), QStringLiteral("one\r\ntwo"));
    pane.clear();
    QCOMPARE(pane.text(), QString());

    pane.replaceSelection(QStringLiteral("a\rb\r\nc"));   // a lone CR stays a lone CR
    pane.show();
    pane.setFocus();
    pane.moveCursor(QTextCursor::End);
    QTest::keyClicks(&pane, QStringLiteral("hi"));
    QTest::keyClick(&pane, Qt::Key_Return);
    QTest::keyClicks(&pane, QStringLiteral("x"));
    QTest::keyClick(&pane, Qt::Key_Return, Qt::ShiftModifier);   // Enter, no line separator
    QCOMPARE(pane.text(), QStringLiteral("a\rb\r\nchi\r\nx\r\n"));
    QTest::keyClick(&pane, Qt::Key_Backspace);
    QTest::keyClick(&pane, Qt::Key_Backspace);
    QTest::keyClick(&pane, Qt::Key_Backspace);   // the line end goes whole
    QCOMPARE(pane.text(), QStringLiteral("a\rb\r\nchi"));
    VERIFY_SHOWN(pane);

    selectOnDocument(pane, 2, 4);   // "b" and the CR LF after it
    QTextCursor c = pane.textCursor();
    c.removeSelectedText();
    QCOMPARE(pane.text(), QStringLiteral("a\rchi"));
    c.insertText(QStringLiteral("1\n2"));
    QCOMPARE(pane.text(), QStringLiteral("a\r1\r\n2chi"));
    VERIFY_SHOWN(pane);
}

void TstReceivePane::formatChangesLeaveTheTextAlone()
{
    ReceivePane pane;
    pane.replaceSelection(QStringLiteral("a\rb\r\nc"));
    QTextCursor c(pane.document());
    c.select(QTextCursor::Document);
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    c.mergeCharFormat(bold);
    QCOMPARE(pane.text(), QStringLiteral("a\rb\r\nc"));
}

void TstReceivePane::copyGivesTheExactText()
{
    ReceivePane pane;
    pane.replaceSelection(QStringLiteral("a\rb\r\n\xa0z"));
    pane.selectAll();
    pane.copy();
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("a\rb\r\n\xa0z"));
}

void TstReceivePane::operatorStopsAtTheLimit()
{
    ReceivePane pane;
    pane.replaceSelection(QString(ReceivePane::kMaxLength - 1, u'.'));
    pane.show();
    pane.setFocus();
    pane.moveCursor(QTextCursor::End);
    QTest::keyClicks(&pane, QStringLiteral("ab"));
    QCOMPARE(pane.length(), ReceivePane::kMaxLength);
    QVERIFY(pane.text().endsWith(QStringLiteral(".a")));
    QTest::keyClick(&pane, Qt::Key_Backspace);
    QTest::keyClick(&pane, Qt::Key_Return);   // two characters do not fit in one
    QCOMPARE(pane.length(), ReceivePane::kMaxLength - 1);
    // The program's own text is not limited.
    pane.replaceSelection(QStringLiteral("xyz"));
    QCOMPARE(pane.length(), ReceivePane::kMaxLength + 2);
}

void TstReceivePane::pasteIsCutToTheLimit()
{
    ReceivePane pane;
    pane.replaceSelection(QString(ReceivePane::kMaxLength - 4, u'.'));
    QGuiApplication::clipboard()->setText(QStringLiteral("ab\ncd"));
    pane.moveCursor(QTextCursor::End);
    pane.paste();
    QVERIFY(pane.text().endsWith(QStringLiteral(".ab\r\n")));
    QCOMPARE(pane.length(), ReceivePane::kMaxLength);

    pane.setSelection(0, 3);
    QGuiApplication::clipboard()->setText(QStringLiteral("1\r2\n3"));
    pane.paste();   // three characters make room
    QVERIFY(pane.text().startsWith(QStringLiteral("1\r\n.")));
    VERIFY_SHOWN(pane);
}

// Lines coming in one by one, the view following them: the vertical scroll
// bar paints only when its picture changes (while the slider shrinks, not
// once it sits at the bottom), then only the stretch the slider moved on;
// what is on the screen is always what a full repaint would show. The
// horizontal one, its range unchanged, is not painted at all.
void TstReceivePane::scrollBarsPaintOnlyWhatChanged()
{
    ReceivePane pane;
    pane.resize(300, 200);
    pane.show();
    QVERIFY(QTest::qWaitForWindowExposed(&pane));
    QScrollBar* bar = pane.verticalScrollBar();
    Paints barPaints(bar);
    Paints otherBarPaints(pane.horizontalScrollBar());
    QImage shown = barPaints.grab(bar);
    int painted = 0;
    int paintedInPart = 0;
    int unchanged = 0;
    for (int i = 0; i < 300; ++i) {
        const int before = barPaints.count;
        barPaints.area = QRegion();
        pane.replaceSelection(QStringLiteral("line %1\r\n").arg(i % 10));
        bar->setValue(bar->maximum());
        QCoreApplication::processEvents();
        const QImage now = barPaints.grab(bar);
        QCOMPARE(onScreen(bar), now);
        if (barPaints.count == before) {
            QCOMPARE(now, shown);
            ++unchanged;
        } else {
            ++painted;
            paintedInPart += barPaints.area.boundingRect().height() < bar->height() / 2;
        }
        shown = now;
    }
    QVERIFY(painted > 0);
    QVERIFY2(paintedInPart > 0, qPrintable(QStringLiteral("%1 painted, all whole").arg(painted)));
    QVERIFY2(unchanged > painted,
             qPrintable(QStringLiteral("%1 painted, %2 unchanged").arg(painted).arg(unchanged)));
    QCOMPARE(otherBarPaints.count, 0);
}

// Maximised and restored while text arrives: a view that showed the newest
// line shows it after each resize; one scrolled back keeps its top line.
void TstReceivePane::resizingKeepsTheNewestLineInView_data()
{
    QTest::addColumn<bool>("atTheEnd");
    QTest::addColumn<bool>("wrapping");
    QTest::addRow("at the end") << true << false;
    QTest::addRow("at the end, lines wrapping") << true << true;
    QTest::addRow("scrolled back") << false << false;
}

void TstReceivePane::resizingKeepsTheNewestLineInView()
{
    QFETCH(bool, atTheEnd);
    QFETCH(bool, wrapping);
    ReceivePane pane;
    pane.setLineWrapMode(wrapping ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
    pane.resize(300, 200);
    pane.show();
    QVERIFY(QTest::qWaitForWindowExposed(&pane));
    QScrollBar* bar = pane.verticalScrollBar();
    const auto newestInView = [&pane] {
        QTextCursor end(pane.document());
        end.movePosition(QTextCursor::End);
        return pane.viewport()->rect().contains(pane.cursorRect(end));
    };
    for (int i = 0; i < 200; ++i) {
        pane.replaceSelection(QStringLiteral("line %1 %2\r\n").arg(i).arg(QString(i % 7 * 9, u'x')));
        if (atTheEnd)
            bar->setValue(bar->maximum());
    }
    QCoreApplication::processEvents();
    QCOMPARE(newestInView(), atTheEnd);
    const int top = bar->value();
    for (const QSize size : {QSize(600, 500), QSize(300, 200), QSize(250, 120)}) {
        pane.resize(size);
        QCoreApplication::processEvents();
        QCOMPARE(newestInView(), atTheEnd);
        if (atTheEnd)
            QCOMPARE(bar->value(), bar->maximum());
        else
            QCOMPARE(bar->value(), top);
    }
}

// Text added at the end, as it is received, repaints the lines it changed
// (and the line the view scrolls in), never the whole view, whether or not
// the chunk ends with its line break; within the last line, only the new
// characters. What is on the screen then is what a full repaint shows.
void TstReceivePane::appendsRepaintOnlyTheLinesTheyChange_data()
{
    QTest::addColumn<int>("linesBefore");
    QTest::addColumn<QString>("chunk");
    QTest::addColumn<int>("linesPainted");   // at most; 0: the whole view
    QTest::addColumn<bool>("onlyNewCharacters");
    QTest::addColumn<QString>("lastLine");   // a long one: lines do not wrap, the view follows sideways

    const QString last = QStringLiteral("last");
    QTest::addRow("extends the line") << 3 << QStringLiteral("abc") << 1 << true << last;
    QTest::addRow("extends an empty line") << 3 << QStringLiteral("\r\nabc") << 2 << false << last;
    QTest::addRow("ends the line") << 3 << QStringLiteral("abc\r\n") << 2 << false << last;
    QTest::addRow("ends it, starts the next") << 3 << QStringLiteral("abc\r\nde") << 2 << false << last;
    QTest::addRow("a line end alone") << 3 << QStringLiteral("\r\n") << 2 << false << last;
    QTest::addRow("extends the line, the view full") << 40 << QStringLiteral("abc") << 1 << true << last;
    QTest::addRow("ends the line, the view scrolls") << 40 << QStringLiteral("abc\r\n") << 3 << false << last;
    QTest::addRow("line end alone, the view scrolls") << 40 << QStringLiteral("\r\n") << 3 << false << last;
    QTest::addRow("wraps the line") << 3 << QStringLiteral("w").repeated(60) << 0 << false << last;
    QTest::addRow("a long line, the view follows")
        << 3 << QStringLiteral("abc") << 0 << false << QStringLiteral("long").repeated(30);
}

void TstReceivePane::appendsRepaintOnlyTheLinesTheyChange()
{
    QFETCH(int, linesBefore);
    QFETCH(QString, chunk);
    QFETCH(int, linesPainted);
    QFETCH(bool, onlyNewCharacters);
    QFETCH(QString, lastLine);
    const int flashTime = QApplication::cursorFlashTime();
    const auto restore = qScopeGuard([flashTime] { QApplication::setCursorFlashTime(flashTime); });
    QApplication::setCursorFlashTime(0);   // the caret steady, as on the screen so in a fresh picture
    ReceivePane pane;
    if (lastLine.size() > 20)
        pane.setLineWrapMode(QPlainTextEdit::NoWrap);
    pane.resize(300, 200);
    pane.show();
    QVERIFY(QTest::qWaitForWindowExposed(&pane));
    pane.replaceSelection(QStringLiteral("line\r\n").repeated(linesBefore) + lastLine);
    QScrollBar* bar = pane.verticalScrollBar();
    const auto followTheCaret = [&] {   // as the view follows received text
        bar->setValue(bar->maximum());
        pane.ensureCursorVisible();
        QCoreApplication::processEvents();
    };
    followTheCaret();
    Paints paints(pane.viewport());
    pane.replaceSelection(chunk);
    followTheCaret();
    QVERIFY(paints.count > 0);
    const int lineHeight = pane.fontMetrics().lineSpacing();
    const QRect painted = paints.area.boundingRect();
    QVERIFY2(linesPainted == 0
                 || (painted.height() <= (linesPainted + 1) * lineHeight
                     && painted.height() < pane.viewport()->height() / 2),
             qPrintable(QStringLiteral("painted %1 pixels high of %2, a line is %3")
                            .arg(painted.height())
                            .arg(pane.viewport()->height())
                            .arg(lineHeight)));
    if (onlyNewCharacters)
        QVERIFY2(painted.width() < pane.viewport()->width() / 2,
                 qPrintable(QString::number(painted.width())));
    QCOMPARE(pane.text().right(chunk.size()), chunk);
    QCOMPARE(onScreen(pane.viewport()), paints.grab(pane.viewport()));
}

QTEST_MAIN(TstReceivePane)
#include "tst_receivepane.moc"
