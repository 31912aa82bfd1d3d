// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPlainTextEdit>

// The receive pane Text1: the transcript of what the panel sent, kept exactly.
//
// Exact text. text() is the pane's text as the program's handlers see it:
// every 8-bit character as received (no-break spaces and control characters
// included), line ends CR LF, and the odd lone CR (a backspace at the head of
// a chunk removed the LF of a line end) or lone LF (the head cut fell between
// CR and LF) as it is. length() is text().size().
//
// Positions. The document underneath shows every CR LF, lone CR and lone LF
// as one line break, so document positions (QTextCursor, textCursor(), the
// QPlainTextEdit selection API) count a line end as one character where the
// exact text counts CR LF as two. selectionStart(), selectionLength(),
// selectedText(), setSelection(), setCaret() and replaceSelection() work in
// exact positions and text. A selection made on the document (by the
// operator or through textCursor()) maps onto the exact text with each line
// break it covers standing for its whole CR LF; an exact selection that
// splits a CR LF shows on the document as covering that line break.
//
// Edits made on the document (typing, the cursor API, setPlainText(), cut)
// keep the exact text in step; a line break they insert is CR LF. The
// operator can type or paste up to kMaxLength characters; the program's own
// operations are not limited.
class ReceivePane : public QPlainTextEdit {
    Q_OBJECT
public:
    static constexpr int kMaxLength = 64000;

    explicit ReceivePane(QWidget* parent = nullptr);

    QString text() const { return m_text; }
    int length() const { return int(m_text.size()); }

    int selectionStart() const;
    int selectionLength() const;
    QString selectedText() const;
    // Clamped to the text: a start past the end is the end. Moving the cursor
    // scrolls it into view; a selection that is already there scrolls nothing.
    void setSelection(int start, int length);
    void setCaret(int position) { setSelection(position, 0); }
    // Replaces the selection with text and puts the caret after it.
    virtual void replaceSelection(const QString& text);
    // Drops the first count characters.
    void removeHead(int count);
    // The operator's paste: line breaks as CR LF, cut to what fits under kMaxLength.
    void pasteFitting(const QString& text);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;
    QMimeData* createMimeDataFromSelection() const override;

private:
    struct Selection {
        int start = 0;
        int length = 0;
        int docAnchor = 0;   // the document cursor that showed it
        int docPosition = 0;
        bool valid = false;
    };

    void showBothScrollBars();
    void replaceExact(int start, int end, const QString& text);
    QTextCursor endOfDocument() const;
    void repaintAppended(const QRect& endBefore);
    int docFromExact(int position, bool roundUp) const;
    int exactFromDoc(int position) const;
    bool pairStartsAt(int position) const;
    bool pairEndsAt(int position) const;
    void followDocument(int position, int removed, int added);
    void rebuildFromDocument();
    int docLengthNow() const;
    Selection currentSelection() const;
    int roomFor(const QString& text) const;

    QString m_text;
    int m_docLength = 0;   // characters of the document, line breaks counted once
    Selection m_selection;
    bool m_editing = false;   // the document is being changed from the exact text
};
