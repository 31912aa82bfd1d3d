// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/capturefile.h"
#include "core/modemreply.h"
#include "core/waiter.h"

#include <QObject>
#include <QString>

#include <functional>
#include <optional>

class LinkSession;
class SerialPort;

// What one unattended visit to a panel does.
struct PanelJobPlan {
    enum class Action { Pull, Send };
    // What becomes of a capture file that exists already.
    enum class Existing { Refuse, Append, Replace };

    QString phone;   // none: the panel is on the line directly
    QString setupString;   // the modem's setup line, sent before the dial
    double dialTimeoutSeconds = 60;
    QString code;   // the programming code
    Action action = Action::Pull;
    QString pullWord;   // the request, one of CommandLine's kPull...Word
    QString path;   // the capture file, or the file sent
    Existing existing = Existing::Refuse;
    double quietSeconds = 10;   // a capture ends after this long without a byte
    double maxSeconds = 0;   // and after this long in all; 0 for no limit
    QString byteCycle;   // paces a send as the Setting dialog's ByteCycle does
};

// How a job ended; the numbers are the unattended program's exit codes.
enum class PanelJobResult : int {
    Done = 0,
    Usage = 2,
    PortNotOpened = 3,
    NoCarrier = 4,
    Busy = 5,
    NoDialtone = 6,
    DialTimeout = 7,
    NothingReceived = 8,
    LineLost = 9,
    LineError = 10,
    FileError = 11,
    TeamTables = 12,   // the team database's tables need --team-setup or a newer program
};

// Runs a plan the way an operator works the window: open the port (the
// caller has chosen it), set the modem up and dial, enter programming mode
// as Enter in the code field does, then pull a database into a file or send
// a file paced as DATABASE sends it, then END and close. The lines written
// are the window's for the same steps. Where the window would ask, the job
// takes the safe answer: a line error or a lost line ends it (with END while
// the port is open), a capture that cannot be written is cancelled. Its
// waits and its clock come from a TimerSource, Qt's unless another is given.
class PanelJob : public QObject {
    Q_OBJECT
public:
    explicit PanelJob(LinkSession& session, SerialPort& port, int realMsPerSecond = TickTimer::kRealScale,
                      QObject* parent = nullptr);
    PanelJob(LinkSession& session, SerialPort& port, TimerSource& source, int realMsPerSecond,
             QObject* parent = nullptr);

    PanelJobResult run(const PanelJobPlan& plan);
    // Why the job did not end with Done; one line.
    QString message() const { return m_message; }

signals:
    // After each line of a send, and once before the first with none sent.
    void sendProgress(qint64 sent, qint64 total);
    // Something the job may be waiting for happened.
    void woke();

private:
    enum class Phase { Idle, Dialling, Capturing };

    PanelJobResult work(const PanelJobPlan& plan);
    PanelJobResult checkFiles(const PanelJobPlan& plan);
    PanelJobResult dial(const PanelJobPlan& plan);
    PanelJobResult enterProgramming(const QString& code);
    PanelJobResult pull(const PanelJobPlan& plan);
    PanelJobResult send(const PanelJobPlan& plan);
    void end();

    bool write(const QByteArray& line);
    // Runs the event loop until done() holds, the job failed, or the seconds
    // passed; whether done() held.
    bool waitFor(double seconds, const std::function<bool()>& done);
    bool pause(double seconds);
    void onNotified(int eventCode);
    void received(const QByteArray& bytes);
    // Ends the job from an event (a lost line, a line error, a capture that
    // cannot be written): every wait returns.
    void stop(PanelJobResult result, const QString& message);
    PanelJobResult stopped() const { return m_stop.value_or(PanelJobResult::Done); }
    PanelJobResult fail(PanelJobResult result, const QString& message);
    qint64 nominalMs() const;

    LinkSession& m_session;
    SerialPort& m_port;
    TimerSource& m_source;
    const int m_realMsPerSecond;
    Waiter m_waiter;
    Phase m_phase = Phase::Idle;
    ModemReply m_modem;
    CaptureFile m_capture;
    qint64 m_captured = 0;
    qint64 m_startMs = 0;   // the source's time when the job started
    qint64 m_lastByteMs = 0;   // nominal, when the last byte came
    std::optional<PanelJobResult> m_stop;
    QString m_message;
};
