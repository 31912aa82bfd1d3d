// SPDX-License-Identifier: GPL-3.0-or-later
// The core's link in virtual time, without a window: the port opened and
// closed, programming lines, commands with any values, pull requests, files
// sent paced by the waits or by an unattended job, bytes from the far end, a
// lost line and line errors, now or at a later virtual time so that they
// land inside a wait. Every write is one command line the program can send
// (a file's lines and the modem's setup line as they stand); the session
// moves only along its documented transitions; once END has gone out nothing
// more is written until the port is opened again.
//
// Values reach the core only when they pass the checks the window and the
// unattended program make first (CommandLine::fits, the code's length, the
// times' range).
//
// Input: steps, each an operation and its arguments.

#include "fuzzcheck.h"

#include "core/commandline.h"
#include "core/linepacing.h"
#include "core/linksession.h"
#include "core/paneljob.h"
#include "core/panellink.h"
#include "core/waiter.h"
#include "fakeserialport.h"
#include "platform/eightbit.h"
#include "virtualtimersource.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <optional>

namespace {

using Fuzz::require;
using State = LinkSession::State;

// What moved the session. Any: the unattended job, which may do any of the
// others between two looks.
enum class Cause {
    Open,
    Disconnect,
    LineErrorCancel,
    LineLost,
    Programming,
    SendStart,
    SendEnd,
    WindowClosing,
    Nothing,
    Any
};

// The moves LinkSession's header documents, as state() shows them: a send
// armed on a closed port shows Closed, and goes on as Sending once the port
// is opened again.
bool allowed(Cause cause, State from, State to)
{
    if (from == State::Closing)
        return to == State::Closing;   // the window is closing: for good
    switch (cause) {
    case Cause::Open:
        return to == from || (from == State::Closed && (to == State::Open || to == State::Sending));
    case Cause::Disconnect:
    case Cause::LineErrorCancel:
    case Cause::LineLost: return to == State::Closed;
    case Cause::Programming: return to == (from == State::Open ? State::Programming : from);
    case Cause::SendStart: return to == (from == State::Closed ? State::Closed : State::Sending);
    case Cause::SendEnd:
        return from == State::Sending ? to == State::Open || to == State::Programming : to == from;
    case Cause::WindowClosing: return to == State::Closing;
    case Cause::Nothing: return to == from;
    case Cause::Any: break;
    }
    for (Cause one : {Cause::Open, Cause::Disconnect, Cause::Programming, Cause::SendStart, Cause::SendEnd,
                      Cause::WindowClosing}) {
        if (allowed(one, from, to))
            return true;
    }
    return false;
}

template <typename T>
const T& pickOf(FuzzedDataProvider& in, const QList<T>& from)
{
    return from.at(in.ConsumeIntegralInRange<qsizetype>(0, from.size() - 1));
}

QString someText(FuzzedDataProvider& in, size_t maxLength = 16)
{
    const QByteArray bytes = QByteArray::fromStdString(in.ConsumeRandomLengthString(maxLength));
    return in.ConsumeBool() ? EightBit::decode(bytes) : QString::fromUtf8(bytes);
}

// Seconds as the unattended program takes them: above 0, at most a day.
double someSeconds(FuzzedDataProvider& in)
{
    return in.ConsumeBool() ? in.ConsumeIntegralInRange(1, 120)
                            : double(in.ConsumeIntegralInRange(1, 24 * 3600 * 10)) / 10;
}

// The line that ends programming mode. A line sent as it stands (a file's,
// the modem's setup line) that is this alone would be taken for it: none is.
bool isEnd(const QByteArray& line)
{
    return line == CommandLine::kEndWord.toLatin1();
}

// In memory where the system has it: the files are written for nearly every
// input.
const QString& workDir()
{
    static QTemporaryDir dir(QFileInfo(QStringLiteral("/dev/shm")).isWritable()
                                 ? QStringLiteral("/dev/shm/velno-fuzz-XXXXXX")
                                 : QString());
    static const QString path = dir.path();
    return path;
}

class SessionRun {
public:
    explicit SessionRun(FuzzedDataProvider& in) : m_in(in), m_session(m_port), m_waiter(m_time, kMsPerSecond)
    {
        m_port.onWrite = [this](const QByteArray& bytes) { written(bytes); };
        QObject::connect(&m_session, &LinkSession::opened, &m_session, [this] {
            m_afterEnd = false;
            look();
        });
        for (auto signal : {&LinkSession::closed, &LinkSession::lineLost, &LinkSession::dataArrived})
            QObject::connect(&m_session, signal, &m_session, [this] { look(); });
        QObject::connect(&m_session, &LinkSession::lineWritten, &m_session, [this] { look(); });
    }

