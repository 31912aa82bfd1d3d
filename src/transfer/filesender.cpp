// SPDX-License-Identifier: GPL-3.0-or-later
#include "filesender.h"

#include "commands/connectionguard.h"
#include "core/commandline.h"
#include "core/linepacing.h"
#include "core/linksession.h"
#include "core/waiter.h"
#include "desktop/maskedfield.h"
#include "files/fileerrorbox.h"
#include "form/form1context.h"
#include "link/modemsettings.h"
#include "platform/eightbit.h"
#include "platform/linereader.h"
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

// Two passes: the first counts the lines for the progress bar, the second
// sends them. The file is opened anew for the second, as it may have changed.
void FileSender::sendFile(const QString& path)
{
    LineReader counter(path);
    const qint64 total = counter.open() ? counter.countNonEmpty() : 0;
    if (counter.failed())
        return reportFailure(counter.error(), path);
    if (total == 0)
        return;

    m_progress.begin(total, pacing().secondsFor(total));
    LineReader reader(path);
    if (reader.open()) {
        QByteArrayView line;
        while (m_ctx.session.isSendArmed() && reader.next(line)) {
            if (!line.isEmpty() && !sendAfterPause(line, total))
                return;
        }
    }
    if (reader.failed())
        return reportFailure(reader.error(), path);
    m_progress.end();
}

bool FileSender::sendAfterPause(QByteArrayView line, qint64 total)
{
    m_progress.waiting();
    const LinePacing pause = pacing();
    m_ctx.waiter.wait_seconds(pause.waitSeconds());
    if (m_ctx.session.state() == LinkSession::State::Closing)
        return false;   // the window is closing: stop without a word
    if (!sendGuarded(m_ctx, CommandLine::line(EightBit::decode(line.toByteArray())))) {
        m_progress.end();
        return false;
    }
    ++m_sent;
    m_progress.lineSent(m_sent, pause.secondsFor(total - m_sent));
    return true;
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
