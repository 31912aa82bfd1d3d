// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QLineEdit;
class QWidget;

// Text arriving the ways an operator brings it in from elsewhere, as real
// Qt paths: the clipboard's mime data pasted by the field itself, and a
// drop event carrying mime data.
void pasteInto(QLineEdit* field, const QString& text);
void dropOnto(QWidget* control, const QString& text);
