// SPDX-License-Identifier: GPL-3.0-or-later
#include "receivelayout.h"

#include <QSignalBlocker>
#include <QTextBlock>
#include <QTextDocument>

#include <utility>

ReceiveLayout::ReceiveLayout(QTextDocument* document) : QPlainTextDocumentLayout(document) {}

bool ReceiveLayout::takeQuietAppend()
{
    return std::exchange(m_quiet, Quiet::No) == Quiet::LeftToCaller;
}

// A change that ends at the start of a new last line is taken to reach one
// character further, into that line: the plain layout then repaints the
// lines from the change's start to the end, not the whole view.
void ReceiveLayout::documentChanged(int from, int removed, int added)
{
    const QTextDocument* doc = document();
    const QTextBlock last = doc->lastBlock();
    const int blocks = doc->blockCount();
    if (blocks > m_blocks && removed + added > 0 && from + removed + added == last.position())
        ++added;
    const bool quiet = m_quiet == Quiet::Expected && blocks == m_blocks && removed == 0
        && doc->findBlock(from) == last && from + added == last.position() + last.length() - 1;
    m_blocks = blocks;
    if (quiet)
        changeQuietly(from, added);
    else
        QPlainTextDocumentLayout::documentChanged(from, removed, added);
}

// The plain layout lays the line out again and asks for the whole line to be
// repainted; that request is left out. What else it would have said (a new
// size of the document, and the whole view when the line's height changed)
// is said here.
void ReceiveLayout::changeQuietly(int from, int added)
{
    const QTextBlock line = document()->lastBlock();
    const QSizeF sizeBefore = documentSize();
    const qreal heightBefore = blockBoundingRect(line).height();
    {
        const QSignalBlocker quiet(this);
        QPlainTextDocumentLayout::documentChanged(from, 0, added);
    }
    if (documentSize() != sizeBefore)
        emit documentSizeChanged(documentSize());
    if (blockBoundingRect(line).height() != heightBefore) {
        m_quiet = Quiet::No;
        emit update(QRectF(0., -document()->documentMargin(), 1000000000., 1000000000.));
        return;
    }
    m_quiet = Quiet::LeftToCaller;
}
