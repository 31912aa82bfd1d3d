// SPDX-License-Identifier: GPL-3.0-or-later
#include "paneljob.h"

#include "core/commandline.h"
#include "core/linepacing.h"
#include "core/linksession.h"
#include "core/panellink.h"
#include "core/receivetext.h"
#include "core/safeanswers.h"
#include "core/tenantsend.h"
#include "platform/eightbit.h"
#include "platform/serialport.h"

#include <QFile>
#include <QFileInfo>

#include <cmath>

PanelJob::PanelJob(LinkSession& session, SerialPort& port, int realMsPerSecond, QObject* parent)
    : PanelJob(session, port, TimerSource::qt(), realMsPerSecond, parent)
{}

PanelJob::PanelJob(LinkSession& session, SerialPort& port, TimerSource& source, int realMsPerSecond,
                   QObject* parent)
    : QObject(parent),
      m_session(session),
      m_port(port),
      m_source(source),
      m_realMsPerSecond(realMsPerSecond),
      m_waiter(source, realMsPerSecond)
{
    connect(&session, &LinkSession::notified, this, &PanelJob::onNotified);
    connect(&session, &LinkSession::lineLost, this,
            [this] { stop(PanelJobResult::LineLost, QStringLiteral("The line to the panel was lost.")); });
    connect(&session, &LinkSession::lineError, this, [this](int eventCode) {
        stop(PanelJobResult::LineError,
             QStringLiteral("Line error: %1.").arg(SerialPort::lineErrorText(eventCode)));
    });
}

PanelJobResult PanelJob::run(const PanelJobPlan& plan)
{
    m_startMs = m_source.elapsedMs();
    const PanelJobResult result = work(plan);
    end();
    m_capture.close();
    return result;
}

PanelJobResult PanelJob::work(const PanelJobPlan& plan)
{
    if (const PanelJobResult checked = checkFiles(plan); checked != PanelJobResult::Done)
        return checked;
    PanelLink::setUp(m_port);
    const OpenResult opened = m_session.open();
    if (!opened.ok()) {
        return fail(PanelJobResult::PortNotOpened, PanelLink::openFailure(opened).replace(u'\n', u' '));
    }
    if (!plan.phone.isEmpty()) {
        if (const PanelJobResult dialled = dial(plan); dialled != PanelJobResult::Done)
            return dialled;
    }
    if (const PanelJobResult entered = enterProgramming(plan.code); entered != PanelJobResult::Done)
        return entered;
    return plan.action == PanelJobPlan::Action::Pull ? pull(plan) : send(plan);
}

// Refused before anything is written: a capture that would overwrite a file
// unasked, a file to send that cannot be read or holds no line.
PanelJobResult PanelJob::checkFiles(const PanelJobPlan& plan)
{
    if (plan.action == PanelJobPlan::Action::Pull) {
        if (QFileInfo::exists(plan.path) && plan.existing == PanelJobPlan::Existing::Refuse) {
            return fail(PanelJobResult::FileError,
                        QStringLiteral("%1 exists: give --append or --replace.").arg(plan.path));
        }
        return PanelJobResult::Done;
    }
    TenantSend sending(plan.path);
    if (!sending.count())
        return fail(PanelJobResult::FileError, QStringLiteral("%1: %2").arg(plan.path, sending.error()));
    if (sending.total() == 0)
        return fail(PanelJobResult::FileError, QStringLiteral("%1 holds no line to send.").arg(plan.path));
    return PanelJobResult::Done;
}

