// SPDX-License-Identifier: GPL-3.0-or-later
#include "controlselection.h"

#include "desktop/maskedfield.h"
#include "form/receivepane.h"

namespace ControlSelection {

std::optional<QString> selectedText(QWidget* control)
{
    if (auto* pane = qobject_cast<ReceivePane*>(control))
        return pane->selectedText();
    if (auto* field = qobject_cast<QLineEdit*>(control))
        return field->selectedText();
    return std::nullopt;
}

bool replace(QWidget* control, const QString& text)
{
    if (auto* pane = qobject_cast<ReceivePane*>(control)) {
        pane->pasteFitting(text);
        return true;
    }
    if (auto* masked = qobject_cast<MaskedField*>(control)) {
        masked->pasteFitting(text);
        return true;
    }
    if (auto* field = qobject_cast<QLineEdit*>(control)) {
        field->insert(text);
        return true;
    }
    return false;
}

}   // namespace ControlSelection
