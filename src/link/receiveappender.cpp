#include "receiveappender.h"

#include "app/form1context.h"
#include "link/capturelog.h"
#include "link/receivepane.h"
#include "link/receivetext.h"
#include "link/repaintpacer.h"
#include "platform/eightbit.h"
#include "platform/prompter.h"
#include "platform/serialport.h"

#include <QScrollBar>

#include <exception>
#include <new>

ReceiveAppender::ReceiveAppender(Form1Context& ctx, CaptureLog& log) : m_ctx(ctx), m_log(log) {}

QString ReceiveAppender::append_received(ReceivePane& pane, const QString& data)
{
    RepaintPacer::of(&pane).changing();
    int n = pane.length();
    if (n > kSoftLimit) {
        guarded([&] { pane.removeHead(kCut); });
        n = pane.length();
    }
    guarded([&] { pane.setCaret(n); });
    const ReceiveText::Chunk chunk = ReceiveText::normalise(data);
    if (chunk.replacesLast && n > 0)   // on an empty pane there is nothing to take back
        guarded([&] { pane.setSelection(n - 1, 1); });
    guarded([&] { pane.replaceSelection(chunk.text); });
    capture(chunk.text);
    guarded([&] {
        keepWithinLimit(pane);
        pane.setCaret(pane.length());
        showNewest(pane);
    });
    return chunk.text;
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

// Bytes that reached the file are not written again on Retry, so the capture
// never holds a piece twice.
void ReceiveAppender::capture(const QString& text)
{
    QByteArray rest = EightBit::encode(text);
    while (!rest.isEmpty() && m_ctx.capture.isOpen()) {
        rest.remove(0, m_ctx.capture.write(rest));
        if (rest.isEmpty())
            return;
        MessageBox box;
        box.prompt = m_ctx.capture.errorString();
        box.title = m_ctx.settings.title();
        box.buttons = MessageBox::Buttons::RetryCancel;
        box.icon = MessageBox::Icon::Critical;
        box.defaultButton = MessageBox::Answer::Retry;
        if (m_ctx.platform.prompter.ask(box) != MessageBox::Answer::Retry) {
            m_log.mnuCloseLog_Click();
            return;
        }
    }
}

// The view jumps to the last line, then to the caret. The jump is made with
// the viewport's updates off: otherwise QPlainTextEdit would lay out every
// line between the old view and the new one (the whole chunk) to work out
// how far to move the old picture, which is then painted over anyway.
void ReceiveAppender::showNewest(ReceivePane& pane)
{
    QScrollBar* bar = pane.verticalScrollBar();
    pane.viewport()->setUpdatesEnabled(false);
    bar->setValue(bar->maximum());
    pane.viewport()->setUpdatesEnabled(true);
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
