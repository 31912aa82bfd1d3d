// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <optional>

class QWidget;

// The selected text of the main window's text controls: the receive pane
// (exact text, line ends CR LF), the masked digit fields and the text fields.
namespace ControlSelection {

// Nothing for a control without a text selection (a button, say).
std::optional<QString> selectedText(QWidget* control);

// Replaces the selection with text as the control's own paste does: the
// receive pane takes what fits its limit, line breaks as CR LF; a masked
// field takes only the digits that fit it. False for a control without a
// text selection.
bool replace(QWidget* control, const QString& text);

}   // namespace ControlSelection
