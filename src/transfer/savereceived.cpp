// SPDX-License-Identifier: GPL-3.0-or-later
#include "savereceived.h"

#include "files/textfile.h"
#include "form/form1context.h"
#include "form/receivepane.h"
#include "platform/prompter.h"

#include <QDir>

const QString SaveReceived::kFilter = QStringLiteral("txt Files (*.txt)|*.txt");

SaveReceived::SaveReceived(Form1Context& ctx, QObject* parent) : QObject(parent), m_ctx(ctx) {}

// Written as the other text files are: a text with characters an 8-bit file
// cannot hold is refused and the old file stays as it was.
void SaveReceived::save_received_Click()
{
    ReceivePane& pane = *m_ctx.ui.Text1;
    const QString text = pane.text();
    if (text.isEmpty()) {
        m_ctx.platform.prompter.tell(QStringLiteral("Invalid file"), QStringLiteral("Save file"));
        return;
    }
    FileDialogRequest request;
    request.mode = FileDialogRequest::Mode::Save;
    request.filter = kFilter;
    request.fileName = m_fileName;
    request.hideReadOnly = true;
    const FileDialogResult chosen = m_ctx.platform.prompter.chooseFile(request);
    if (!chosen.chosen())
        return;
    m_fileName = chosen.path;
    pane.setFocus();
    QString error;
    if (!TextFile::write(chosen.path, text + TextFile::kCrLf, error))
        reportFailure(error, chosen.path);
}

void SaveReceived::reportFailure(const QString& description, const QString& path)
{
    MessageBox box;
    box.prompt = description;
    box.detail = QStringLiteral("The received text was not saved to %1.").arg(QDir::toNativeSeparators(path));
    box.title = m_ctx.settings.title();
    box.icon = MessageBox::Icon::Exclamation;
    m_ctx.platform.prompter.ask(box);
}
