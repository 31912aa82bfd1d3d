// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/receivetext.h"

#include <QString>

#include <functional>

struct Form1Context;
class ReceivePane;

// append_received: puts one received chunk into the receive pane and the
// capture file.
class ReceiveAppender {
public:
    static constexpr int kSoftLimit = 20000;   // more than this before an append: cut
    static constexpr int kCut = 4096;   // characters dropped from the head

    // captureCancelled: the operator gave up on a capture that could not be
    // written; it is to be closed.
    ReceiveAppender(Form1Context& ctx, std::function<void()> captureCancelled);

    // Returns the text appended to the pane and written to the capture file.
    QString append_received(ReceivePane& pane, const QString& data);

private:
    template <typename Step>
    void guarded(Step step);
    void reportFailure(const QString& description);
    void capture(const QString& text);
    void keepWithinLimit(ReceivePane& pane);
    static bool onlyExtendsLastLine(const ReceivePane& pane, const ReceiveText::Chunk& chunk);
    static void appendShaped(ReceivePane& pane, const ReceiveText::Chunk& chunk);
    // The newest text in view.
    static void showNewest(ReceivePane& pane);

    Form1Context& m_ctx;
    std::function<void()> m_captureCancelled;
};
