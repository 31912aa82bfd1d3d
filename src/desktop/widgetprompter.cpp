// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgetprompter.h"

#include "dialogowner.h"
#include "platform/filefilter.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

namespace {

QMessageBox::StandardButtons buttonsFor(MessageBox::Buttons buttons)
{
    switch (buttons) {
    case MessageBox::Buttons::Ok: return QMessageBox::Ok;
    case MessageBox::Buttons::OkCancel: return QMessageBox::Ok | QMessageBox::Cancel;
    case MessageBox::Buttons::YesNo: return QMessageBox::Yes | QMessageBox::No;
    case MessageBox::Buttons::YesNoCancel: return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case MessageBox::Buttons::RetryCancel: return QMessageBox::Retry | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

QMessageBox::Icon iconFor(MessageBox::Icon icon)
{
    switch (icon) {
    case MessageBox::Icon::None: return QMessageBox::NoIcon;
    case MessageBox::Icon::Information: return QMessageBox::Information;
    case MessageBox::Icon::Question: return QMessageBox::Question;
    case MessageBox::Icon::Exclamation: return QMessageBox::Warning;
    case MessageBox::Icon::Critical: return QMessageBox::Critical;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButton buttonFor(MessageBox::Answer answer)
{
    switch (answer) {
    case MessageBox::Answer::Ok: return QMessageBox::Ok;
    case MessageBox::Answer::Cancel: return QMessageBox::Cancel;
    case MessageBox::Answer::Yes: return QMessageBox::Yes;
    case MessageBox::Answer::No: return QMessageBox::No;
    case MessageBox::Answer::Retry: return QMessageBox::Retry;
    }
    return QMessageBox::Ok;
}

// The answer for a box closed without a button: Cancel where there is one,
// else No, else OK.
MessageBox::Answer escapeAnswer(QMessageBox::StandardButtons buttons)
{
    if (buttons & QMessageBox::Cancel)
        return MessageBox::Answer::Cancel;
    if (buttons & QMessageBox::No)
        return MessageBox::Answer::No;
    return MessageBox::Answer::Ok;
}

MessageBox::Answer answerFor(int button, QMessageBox::StandardButtons buttons)
{
    switch (button) {
    case QMessageBox::Ok: return MessageBox::Answer::Ok;
    case QMessageBox::Cancel: return MessageBox::Answer::Cancel;
    case QMessageBox::Yes: return MessageBox::Answer::Yes;
    case QMessageBox::No: return MessageBox::Answer::No;
    case QMessageBox::Retry: return MessageBox::Answer::Retry;
    default: return escapeAnswer(buttons);
    }
}

void setUpFilters(QFileDialog& dialog, const FileDialogRequest& request)
{
    const QStringList filters = qtNameFilters(request.filter);
    if (filters.isEmpty())
        return;
    dialog.setNameFilters(filters);
    const int index =
        request.filterIndex >= 1 && request.filterIndex <= filters.size() ? request.filterIndex - 1 : 0;
    dialog.selectNameFilter(filters[index]);
}

void setUpMode(QFileDialog& dialog, const FileDialogRequest& request)
{
    if (request.mode == FileDialogRequest::Mode::Save) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
        dialog.setDefaultSuffix(QString());
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(request.mustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    }
}

}   // namespace

MessageBox::Answer WidgetPrompter::ask(const MessageBox& box)
{
    const QMessageBox::StandardButtons buttons = buttonsFor(box.buttons);
    QMessageBox dialog(iconFor(box.icon), box.title, box.prompt, buttons, dialogOwner(m_parent));
    dialog.setTextFormat(Qt::PlainText);
    if (!box.detail.isEmpty())
        dialog.setInformativeText(box.detail);
    const QMessageBox::StandardButton preferred = buttonFor(box.defaultButton);
    if (buttons & preferred)
        dialog.setDefaultButton(preferred);
    return answerFor(dialog.exec(), buttons);
}

// hideReadOnly has nothing to act on: Qt's dialog has no read-only box.
FileDialogResult WidgetPrompter::chooseFile(const FileDialogRequest& request)
{
    QFileDialog dialog(dialogOwner(m_parent), request.title);
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    setUpMode(dialog, request);
    setUpFilters(dialog, request);
    if (!request.fileName.isEmpty())
        dialog.selectFile(request.fileName);

    FileDialogResult result;
    const QStringList files = dialog.exec() == QDialog::Accepted ? dialog.selectedFiles() : QStringList();
    if (files.isEmpty())
        return result;
    result.outcome = FileDialogResult::Outcome::Chosen;
    result.path = files.first();
    return result;
}

void WidgetPrompter::beep()
{
    QApplication::beep();
}
