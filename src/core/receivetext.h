// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// How a received chunk becomes the text that is shown and captured.
namespace ReceiveText {

constexpr QChar kBackspace = u'\b';

struct Chunk {
    QString text;
    // A backspace met nothing before it in the chunk: the text replaces the
    // last character already shown.
    bool replacesLast = false;
};

// Applies the chunk's backspaces (each removes the character before it), then
// drops every LF and follows every CR with an LF.
Chunk normalise(const QString& raw);

}   // namespace ReceiveText
