// SPDX-License-Identifier: GPL-3.0-or-later
#include "tenantmenu.h"

#include "files/fileerrorbox.h"
#include "files/tenanteditor.h"
#include "files/tenantfile.h"
#include "files/textfile.h"
#include "form/form1context.h"
#include "platform/prompter.h"

#include <QMainWindow>

const QString TenantMenu::kOpenFilter = QStringLiteral("All Files (*.*)|*.*|TNT Files(*.TNT)|*.TNT");

namespace {
constexpr int kTenantFilterIndex = 2;
}   // namespace

TenantMenu::TenantMenu(Form1Context& ctx, QObject* parent)
    : QObject(parent), runModal([](TenantEditor& editor) { editor.exec(); }), m_ctx(ctx)
{}

void TenantMenu::showEditor(int digits)
{
    TenantEditor editor(digits, m_ctx.platform, m_ctx.settings, m_pending, m_ctx.window);
    editor.Form_Load();
    runModal(editor);
}

// The dialog opens with an empty file name, so a cancel leaves no file for
// the next New Tenant Database; a chosen file stays pending even when no
// editor fits it, unless it is too large to open at all. Reading stops at the
// line that decides the editor.
void TenantMenu::open_send_Click()
{
    m_pending.clear();
    FileDialogRequest request;
    request.mode = FileDialogRequest::Mode::Open;
    request.filter = kOpenFilter;
    request.filterIndex = kTenantFilterIndex;
    const FileDialogResult result = m_ctx.platform.prompter.chooseFile(request);
    if (!result.chosen())
        return;
    m_pending.set(result.path);
    TenantFile::DigitCount count;
    QString refusal;
    const auto take = [&count](const QString& line) { return count.take(line); };
    if (!TextFile::forEachLine(result.path, take, refusal)) {
        if (!refusal.isEmpty()) {
            m_pending.clear();
            m_ctx.platform.prompter.ask(fileErrorBox(refusal, m_ctx.settings.title()));
        }
        return;
    }
    if (count.digits() != 0)
        showEditor(count.digits());
}
