// SPDX-License-Identifier: GPL-3.0-or-later
#include "receivepane.h"

#include "desktop/plainenter.h"
#include "desktop/steadyscrollbar.h"
#include "form/receivelayout.h"

#include <QAbstractTextDocumentLayout>
#include <QKeyEvent>
#include <QMimeData>
#include <QScopeGuard>
#include <QScrollBar>
#include <QTextCursor>
#include <QTextDocument>

namespace {

constexpr QChar kCr = u'\r';
constexpr QChar kLf = u'\n';
const QString kCrLf = QStringLiteral("\r\n");

// The exact text as the document holds it: each CR LF, lone CR and lone LF
// one paragraph separator.
QString asShown(QString exact)
{
    exact.replace(kCrLf, QString(QChar::ParagraphSeparator));
    exact.replace(kCr, QChar::ParagraphSeparator);
    exact.replace(kLf, QChar::ParagraphSeparator);
    return exact;
}

QString lineBreaksAsCrLf(QString text)
{
    text.replace(kCrLf, QString(kLf));
    text.replace(kCr, kLf);
    text.replace(QChar::ParagraphSeparator, kLf);
    text.replace(kLf, kCrLf);
    return text;
}

// What a key adds to the text: Enter a CR LF, a printable key its characters.
int growthOf(const QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        return 2;
    const QString typed = event->text();
    if (typed.isEmpty() || !(typed.at(0).isPrint() || typed.at(0) == u'\t'))
        return 0;
    return int(typed.size());
}

// A document laid out by ReceiveLayout.
QTextDocument* receiveDocument(QObject* parent)
{
    auto* document = new QTextDocument(parent);
    document->setDocumentLayout(new ReceiveLayout(document));
    return document;
}

}   // namespace

ReceivePane::ReceivePane(QWidget* parent) : QPlainTextEdit(parent)
{
    // The text is measured on the viewport, as on the document that
    // QPlainTextEdit makes for itself.
    setDocument(receiveDocument(this));
    document()->documentLayout()->setPaintDevice(viewport());
    // Received text is never undone, and an undo stack would grow with every chunk.
    setUndoRedoEnabled(false);
    PlainEnter::install(this);
    connect(document(), &QTextDocument::contentsChange, this, &ReceivePane::followDocument);
    showBothScrollBars();
}

// Both scroll bars always show, as in the text box the pane stands for. They
// are painted only when they look different, and QAbstractScrollArea's own
// response to a range change (a relayout, queued, that repaints the whole
// pane with every line received) has nothing to show or hide: it is cut off.
void ReceivePane::showBothScrollBars()
{
    setHorizontalScrollBar(new SteadyScrollBar(Qt::Horizontal));
    setVerticalScrollBar(new SteadyScrollBar(Qt::Vertical));
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    for (QScrollBar* bar : {horizontalScrollBar(), verticalScrollBar()})
        disconnect(bar, SIGNAL(rangeChanged(int, int)), this, SLOT(_q_showOrHideScrollBars()));
}

int ReceivePane::selectionStart() const
{
    return currentSelection().start;
}

int ReceivePane::selectionLength() const
{
    return currentSelection().length;
}

QString ReceivePane::selectedText() const
{
    const Selection s = currentSelection();
    return m_text.mid(s.start, s.length);
}

void ReceivePane::setSelection(int start, int length)
{
    Selection s;
    s.start = qBound(0, start, this->length());
    s.length = qBound(0, length, this->length() - s.start);
    s.docAnchor = docFromExact(s.start, false);
    s.docPosition = s.length == 0 ? s.docAnchor : docFromExact(s.start + s.length, true);
    s.valid = true;
    // Text appended at the caret carries it along: when it is already there,
    // setting the cursor again would only redo its geometry.
    QTextCursor c = textCursor();
    if (c.anchor() != s.docAnchor || c.position() != s.docPosition) {
        c.setPosition(s.docAnchor);
        c.setPosition(s.docPosition, QTextCursor::KeepAnchor);
        setTextCursor(c);
    }
    m_selection = s;
}