    void step()
    {
        switch (m_in.ConsumeIntegralInRange(0, 13)) {
        case 0: open(someOpening()); break;
        case 1: enterProgramming(); break;
        case 2: moved(Cause::Nothing, [this] { sendCommand(); }); break;
        case 3: moved(Cause::Nothing, [this] { sendWelcomeMessage(); }); break;
        case 4: moved(Cause::Nothing, [this] { requestPull(); }); break;
        case 5: sendFilePaced(); break;
        case 6: nextEvent()(); break;
        case 7: m_time.singleShot(m_in.ConsumeIntegralInRange(0, 120000), nextEvent()); break;
        case 8: wait(double(m_in.ConsumeIntegralInRange(0, 300)) / 10); break;
        case 9: answerNextWrite(); break;
        case 10: runJob(); break;
        case 11: disconnect(); break;
        case 12: moved(Cause::LineErrorCancel, [this] { m_session.closeAfterLineError(); }); break;
        default: moved(Cause::WindowClosing, [this] { m_session.beginClosing(); }); break;
        }
        look();
        m_sentLines.requireWhole();
    }

private:
    static constexpr int kMsPerSecond = 1000;   // virtual time runs at the program's scale
    static constexpr qint64 kCaptureLimit = 64 * 1024;
    inline static const QStringList kPullWords = {CommandLine::kPullAllWord, CommandLine::kPullParametersWord,
                                                  CommandLine::kPullEventsWord,
                                                  CommandLine::kPullTenantsWord};

    // Whatever has happened since the last look was one of the session's moves.
    void look()
    {
        const State now = m_session.state();
        requireMove(Cause::Any, m_seen, now);
        m_seen = now;
    }

    void moved(Cause cause, const std::function<void()>& act)
    {
        look();
        const State from = m_seen;
        act();
        const State to = m_session.state();
        requireMove(cause, from, to);
        m_seen = to;
    }

    static void requireMove(Cause cause, State from, State to)
    {
        if (!allowed(cause, from, to))
            std::fprintf(stderr, "Cause %d moved the session from %d to %d\n", int(cause), int(from),
                         int(to));
        require(allowed(cause, from, to), "the session moves only along its documented transitions");
    }

    void written(const QByteArray& bytes)
    {
        require(!m_afterEnd, "nothing is written after END until the port is opened again");
        m_sentLines.take(bytes, m_asTheyStand);
        m_afterEnd = bytes == CommandLine::command(CommandLine::kEndWord);
        if (m_answer) {
            m_time.singleShot(m_answer->delayMs, [this, bytes = m_answer->bytes] { receive(bytes); });
            m_answer.reset();
        }
    }

    // Mostly an opening, at times a port some other program holds.
    OpenResult::Error someOpening()
    {
        static const OpenResult::Error kOutcomes[] = {OpenResult::Error::None, OpenResult::Error::None,
                                                      OpenResult::Error::None, OpenResult::Error::Busy};
        return m_in.PickValueInArray(kOutcomes);
    }

    void open(OpenResult::Error outcome)
    {
        m_port.failOpenWith = outcome;
        moved(Cause::Open, [this] { m_session.open(); });
    }

    // As Enter in the code field: a code of at most five characters that fits.
    void enterProgramming()
    {
        const QString code = someText(m_in, PanelLink::kCodeMaxLength);
        const int writes = m_in.ConsumeIntegralInRange(1, PanelLink::kProgrammingWrites);
        if (code.isEmpty() || !CommandLine::fits(code))
            return;
        for (int i = 0; i < writes; ++i)
            m_session.write(CommandLine::programming(code));
        moved(Cause::Programming, [this] { m_session.programmingEntered(); });
    }

