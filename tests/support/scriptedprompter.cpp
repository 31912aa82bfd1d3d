// SPDX-License-Identifier: GPL-3.0-or-later
#include "scriptedprompter.h"

MessageBox::Answer ScriptedPrompter::ask(const MessageBox& box)
{
    boxes.append(box);
    if (onBox)
        onBox(box);
    return answers.isEmpty() ? box.defaultButton : answers.dequeue();
}

FileDialogResult ScriptedPrompter::chooseFile(const FileDialogRequest& request)
{
    dialogs.append(request);
    if (onDialog)
        onDialog(request);
    if (dialogResults.isEmpty())
        return FileDialogResult{};
    return dialogResults.dequeue();
}

void ScriptedPrompter::choose(const QString& path)
{
    dialogResults.enqueue(FileDialogResult{FileDialogResult::Outcome::Chosen, path, QString()});
}

void ScriptedPrompter::cancelDialog()
{
    dialogResults.enqueue(FileDialogResult{FileDialogResult::Outcome::Cancelled, QString(), QString()});
}

QStringList ScriptedPrompter::prompts() const
{
    QStringList out;
    for (const MessageBox& box : boxes)
        out << box.prompt;
    return out;
}
