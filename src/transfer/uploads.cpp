// SPDX-License-Identifier: GPL-3.0-or-later
#include "uploads.h"

#include "commands/connectionguard.h"
#include "core/commandline.h"
#include "form/form1context.h"
#include "link/capturelog.h"

#include <QApplication>
#include <QPointer>
#include <QPushButton>

const QString Uploads::kEventTitle = QStringLiteral("Open Communications Log Event File");
const QString Uploads::kEventFilter = QStringLiteral("EVR Files (*.EVR)|*.EVR");
const QString Uploads::kTenantTitle = QStringLiteral("Open Communications Log Tenant File");
const QString Uploads::kTenantFilter = QStringLiteral("TNT Files (*.TNT)|*.TNT");

Uploads::Uploads(Form1Context& ctx, CaptureLog& log, QObject* parent)
    : QObject(parent), m_ctx(ctx), m_log(log)
{}

void Uploads::up_all_Click()
{
    request(CommandLine::kPullAllWord, SendButton::Enable);
}

void Uploads::up_par_Click()
{
    request(CommandLine::kPullParametersWord, SendButton::Leave);
}

void Uploads::up_evr_Click()
{
    captureAndRequest(CommandLine::kPullEventsWord, kEventTitle, kEventFilter);
}

void Uploads::up_tnt_Click()
{
    captureAndRequest(CommandLine::kPullTenantsWord, kTenantTitle, kTenantFilter);
}

void Uploads::request(const QString& word, SendButton send)
{
    m_ctx.ui.Command3->hide();
    if (!sendGuarded(m_ctx, CommandLine::command(word)))
        return;
    if (send == SendButton::Enable)
        m_ctx.ui.download->setEnabled(true);
}

// Whatever capture is open ends first, so the new file holds only this
// upload. Without a file (dialog cancelled, file not opened) the request still
// goes and the answer reaches the receive pane only. A request the port
// refuses asked for nothing: the file is closed again and the window is left
// as it was.
void Uploads::captureAndRequest(const QString& word, const QString& title, const QString& filter)
{
    m_ctx.capture.close();
    m_ctx.ui.Command3->hide();
    if (!connectionGuard(m_ctx))
        return;
    const bool sendWasEnabled = m_ctx.ui.download->isEnabled();
    const QPointer<QWidget> focus = QApplication::focusWidget();
    m_ctx.ui.download->setEnabled(true);
    switch (m_log.open_capture_file(title, filter)) {
    case CaptureOpen::Opened: offerCloseButton(); break;
    case CaptureOpen::Cancelled:
    case CaptureOpen::OpenFailed: break;
    case CaptureOpen::Aborted: return;
    }
    if (writeOrTell(m_ctx, CommandLine::command(word)))
        return;
    m_ctx.capture.close();
    m_ctx.ui.Command3->hide();
    m_ctx.ui.download->setEnabled(sendWasEnabled);
    if (focus)
        focus->setFocus();
}

void Uploads::offerCloseButton()
{
    QPushButton* close = m_ctx.ui.Command3;
    close->show();
    close->setFocus();
    close->setEnabled(true);
}