    void sendCommand()
    {
        static const QStringList kBare = {QStringLiteral("PAROPN"), QStringLiteral("PAROPB"),
                                          QStringLiteral("KLR EVR")};
        static const QStringList kValued = {QStringLiteral("DAT"),        QStringLiteral("TIM"),
                                            QStringLiteral("PARDTM"),     QStringLiteral("PARTKT"),
                                            QStringLiteral("PARDOT1"),    QStringLiteral("PARDOT2"),
                                            QStringLiteral("PAROHR1"),    QStringLiteral("PAROHR2"),
                                            CommandLine::kMasterCodeWord, QStringLiteral("CLR")};
        if (m_in.ConsumeBool()) {
            m_session.write(CommandLine::command(pickOf(m_in, kBare)));
            return;
        }
        const QString& word = pickOf(m_in, kValued);
        QStringList values;
        for (int n = m_in.ConsumeIntegralInRange(1, 3); n > 0; --n)
            values << someText(m_in);
        if (std::all_of(values.begin(), values.end(), CommandLine::fits))
            m_session.write(CommandLine::command(word, values));
    }

    void sendWelcomeMessage()
    {
        const QString message = someText(m_in, 32);
        if (CommandLine::fits(message))
            m_session.write(CommandLine::welcomeMessage(message));
    }

    // Whatever comes meanwhile, a wait lasts the first tick beyond its seconds.
    void wait(double seconds)
    {
        const qint64 startMs = m_time.elapsedMs();
        m_waiter.wait_seconds(seconds);
        require(m_time.elapsedMs() - startMs == (qint64(seconds) + 1) * kMsPerSecond,
                "a wait ends on the first tick beyond its seconds");
    }

    // As a button of the Receive frame.
    void requestPull() { m_session.write(CommandLine::command(pickOf(m_in, kPullWords))); }

    // A tenant file of a few lines of any bytes, some empty, with any line
    // ends; its lines that are not empty go out as they stand.
    QString writeFile()
    {
        const QString path = workDir() + QStringLiteral("/site.TNT");
        QByteArray text;
        m_asTheyStand.clear();
        for (int n = m_in.ConsumeIntegralInRange(0, 6); n > 0; --n) {
            const QByteArray bytes = QByteArray::fromStdString(m_in.ConsumeRandomLengthString(24));
            for (const QByteArray& part : bytes.split('\n')) {
                for (const QByteArray& line : part.split('\r')) {
                    if (line.isEmpty() || isEnd(line))
                        continue;
                    text += line + m_in.PickValueInArray({"\r\n", "\n", "\r", "\r\n\r\n"});
                    m_asTheyStand << line;
                }
            }
        }
        QFile file(path);
        require(file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(text) == text.size(),
                "the fuzzer's own file is written");
        return path;
    }

    QString byteCycle() { return QString::number(m_in.ConsumeIntegralInRange(0, 200)); }

    // As DATABASE: each line that is not empty after its pause, while the
    // send is armed; a line is written only on an open port.
    void sendFilePaced()
    {
        QFile file(writeFile());
        require(file.open(QIODevice::ReadOnly), "the fuzzer's own file is read");
        const LinePacing pacing(byteCycle());
        moved(Cause::SendStart, [this] { m_session.sendingStarted(); });
        require(m_session.isSendArmed() || m_session.state() == State::Closing, "a send starts armed");
        for (const QByteArray& line : m_asTheyStand) {
            m_waiter.wait_seconds(pacing.waitSeconds());
            if (!m_session.isSendArmed())
                break;
            if (m_session.isOpen())
                m_session.write(CommandLine::line(EightBit::decode(line)));
        }
        moved(Cause::SendEnd, [this] { m_session.sendingEnded(); });
    }

    // As Disconnect: END on an open port, then close; a send is over.
    void disconnect()
    {
        if (m_session.isOpen())
            m_session.write(CommandLine::command(CommandLine::kEndWord));
        moved(Cause::Disconnect, [this] { m_session.close(); });
        require(!m_session.isSendArmed(), "Disconnect ends a send");
    }

    void receive(const QByteArray& bytes)
    {
        if (m_port.isOpen())
            m_port.receive(bytes);
    }