// The window's lines: the setup line, a pause, the dial. Then nothing goes
// out until the modem has answered, since a character would end its dial.
PanelJobResult PanelJob::dial(const PanelJobPlan& plan)
{
    m_modem = ModemReply();
    m_phase = Phase::Dialling;
    PanelLink::DialHooks hooks;
    hooks.pause = [this](double seconds) { return pause(seconds); };
    hooks.write = [this](const QByteArray& line) { return write(line); };
    const auto phone = [&plan] { return plan.phone; };
    const bool dialled = PanelLink::dial(plan.setupString, phone, hooks) == PanelLink::DialResult::Dialled;
    const bool answered = dialled && waitFor(plan.dialTimeoutSeconds, [this] {
                              return m_modem.result() != ModemReply::Result::Pending;
                          });
    m_phase = Phase::Idle;
    if (stopped() != PanelJobResult::Done)
        return stopped();
    if (!dialled)
        return fail(PanelJobResult::LineLost, QStringLiteral("The port refused the modem's lines."));
    if (!answered) {
        return fail(PanelJobResult::DialTimeout,
                    QStringLiteral("The modem did not connect within %1 s.").arg(plan.dialTimeoutSeconds));
    }
    switch (m_modem.result()) {
    case ModemReply::Result::Connect: return PanelJobResult::Done;
    case ModemReply::Result::Busy:
        return fail(PanelJobResult::Busy, QStringLiteral("The modem answered BUSY."));
    case ModemReply::Result::NoDialtone:
        return fail(PanelJobResult::NoDialtone, QStringLiteral("The modem answered NO DIALTONE."));
    case ModemReply::Result::NoCarrier:
    case ModemReply::Result::Pending: break;
    }
    return fail(PanelJobResult::NoCarrier, QStringLiteral("The modem answered NO CARRIER."));
}

// As Enter in the code field: the programming line six times back to back.
// The panel's answers to them are let pass before the action, so that a
// capture holds only what was asked for.
PanelJobResult PanelJob::enterProgramming(const QString& code)
{
    const auto write = [this](const QByteArray& line) { return this->write(line); };
    if (!PanelLink::enterProgramming(m_session, code, PanelLink::kProgrammingWrites, write))
        return fail(PanelJobResult::LineLost, QStringLiteral("The port refused the programming line."));
    pause(PanelLink::kDialPauseSeconds);
    m_port.readAll();
    return stopped();
}

PanelJobResult PanelJob::pull(const PanelJobPlan& plan)
{
    if (plan.existing == PanelJobPlan::Existing::Replace && QFileInfo::exists(plan.path)
        && !QFile::resize(plan.path, 0)) {
        return fail(PanelJobResult::FileError, QStringLiteral("%1 cannot be emptied.").arg(plan.path));
    }
    if (!m_capture.open(plan.path))
        return fail(PanelJobResult::FileError,
                    QStringLiteral("%1: %2").arg(plan.path, m_capture.errorString()));
    m_captured = 0;
    m_phase = Phase::Capturing;
    if (!write(CommandLine::command(plan.pullWord)))
        return fail(PanelJobResult::LineLost, QStringLiteral("The port refused the request."));
    const qint64 requestedMs = nominalMs();
    const bool anything = waitFor(plan.quietSeconds, [this] { return m_captured > 0; });
    if (stopped() != PanelJobResult::Done)
        return stopped();
    if (!anything) {
        return fail(PanelJobResult::NothingReceived,
                    QStringLiteral("Nothing came within %1 s of the request: is the code right?")
                        .arg(plan.quietSeconds));
    }
    const qint64 quietMs = qint64(std::llround(plan.quietSeconds * 1000));
    const qint64 endMs =
        plan.maxSeconds > 0 ? requestedMs + qint64(std::llround(plan.maxSeconds * 1000)) : -1;
    for (;;) {
        qint64 untilMs = m_lastByteMs + quietMs;
        if (endMs >= 0)
            untilMs = std::min(untilMs, endMs);
        const qint64 leftMs = untilMs - nominalMs();
        if (leftMs <= 0)
            break;
        waitFor(double(leftMs) / 1000, [] { return false; });
        if (stopped() != PanelJobResult::Done)
            return stopped();
    }
    m_phase = Phase::Idle;
    return PanelJobResult::Done;
}

