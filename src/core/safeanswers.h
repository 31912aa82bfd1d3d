// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/prompter.h"

// The operator's part when nobody is there: every box gets its safe answer
// (Cancel, No, or OK where that is all it offers), every file dialog is
// cancelled, and the last prompt is kept to say why the work stopped.
class SafeAnswers : public Prompter {
public:
    MessageBox::Answer ask(const MessageBox& box) override
    {
        lastPrompt = box.prompt;
        switch (box.buttons) {
        case MessageBox::Buttons::Ok: return MessageBox::Answer::Ok;
        case MessageBox::Buttons::YesNo:
        case MessageBox::Buttons::YesNoCancel: return MessageBox::Answer::No;
        case MessageBox::Buttons::OkCancel:
        case MessageBox::Buttons::RetryCancel: break;
        }
        return MessageBox::Answer::Cancel;
    }
    FileDialogResult chooseFile(const FileDialogRequest&) override { return {}; }
    void beep() override {}

    QString lastPrompt;
};