void ReceivePane::replaceSelection(const QString& text)
{
    const Selection s = currentSelection();
    replaceExact(s.start, s.start + s.length, text);
    setCaret(s.start + int(text.size()));
}

void ReceivePane::removeHead(int count)
{
    count = qBound(0, count, length());
    if (count > 0)
        replaceExact(0, count, QString());
}

// Replaces the exact text [start, end) and the document range that shows it.
// A CR just before the range and an LF just after it join the edit, so the
// document never keeps half of a CR LF that the exact text splits or forms.
void ReceivePane::replaceExact(int start, int end, const QString& text)
{
    const bool crBefore = start > 0 && m_text.at(start - 1) == kCr;
    const bool lfAfter = end < m_text.size() && m_text.at(end) == kLf;
    QString shown = text;
    if (crBefore)
        shown.prepend(kCr);
    if (lfAfter)
        shown.append(kLf);
    const int docFrom = docFromExact(crBefore ? start - 1 : start, false);
    const int docTo = docFromExact(lfAfter ? end + 1 : end, false);

    // Text added to the end of the last line repaints only what is new.
    auto* layout = qobject_cast<ReceiveLayout*>(document()->documentLayout());
    const bool appends = layout && start == end && end == m_text.size() && !crBefore && !text.isEmpty()
        && !text.contains(kCr) && !text.contains(kLf);
    const QRect endBefore = appends ? cursorRect(endOfDocument()) : QRect();
    if (appends)
        layout->expectQuietAppend();

    m_editing = true;
    const auto done = qScopeGuard([this, layout] {
        m_editing = false;
        if (layout)
            layout->takeQuietAppend();
    });
    QTextCursor c(document());
    c.beginEditBlock();
    c.setPosition(docFrom);
    c.setPosition(docTo, QTextCursor::KeepAnchor);
    if (shown.isEmpty())
        c.removeSelectedText();
    else
        c.insertText(shown);
    c.endEditBlock();
    if (appends && layout->takeQuietAppend())
        repaintAppended(endBefore);

    m_text.replace(start, end - start, text);
    m_docLength = docLengthNow();
    m_selection.valid = false;
}

QTextCursor ReceivePane::endOfDocument() const
{
    QTextCursor c(document());
    c.movePosition(QTextCursor::End);
    return c;
}

// Text appended to the last line, on the same line: only the new characters
// are painted, from a character before the old end (a glyph may reach back)
// to the new end, where the caret is.
void ReceivePane::repaintAppended(const QRect& endBefore)
{
    const QRect endNow = cursorRect(endOfDocument());
    const int reach = fontMetrics().maxWidth();
    viewport()->update(QRect(QPoint(endBefore.left() - reach, endBefore.top()),
                             QPoint(endNow.right() + reach, endNow.bottom())));
}

bool ReceivePane::pairStartsAt(int position) const
{
    return position + 1 < m_text.size() && m_text.at(position) == kCr && m_text.at(position + 1) == kLf;
}

bool ReceivePane::pairEndsAt(int position) const
{
    return position >= 2 && m_text.at(position - 2) == kCr && m_text.at(position - 1) == kLf;
}

// The document position of an exact position, walking from the nearer end.
// A position between CR and LF gives the line break's start, or its end when
// rounding up.
int ReceivePane::docFromExact(int position, bool roundUp) const
{
    if (position >= m_text.size() / 2) {
        int exact = int(m_text.size());
        int doc = m_docLength;
        while (exact > position) {
            if (pairEndsAt(exact)) {
                if (exact - 2 < position)
                    return roundUp ? doc : doc - 1;
                exact -= 2;
            } else {
                exact -= 1;
            }
            --doc;
        }
        return doc;
    }
    int exact = 0;
    int doc = 0;
    while (exact < position) {
        if (pairStartsAt(exact)) {
            if (exact + 2 > position)
                return roundUp ? doc + 1 : doc;
            exact += 2;
        } else {
            exact += 1;
        }
        ++doc;
    }
    return doc;
}