// As DATABASE: every line that is not empty, each after the ByteCycle's pause.
// However it ends, the send is over for the session.
PanelJobResult PanelJob::send(const PanelJobPlan& plan)
{
    TenantSend sending(plan.path);
    if (!sending.count())
        return fail(PanelJobResult::FileError, QStringLiteral("%1: %2").arg(plan.path, sending.error()));
    const LinePacing pacing(plan.byteCycle);
    TenantSend::Hooks hooks;
    hooks.pacing = [&pacing] { return pacing; };
    hooks.pause = [this](double seconds) { return pause(seconds); };
    hooks.write = [this](const QByteArray& line) { return write(line); };
    hooks.started = [this, &sending] {
        m_session.sendingStarted();
        emit sendProgress(0, sending.total());
    };
    hooks.lineSent = [this, &sending](qint64 sent, double) { emit sendProgress(sent, sending.total()); };
    const TenantSend::Outcome outcome = sending.run(hooks);
    m_session.sendingEnded();
    if (outcome == TenantSend::Outcome::Refused)
        return fail(PanelJobResult::LineLost,
                    QStringLiteral("The port refused line %1.").arg(sending.sent() + 1));
    if (stopped() != PanelJobResult::Done)
        return stopped();
    if (outcome == TenantSend::Outcome::Unreadable)
        return fail(PanelJobResult::FileError, QStringLiteral("%1: %2").arg(plan.path, sending.error()));
    return PanelJobResult::Done;
}

// As Disconnect: END while the port is open, then close.
void PanelJob::end()
{
    m_phase = Phase::Idle;
    if (!m_session.isOpen())
        return;
    write(CommandLine::command(CommandLine::kEndWord));
    m_session.close();
}

bool PanelJob::write(const QByteArray& line)
{
    return m_session.write(line);
}

bool PanelJob::waitFor(double seconds, const std::function<bool()>& done)
{
    if (done() || m_stop)
        return done();
    const std::unique_ptr<SourceLoop> loop = m_source.newLoop();
    const std::unique_ptr<SourceTimer> deadline = m_source.newTimer();
    connect(deadline.get(), &SourceTimer::timeout, deadline.get(), [&] {
        deadline->stop();
        loop->quit();
    });
    connect(this, &PanelJob::woke, deadline.get(), [&] {
        if (done() || m_stop)
            loop->quit();
    });
    deadline->start(int(std::ceil(seconds * m_realMsPerSecond)));
    loop->exec();
    return done();
}

bool PanelJob::pause(double seconds)
{
    if (!m_stop)
        m_waiter.wait_seconds(seconds);
    return !m_stop;
}

void PanelJob::onNotified(int eventCode)
{
    if (eventCode == SerialPort::kDataReceived)
        received(m_port.readAll());
}

// The modem's answer while it dials; the capture's bytes as the window
// captures them; anything else is let pass.
void PanelJob::received(const QByteArray& bytes)
{
    if (bytes.isEmpty())
        return;
    if (m_phase == Phase::Dialling) {
        m_modem.take(bytes);
    } else if (m_phase == Phase::Capturing) {
        m_captured += bytes.size();
        m_lastByteMs = nominalMs();
        const QByteArray text = EightBit::encode(ReceiveText::normalise(EightBit::decode(bytes)).text);
        SafeAnswers nobody;
        if (!m_capture.writeOrAsk(text, nobody, QString()))
            stop(PanelJobResult::FileError,
                 QStringLiteral("%1: %2").arg(m_capture.path(), nobody.lastPrompt));
    }
    emit woke();
}

void PanelJob::stop(PanelJobResult result, const QString& message)
{
    if (!m_stop) {
        m_stop = result;
        m_message = message;
    }
    m_waiter.stopAll();
    emit woke();
}

PanelJobResult PanelJob::fail(PanelJobResult result, const QString& message)
{
    if (m_message.isEmpty())
        m_message = message;
    return result;
}

qint64 PanelJob::nominalMs() const
{
    return (m_source.elapsedMs() - m_startMs) * TickTimer::kRealScale / m_realMsPerSecond;
}
