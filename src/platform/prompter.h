// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// A message box as the operator sees it.
struct MessageBox {
    enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel };
    enum class Icon { None, Information, Question, Exclamation, Critical };
    enum class Answer { Ok, Cancel, Yes, No, Retry };

    QString prompt;
    QString title;
    Buttons buttons = Buttons::Ok;
    Icon icon = Icon::None;
    Answer defaultButton = Answer::Ok;
    QString detail;   // secondary text, empty for none

    friend bool operator==(const MessageBox& a, const MessageBox& b)
    {
        return a.prompt == b.prompt && a.title == b.title && a.buttons == b.buttons && a.icon == b.icon
            && a.defaultButton == b.defaultButton && a.detail == b.detail;
    }
    friend bool operator!=(const MessageBox& a, const MessageBox& b) { return !(a == b); }
};

// An open or save file dialog. Filters are written as pairs separated by "|":
// "All Files (*.*)|*.*|TNT Files(*.TNT)|*.TNT"; filterIndex counts from 1.
struct FileDialogRequest {
    enum class Mode { Open, Save };
    Mode mode = Mode::Open;
    QString title;
    QString filter;
    int filterIndex = 1;
    QString fileName;
    bool hideReadOnly = true;
    bool mustExist = true;   // an open dialog that also takes the name of a new file when false
};

struct FileDialogResult {
    enum class Outcome { Chosen, Cancelled, Failed };
    Outcome outcome = Outcome::Cancelled;
    QString path;
    QString error;   // the platform's description when the dialog failed

    bool chosen() const { return outcome == Outcome::Chosen; }
};

// The one place that talks to the operator: message boxes, file dialogs, the beep.
class Prompter {
public:
    virtual ~Prompter() = default;

    virtual MessageBox::Answer ask(const MessageBox& box) = 0;
    virtual FileDialogResult chooseFile(const FileDialogRequest& request) = 0;
    virtual void beep() = 0;

    // A box with an OK button and no icon.
    void tell(const QString& prompt, const QString& title)
    {
        MessageBox box;
        box.prompt = prompt;
        box.title = title;
        ask(box);
    }
};
