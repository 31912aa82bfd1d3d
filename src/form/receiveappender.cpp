// SPDX-License-Identifier: GPL-3.0-or-later
#include "receiveappender.h"

#include "core/receivetext.h"
#include "form/form1context.h"
#include "form/receivepane.h"
#include "form/repaintpacer.h"
#include "platform/eightbit.h"
#include "platform/prompter.h"
#include "platform/serialport.h"

#include <QScrollBar>
#include <QTextBlock>
#include <QTextLayout>

#include <exception>
#include <new>

ReceiveAppender::ReceiveAppender(Form1Context& ctx, std::function<void()> captureCancelled)
    : m_ctx(ctx), m_captureCancelled(std::move(captureCancelled))
{}

QString ReceiveAppender::append_received(ReceivePane& pane, const QString& data)
{
    const ReceiveText::Chunk chunk = ReceiveText::normalise(data);
    int n = pane.length();
    if (!onlyExtendsLastLine(pane, chunk))
        RepaintPacer::of(&pane).changing();
    if (n > kSoftLimit) {
        guarded([&] { pane.removeHead(kCut); });
        n = pane.length();
    }
    guarded([&] { pane.setCaret(n); });
    if (chunk.replacesLast && n > 0)   // on an empty pane there is nothing to take back
        guarded([&] { pane.setSelection(n - 1, 1); });
    guarded([&] { appendShaped(pane, chunk); });
    capture(chunk.text);
    guarded([&] {
        keepWithinLimit(pane);
        pane.setCaret(pane.length());
        showNewest(pane);
    });
    return chunk.text;
}

// Text added to the end of the last line, in view, with nothing cut: only
// that line is painted again, at once. Anything else (new lines, a scroll,
// a cut) is painted at the pace of the pacer, as the whole view moves.
bool ReceiveAppender::onlyExtendsLastLine(const ReceivePane& pane, const ReceiveText::Chunk& chunk)
{
    const QScrollBar* bar = pane.verticalScrollBar();
    return !chunk.replacesLast && !chunk.text.contains(u'\r') && !chunk.text.contains(u'\n')
        && pane.length() + chunk.text.size() <= kSoftLimit && bar->value() == bar->maximum();
}

// The line the chunk goes into is laid out again; its shaped glyphs are kept
// meanwhile, so that the caret and the paint that follow use them instead
// of shaping the line twice more. A line that is done keeps no glyphs. The
// block the caret sits in only grows here, unless a chunk takes its last
// character back.
void ReceiveAppender::appendShaped(ReceivePane& pane, const ReceiveText::Chunk& chunk)
{
    QTextBlock line = pane.textCursor().block();
    const bool keep = !chunk.replacesLast && line == pane.document()->lastBlock();
    if (keep)
        line.layout()->setCacheEnabled(true);
    pane.replaceSelection(chunk.text);
    if (keep && line != pane.document()->lastBlock())
        line.layout()->setCacheEnabled(false);
}

// A step that fails drops what waits at the port, says why and lets the
// next step run.
template <typename Step>
void ReceiveAppender::guarded(Step step)
{
    try {
        step();
    } catch (const std::bad_alloc&) {
        reportFailure(QStringLiteral("Out of memory: the received text cannot be shown."));
    } catch (const std::exception& e) {
        reportFailure(QString::fromLocal8Bit(e.what()));
    }
}

void ReceiveAppender::reportFailure(const QString& description)
{
    m_ctx.platform.port.discardInput();
    m_ctx.tellWithTitle(description);
}

// A capture the operator gave up on (Cancel) is closed.
void ReceiveAppender::capture(const QString& text)
{
    if (m_ctx.capture.isOpen()
        && !m_ctx.capture.writeOrAsk(EightBit::encode(text), m_ctx.platform.prompter, m_ctx.settings.title()))
        m_captureCancelled();
}

// The view jumps to the last line, then to the caret. A jump of more than a
// page is made with the viewport's updates off: otherwise QPlainTextEdit
// would lay out every line between the old view and the new one (the whole
// chunk) to work out how far to move the old picture, which is then painted
// over anyway. A shorter one moves the picture and paints only the new lines.
void ReceiveAppender::showNewest(ReceivePane& pane)
{
    QScrollBar* bar = pane.verticalScrollBar();
    if (bar->maximum() - bar->value() > bar->pageStep()) {
        pane.viewport()->setUpdatesEnabled(false);
        bar->setValue(bar->maximum());
        pane.viewport()->setUpdatesEnabled(true);   // repaints the whole view
    } else {
        bar->setValue(bar->maximum());
    }
    pane.ensureCursorVisible();
}

// The pane is a text box of at most kMaxLength characters: a chunk that
// would overfill it pushes the oldest text out.
void ReceiveAppender::keepWithinLimit(ReceivePane& pane)
{
    const int excess = pane.length() - ReceivePane::kMaxLength;
    if (excess > 0)
        pane.removeHead(excess);
}
