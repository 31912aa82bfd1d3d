// SPDX-License-Identifier: GPL-3.0-or-later
#include "capturelog.h"

#include "core/fileexistence.h"
#include "form/form1context.h"
#include "platform/prompter.h"

#include <QAction>
#include <QDir>
#include <QFile>

const QString CaptureLog::kTitle = QStringLiteral("Open Communications Log File");
const QString CaptureLog::kFilter = QStringLiteral("Log Files (*.LOG)|*.log|All Files (*.*)|*.*");

CaptureLog::CaptureLog(Form1Context& ctx, QObject* parent) : QObject(parent), m_ctx(ctx) {}

// The file may be new: an open dialog that takes any name and asks nothing
// itself; the replace question below is the only one.
CaptureOpen CaptureLog::open_capture_file(const QString& title, const QString& filter)
{
    FileDialogRequest request;
    request.mode = FileDialogRequest::Mode::Open;
    request.mustExist = false;
    request.title = title;
    request.filter = filter;
    request.hideReadOnly = true;

    QString path;
    Target target = Target::AskAgain;
    while (target == Target::AskAgain) {
        request.fileName.clear();
        const FileDialogResult chosen = m_ctx.platform.prompter.chooseFile(request);
        if (chosen.outcome == FileDialogResult::Outcome::Cancelled)
            return CaptureOpen::Cancelled;
        if (chosen.outcome == FileDialogResult::Outcome::Failed) {
            warn(chosen.error);
            return CaptureOpen::Aborted;
        }
        path = chosen.path;
        const FileExistence existence = FileExistence::of(path);
        if (existence.failed()) {
            warn(existence.error, path);
            return CaptureOpen::Aborted;
        }
        target = existence.exists ? askAboutExisting(path) : Target::Missing;
    }

    if (target == Target::Replace) {
        QFile old(path);
        if (!old.remove()) {
            warn(old.errorString(), path);
            return CaptureOpen::Aborted;
        }
    }
    if (!m_ctx.capture.open(path)) {
        warn(m_ctx.capture.errorString(), path);
        m_ctx.capture.close();
        return CaptureOpen::OpenFailed;
    }
    return CaptureOpen::Opened;
}

// No is the default: appending keeps everything.
CaptureLog::Target CaptureLog::askAboutExisting(const QString& path)
{
    MessageBox box;
    box.prompt =
        QStringLiteral("Replace existing file - ") + QDir::toNativeSeparators(path) + QStringLiteral("?");
    box.title = m_ctx.settings.title();
    box.buttons = MessageBox::Buttons::YesNoCancel;
    box.icon = MessageBox::Icon::Question;
    box.defaultButton = MessageBox::Answer::No;
    switch (m_ctx.platform.prompter.ask(box)) {
    case MessageBox::Answer::Yes: return Target::Replace;
    case MessageBox::Answer::No: return Target::Append;
    default: return Target::AskAgain;
    }
}

void CaptureLog::warn(const QString& description, const QString& path)
{
    MessageBox box;
    box.prompt = description;
    box.detail = QDir::toNativeSeparators(path);
    box.title = m_ctx.settings.title();
    box.icon = MessageBox::Icon::Exclamation;
    m_ctx.platform.prompter.ask(box);
}

void CaptureLog::mnuOpenLog_Click()
{
    if (open_capture_file(kTitle, kFilter) == CaptureOpen::Opened)
        setCapturing(true);
}

void CaptureLog::mnuCloseLog_Click()
{
    m_ctx.capture.close();
    setCapturing(false);
}

void CaptureLog::setCapturing(bool capturing)
{
    m_ctx.ui.mnuOpenLog->setEnabled(!capturing);
    m_ctx.ui.mnuCloseLog->setEnabled(capturing);
}
