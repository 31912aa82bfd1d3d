// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/panellink.h"

#include <QObject>

struct Form1Context;

// The programming-code field `Text3`: Enter, or any key once it holds four
// characters, sends its text with "PGM" six times and opens the transfers;
// Backspace empties it.
class ProgrammingCode : public QObject {
    Q_OBJECT
public:
    static constexpr int kKeyboardWrites = PanelLink::kProgrammingWrites;
    static constexpr int kCodeLength = 4;   // once the field holds this many, any key sends

    explicit ProgrammingCode(Form1Context& ctx, QObject* parent = nullptr);

    void Text3_GotFocus();
    // True: the key is swallowed.
    bool Text3_KeyDown(int keyCode);
    void Text3_KeyPress(int charCode);

private:
    Form1Context& m_ctx;
};
