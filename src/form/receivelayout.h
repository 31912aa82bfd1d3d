// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPlainTextDocumentLayout>

// The receive pane's document layout: QPlainTextEdit's own, made cheaper for
// text that arrives at the end a few characters at a time.
//
// A change that ends with a line break at the end of the text (a chunk that
// ends a line) repaints only the lines it changed. The plain layout repaints
// those only when the change reaches into the new last line, and otherwise
// the whole view: two chunks in five at the line's pace.
//
// Around an append that stays within the last line the pane can ask for a
// quiet change: the layout then leaves the repaint of the line to the pane,
// which repaints only the characters that are new, unless the line's height
// changed (it wrapped), which repaints the view as before.
class ReceiveLayout : public QPlainTextDocumentLayout {
    Q_OBJECT
public:
    explicit ReceiveLayout(QTextDocument* document);

    // The next change is an append within the last line.
    void expectQuietAppend() { m_quiet = Quiet::Expected; }
    // Whether the change since expectQuietAppend() left the repaint of the
    // new characters to the caller; ends the quiet change.
    bool takeQuietAppend();

protected:
    void documentChanged(int from, int removed, int added) override;

private:
    enum class Quiet { No, Expected, LeftToCaller };

    // An append of added characters at from, the end of the last line.
    void changeQuietly(int from, int added);

    int m_blocks = 1;
    Quiet m_quiet = Quiet::No;
};