int ReceivePane::exactFromDoc(int position) const
{
    if (position >= m_docLength / 2) {
        int exact = int(m_text.size());
        for (int doc = m_docLength; doc > position; --doc)
            exact -= pairEndsAt(exact) ? 2 : 1;
        return exact;
    }
    int exact = 0;
    for (int doc = 0; doc < position; ++doc)
        exact += pairStartsAt(exact) ? 2 : 1;
    return exact;
}

int ReceivePane::docLengthNow() const
{
    return document()->characterCount() - 1;
}

// An edit made on the document (typing, the cursor API, setPlainText, cut):
// the same change on the exact text, its line breaks as CR LF. The document
// counts its last, implicit line break in some reports; that is taken out.
void ReceivePane::followDocument(int position, int removed, int added)
{
    if (m_editing)
        return;
    m_selection.valid = false;
    const int oldLength = m_docLength;
    const int newLength = docLengthNow();
    removed = qMin(removed, oldLength - position);
    added = newLength - oldLength + removed;
    if (position < 0 || removed < 0 || added < 0 || position + added > newLength) {
        rebuildFromDocument();
        return;
    }
    const int from = exactFromDoc(position);
    const int to = exactFromDoc(position + removed);
    QTextCursor c(document());
    c.setPosition(position);
    c.setPosition(position + added, QTextCursor::KeepAnchor);
    const QString shown = c.selectedText();
    if (removed == added && shown == asShown(m_text.mid(from, to - from)))
        return;   // only formats changed
    const QString inserted = lineBreaksAsCrLf(shown);
    m_text.replace(from, to - from, inserted);
    m_docLength = newLength;
    // A lone CR and a lone LF brought together would read as one line end
    // where the document shows two.
    const int end = from + int(inserted.size());
    if ((from > 0 && pairStartsAt(from - 1)) || (end > 0 && pairStartsAt(end - 1)))
        rebuildFromDocument();
}

void ReceivePane::rebuildFromDocument()
{
    m_text = lineBreaksAsCrLf(document()->toRawText());
    m_docLength = docLengthNow();
    m_selection.valid = false;
}

ReceivePane::Selection ReceivePane::currentSelection() const
{
    const QTextCursor c = textCursor();
    if (m_selection.valid && c.anchor() == m_selection.docAnchor && c.position() == m_selection.docPosition)
        return m_selection;
    Selection s;
    s.start = exactFromDoc(c.selectionStart());
    s.length = exactFromDoc(c.selectionEnd()) - s.start;
    return s;
}

int ReceivePane::roomFor(const QString& text) const
{
    const int room = kMaxLength - (length() - selectionLength());
    return qBound(0, room, int(text.size()));
}

// The view keeps its top line when it grows or shrinks; a view that showed
// the newest line goes on showing it.
void ReceivePane::resizeEvent(QResizeEvent* event)
{
    QScrollBar* bar = verticalScrollBar();
    const bool showedNewest = bar->value() == bar->maximum();
    QPlainTextEdit::resizeEvent(event);
    if (showedNewest)
        bar->setValue(bar->maximum());
}

void ReceivePane::keyPressEvent(QKeyEvent* event)
{
    const int growth = growthOf(event);
    if (growth > 0 && !isReadOnly() && length() - selectionLength() + growth > kMaxLength) {
        event->accept();   // full, as a text box at its limit
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void ReceivePane::insertFromMimeData(const QMimeData* source)
{
    if (!isReadOnly() && source->hasText())
        pasteFitting(source->text());
}

void ReceivePane::pasteFitting(const QString& text)
{
    QString fitting = lineBreaksAsCrLf(text);
    fitting.truncate(roomFor(fitting));
    if (fitting.endsWith(kCr))
        fitting.chop(1);   // never half a line end
    replaceSelection(fitting);
    ensureCursorVisible();
}

QMimeData* ReceivePane::createMimeDataFromSelection() const
{
    auto* data = new QMimeData;
    data->setText(selectedText());
    return data;
}