    // What the far end or the operator does, decided now, done when called.
    std::function<void()> nextEvent()
    {
        static const QByteArrayList kReplies = {"CONNECT\r\n",    "CONNECT 1200\r\n", "BUSY\r\n",
                                                "NO CARRIER\r\n", "NO DIALTONE\r\n",  "OK\r\n",
                                                "001 DOOR\r\n"};
        static const int kLineErrors[] = {SerialPort::kOverrun, SerialPort::kReceiveOverflow,
                                          SerialPort::kTransmitFull};
        switch (m_in.ConsumeIntegralInRange(0, 7)) {
        case 0: return [this, bytes = pickOf(m_in, kReplies)] { receive(bytes); };
        case 1:
            return [this, bytes = QByteArray::fromStdString(m_in.ConsumeRandomLengthString(32))] {
                receive(bytes);
            };
        case 2: return [this] { loseLine(); };
        case 3:
            return [this, code = m_in.PickValueInArray(kLineErrors)] {
                if (m_port.isOpen())
                    m_port.raise(code);
            };
        case 4: return [this, outcome = someOpening()] { open(outcome); };
        case 5: return [this] { disconnect(); };
        case 6: return [this, refuse = m_in.ConsumeBool()] { m_port.refuseWrites = refuse; };
        default:
            return [this] { moved(Cause::LineErrorCancel, [this] { m_session.closeAfterLineError(); }); };
        }
    }

    // The device goes away: the port closes itself, then tells.
    void loseLine()
    {
        if (!m_port.isOpen())
            return;
        moved(Cause::LineLost, [this] {
            m_port.close();
            m_port.raise(SerialPort::kLineLost);
        });
    }

    void answerNextWrite()
    {
        static const QByteArrayList kReplies = {"CONNECT\r\n", "BUSY\r\n", "NO CARRIER\r\n",
                                                "NO DIAL TONE\r\n", "T1\r\n"};
        m_answer = Answer{m_in.ConsumeIntegralInRange(0, 5000), pickOf(m_in, kReplies)};
    }

    // The unattended job on the port as it stands, with the values the
    // unattended program accepts.
    void runJob()
    {
        PanelJobPlan plan;
        if (m_in.ConsumeBool())
            plan.phone = someText(m_in, 12);
        plan.setupString = someText(m_in, 12);
        plan.dialTimeoutSeconds = someSeconds(m_in);
        plan.code = someText(m_in, PanelLink::kCodeMaxLength);
        plan.quietSeconds = someSeconds(m_in);
        plan.maxSeconds = m_in.ConsumeBool() ? someSeconds(m_in) : 0;
        plan.byteCycle = byteCycle();
        plan.existing = m_in.PickValueInArray({PanelJobPlan::Existing::Refuse, PanelJobPlan::Existing::Append,
                                               PanelJobPlan::Existing::Replace});
        if (m_in.ConsumeBool()) {
            plan.action = PanelJobPlan::Action::Pull;
            plan.pullWord = pickOf(m_in, kPullWords);
            plan.path = workDir() + QStringLiteral("/capture.txt");
            if (QFileInfo(plan.path).size() > kCaptureLimit)   // appended to by many inputs
                QFile::remove(plan.path);
        } else {
            plan.action = PanelJobPlan::Action::Send;
            plan.path = writeFile();
        }
        if (!CommandLine::fits(plan.phone) || !CommandLine::fits(plan.setupString) || plan.code.isEmpty()
            || !CommandLine::fits(plan.code) || isEnd(EightBit::encode(plan.setupString))) {
            return;
        }
        m_asTheyStand << EightBit::encode(plan.setupString);
        PanelJob job(m_session, m_port, m_time, kMsPerSecond);
        job.run(plan);
        require(!m_session.isOpen(), "a job leaves the port closed");
        require(!m_session.isSendArmed(), "a job leaves no send armed");
    }

    struct Answer {
        int delayMs;
        QByteArray bytes;
    };

    FuzzedDataProvider& m_in;
    VirtualTimerSource m_time;
    FakeSerialPort m_port;
    LinkSession m_session;
    Waiter m_waiter;
    Fuzz::SentLineCheck m_sentLines;
    QByteArrayList m_asTheyStand;   // the lines of the file last written, the job's setup line
    State m_seen = State::Closed;
    bool m_afterEnd = false;
    std::optional<Answer> m_answer;
};

}   // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    Fuzz::startCoreApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider in(data, size);
    SessionRun run(in);
    for (int steps = 0; steps < 64 && in.remaining_bytes() > 0; ++steps)
        run.step();
    return 0;
}
