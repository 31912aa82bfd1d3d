// SPDX-License-Identifier: GPL-3.0-or-later
#include "filesender.h"

#include "commands/connectionguard.h"
#include "core/linepacing.h"
#include "core/linksession.h"
#include "core/waiter.h"
#include "desktop/maskedfield.h"
#include "files/fileerrorbox.h"
#include "form/form1context.h"
#include "link/modemsettings.h"
#include "platform/prompter.h"

#include <QDir>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QScopedValueRollback>

const QString FileSender::kDialogTitle = QStringLiteral("Open Communication File");
const QString FileSender::kFilter = QStringLiteral("All Files (*.*)|*.*|TNT Files(*.TNT)|*.TNT");

namespace {

constexpr int kTenantFilter = 2;

// What "SEND" unlocks, in this order.
QList<QWidget*> sendControls(const Form1Ui& ui)
{
    return {ui.rtrtc,       ui.medit1,
            ui.MEDITTNT,    ui.Date,
            ui.medit2,      ui.medit3,
            ui.medit7,      ui.medit8,
            ui.cleartnt,    ui.sendfileg,
            ui.dtmf,        ui.opendtmf,
            ui.um,          ui.up,
            ui.message,     ui.uptalktime,
            ui.opentime1,   ui.opentime2,
            ui.manualdoor1, ui.manualdoor2,
            ui.Newmastcode, ui.Medit_New_mastercode,
            ui.clearevr};
}

}   // namespace

FileSender::FileSender(Form1Context& ctx, QObject* parent) : QObject(parent), m_ctx(ctx), m_progress(ctx) {}

void FileSender::download_Click()
{
    if (!connectionGuard(m_ctx))
        return;
    Form1Ui& ui = m_ctx.ui;
    ui.Frame4->setEnabled(true);
    // A send that Disconnect stopped in its pause goes on when the port was
    // opened again meanwhile.
    if (m_sending)
        m_ctx.session.sendingStarted();
    for (QWidget* control : sendControls(ui))
        control->setEnabled(true);
    ui.MEDITTNT->setFocus();
}

// A click while a file is being sent (the window stays usable during the
// pauses) only beeps: two sends must not share the line and the progress bar.
void FileSender::sendfileg_Click()
{
    if (m_sending) {
        m_ctx.platform.prompter.beep();
        return;
    }
    m_sent = 0;
    if (!connectionGuard(m_ctx))
        return;
    const QString path = chooseFile();
    if (path.isEmpty())
        return;
    m_ctx.session.sendingStarted();
    const QScopedValueRollback<bool> sending(m_sending, true);
    sendFile(path);
    m_ctx.session.sendingEnded();
}

QString FileSender::chooseFile()
{
    FileDialogRequest request;
    request.mode = FileDialogRequest::Mode::Open;
    request.title = kDialogTitle;
    request.filter = kFilter;
    request.filterIndex = kTenantFilter;
    request.hideReadOnly = true;
    const FileDialogResult chosen = m_ctx.platform.prompter.chooseFile(request);
    if (chosen.outcome == FileDialogResult::Outcome::Failed)
        reportFailure(chosen.error, QString());
    return chosen.chosen() ? chosen.path : QString();
}

// The bar shows before the second pass opens the file.
void FileSender::sendFile(const QString& path)
{
    TenantSend sending(path);
    if (!sending.count())
        return reportFailure(sending.error(), path);
    if (sending.total() == 0)
        return;
    m_progress.begin(sending.total(), pacing().secondsFor(sending.total()));
    switch (sending.run(hooks())) {
    case TenantSend::Outcome::Stopped: return;   // the window is closing: stop without a word
    case TenantSend::Outcome::Unreadable: return reportFailure(sending.error(), path);
    case TenantSend::Outcome::Ended:
    case TenantSend::Outcome::Refused:   // the guard has told why
        m_progress.end();
        return;
    }
}

// The send goes on while it is armed, through pauses in which the window
// stays usable; each line passes the connection guard.
TenantSend::Hooks FileSender::hooks()
{
    TenantSend::Hooks hooks;
    hooks.pacing = [this] { return pacing(); };
    hooks.pause = [this](double seconds) {
        m_ctx.waiter.wait_seconds(seconds);
        return m_ctx.session.state() != LinkSession::State::Closing;
    };
    hooks.write = [this](const QByteArray& line) { return sendGuarded(m_ctx, line); };
    hooks.goOn = [this] { return m_ctx.session.isSendArmed(); };
    hooks.waiting = [this] { m_progress.waiting(); };
    hooks.lineSent = [this](qint64 sent, double secondsLeft) {
        m_sent = sent;
        m_progress.lineSent(sent, secondsLeft);
    };
    return hooks;
}

// Read before every line, so a ByteCycle changed during a send applies at once.
LinePacing FileSender::pacing() const
{
    return LinePacing(m_ctx.modem.byteCycle());
}

void FileSender::reportFailure(const QString& description, const QString& path)
{
    m_progress.end();
    MessageBox box = fileErrorBox(description, m_ctx.settings.title());
    box.detail = QDir::toNativeSeparators(path);
    m_ctx.platform.prompter.ask(box);
}
