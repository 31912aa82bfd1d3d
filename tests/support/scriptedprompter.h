// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/prompter.h"

#include <QList>
#include <QQueue>
#include <QStringList>
#include <functional>

// Records every box and dialog and answers them from a script. A box with no
// scripted answer gets its default button; a dialog with none is cancelled.
class ScriptedPrompter : public Prompter {
public:
    MessageBox::Answer ask(const MessageBox& box) override;
    FileDialogResult chooseFile(const FileDialogRequest& request) override;
    void beep() override { ++beeps; }

    void answer(MessageBox::Answer a) { answers.enqueue(a); }
    void choose(const QString& path);
    void cancelDialog();
    // The prompts of the boxes shown, in order.
    QStringList prompts() const;

    // Runs when a box is shown, before it is answered (to look at the window then).
    std::function<void(const MessageBox&)> onBox;
    // Runs while a file dialog is open, before it is answered.
    std::function<void(const FileDialogRequest&)> onDialog;

    QList<MessageBox> boxes;
    QList<FileDialogRequest> dialogs;
    QQueue<MessageBox::Answer> answers;
    QQueue<FileDialogResult> dialogResults;
    int beeps = 0;
};
