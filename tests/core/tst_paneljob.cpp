// SPDX-License-Identifier: GPL-3.0-or-later
// An unattended job on a scripted port, in short ticks: the lines it writes,
// what it captures, and how each failure of the line or the modem ends it.
// Then the send and the dial it shares with the window, on hooks that script
// what the job's fixed values cannot: a pacing or a number that changes.
#include "core/commandline.h"
#include "core/linksession.h"
#include "core/paneljob.h"
#include "core/panellink.h"
#include "core/tenantsend.h"
#include "fakeserialport.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

constexpr int kTickMs = 20;   // real milliseconds to the job's second

// What the far end does when a line arrives: answer after a while, lose
// the line, raise a line error, or the port closes without a word.
struct Reaction {
    QByteArray onLine;   // the line, without CR LF, that sets it off
    enum class Kind { Answer, LoseLine, LineError, ClosePort } kind = Kind::Answer;
    QByteArrayList chunks{};   // answered one after another
    int gapMs = 0;   // real time between chunks
};

QByteArray lines(const QByteArrayList& texts)
{
    QByteArray all;
    for (const QByteArray& text : texts)
        all += text + "\r\n";
    return all;
}

const QByteArray kProgramming = lines(QByteArrayList(6, "PGM1234"));

}   // namespace

Q_DECLARE_METATYPE(Reaction)
Q_DECLARE_METATYPE(QList<Reaction>)

class TstPanelJob : public QObject {
    Q_OBJECT
private slots:
    void linesAndOutcome_data();
    void linesAndOutcome();
    void tenantSendPacesEachLine_data();
    void tenantSendPacesEachLine();
    void dialRereadsTheNumber_data();
    void dialRereadsTheNumber();
};

void TstPanelJob::linesAndOutcome_data()
{
    QTest::addColumn<QString>("phone");
    QTest::addColumn<QString>("pullWord");   // empty: send the file
    QTest::addColumn<QList<Reaction>>("reactions");
    QTest::addColumn<double>("maxSeconds");
    QTest::addColumn<QByteArray>("written");
    QTest::addColumn<int>("result");
    QTest::addColumn<QByteArray>("captured");
    QTest::addColumn<QString>("out");   // the capture file; none: a new one

    using K = Reaction::Kind;
    const Reaction events{"PRIEVR", K::Answer, {"001 DOOR\r\n", "002 CODE\r"}};
    const QByteArray pullEvents = kProgramming + "PRIEVR\r\nEND\r\n";

    QTest::newRow("direct pull: the window's lines, the capture with its line ends made whole")
        << QString() << QStringLiteral("PRIEVR") << QList<Reaction>{events} << 0.0 << pullEvents << 0
        << QByteArray("001 DOOR\r\n002 CODE\r\n") << QString();
    QTest::newRow("a capture goes on while bytes keep coming within the quiet time")
        << QString() << QStringLiteral("PRIEVR")
        << QList<Reaction>{{"PRIEVR", K::Answer, {"a", "b", "c", "d"}, kTickMs}} << 0.0 << pullEvents << 0
        << QByteArray("abcd") << QString();
    QTest::newRow("the maximum time ends a capture that keeps coming")
        << QString() << QStringLiteral("PRIEVR")
        << QList<Reaction>{{"PRIEVR", K::Answer, QByteArrayList(40, "x"), kTickMs}} << 4.0 << pullEvents << 0
        << QByteArray() << QString();
    QTest::newRow("nothing after the request: not success, END all the same")
        << QString() << QStringLiteral("PRIEVR") << QList<Reaction>{} << 0.0 << pullEvents << 8
        << QByteArray() << QString();
    QTest::newRow("modem: setup, dial, nothing until CONNECT, then the panel")
        << QStringLiteral("5550100") << QStringLiteral("PRITNT")
        << QList<Reaction>{{"ATDT5550100", K::Answer, {"OK\r\n", "CONNECT 1200\r\n"}, 5 * kTickMs},
                           {"PRITNT", K::Answer, {"T1\r\n"}}}
        << 0.0 << QByteArray("ATZ\r\nATDT5550100\r\n") + kProgramming + "PRITNT\r\nEND\r\n"
        << 0 << QByteArray("T1\r\n") << QString();
    QTest::newRow("modem BUSY") << QStringLiteral("5550100") << QStringLiteral("PRIEVR")
                                << QList<Reaction>{{"ATDT5550100", K::Answer, {"BUSY\r\n"}}} << 0.0
                                << QByteArray("ATZ\r\nATDT5550100\r\nEND\r\n") << 5 << QByteArray()
                                << QString();
    QTest::newRow("modem NO CARRIER, split over two reads")
        << QStringLiteral("5550100") << QStringLiteral("PRIEVR")
        << QList<Reaction>{{"ATDT5550100", K::Answer, {"NO CAR", "RIER\r\n"}}} << 0.0
        << QByteArray("ATZ\r\nATDT5550100\r\nEND\r\n") << 4 << QByteArray() << QString();
    QTest::newRow("modem NO DIALTONE")
        << QStringLiteral("5550100") << QStringLiteral("PRIEVR")
        << QList<Reaction>{{"ATDT5550100", K::Answer, {"NO DIALTONE\r\n"}}} << 0.0
        << QByteArray("ATZ\r\nATDT5550100\r\nEND\r\n") << 6 << QByteArray() << QString();
    QTest::newRow("modem silent: the dial times out")
        << QStringLiteral("5550100") << QStringLiteral("PRIEVR") << QList<Reaction>{} << 0.0
        << QByteArray("ATZ\r\nATDT5550100\r\nEND\r\n") << 7 << QByteArray() << QString();
    QTest::newRow("line lost during the capture: no END on a closed port")
        << QString() << QStringLiteral("PRIEVR")
        << QList<Reaction>{{"PRIEVR", K::Answer, {"001\r\n"}}, {"PRIEVR", K::LoseLine}} << 0.0
        << kProgramming + "PRIEVR\r\n"
        << 9 << QByteArray("001\r\n") << QString();
    QTest::newRow("send: every line that is not empty, paced, then END")
        << QString() << QString() << QList<Reaction>{} << 0.0
        << kProgramming + "TNTDIR:1 CODE:1111\r\nTNTDIR:2 CODE:2222\r\nEND\r\n"
        << 0 << QByteArray() << QString();
    QTest::newRow("a line error during a send ends it, with END on the open port")
        << QString() << QString() << QList<Reaction>{{"TNTDIR:1 CODE:1111", K::LineError}} << 0.0
        << kProgramming + "TNTDIR:1 CODE:1111\r\nEND\r\n"
        << 10 << QByteArray() << QString();
    QTest::newRow("a capture that cannot be written ends the job, with END")
        << QString() << QStringLiteral("PRIEVR") << QList<Reaction>{events} << 0.0 << pullEvents << 11
        << QByteArray() << QStringLiteral("/dev/full");
    QTest::newRow("the port closed under a send: the next line is refused, the send is over")
        << QString() << QString() << QList<Reaction>{{"TNTDIR:1 CODE:1111", K::ClosePort}} << 0.0
        << kProgramming + "TNTDIR:1 CODE:1111\r\n"
        << 9 << QByteArray() << QString();
}

void TstPanelJob::linesAndOutcome()
{
    QFETCH(QString, phone);
    QFETCH(QString, pullWord);
    QFETCH(QList<Reaction>, reactions);
    QFETCH(double, maxSeconds);
    QFETCH(QByteArray, written);
    QFETCH(int, result);
    QFETCH(QByteArray, captured);
    QFETCH(QString, out);

    QTemporaryDir dir;
    const QString tenants = dir.filePath(QStringLiteral("site.TNT"));
    QFile file(tenants);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("TNTDIR:1 CODE:1111\r\n\r\nTNTDIR:2 CODE:2222\r\n");
    file.close();

    FakeSerialPort port;
    LinkSession session(port);
    port.onWrite = [&](const QByteArray& bytes) {
        for (const Reaction& reaction : reactions) {
            if (bytes != reaction.onLine + "\r\n")
                continue;
            if (reaction.kind == Reaction::Kind::LoseLine) {
                QTimer::singleShot(3 * kTickMs, &port, [&port] {
                    port.close();
                    port.raise(SerialPort::kLineLost);
                });
            } else if (reaction.kind == Reaction::Kind::LineError) {
                QTimer::singleShot(0, &port, [&port] { port.raise(SerialPort::kOverrun); });
            } else if (reaction.kind == Reaction::Kind::ClosePort) {
                QTimer::singleShot(0, &port, [&port] { port.close(); });
            }
            int at = kTickMs;
            for (const QByteArray& chunk : reaction.chunks) {
                QTimer::singleShot(at, &port, [&port, chunk] {
                    if (port.isOpen())
                        port.receive(chunk);
                });
                at += reaction.gapMs;
            }
        }
    };

    PanelJobPlan plan;
    plan.phone = phone;
    plan.setupString = QStringLiteral("ATZ");
    plan.dialTimeoutSeconds = 30;
    plan.code = QStringLiteral("1234");
    plan.action = pullWord.isEmpty() ? PanelJobPlan::Action::Send : PanelJobPlan::Action::Pull;
    plan.pullWord = pullWord;
    plan.path =
        pullWord.isEmpty() ? tenants : (out.isEmpty() ? dir.filePath(QStringLiteral("capture.EVR")) : out);
    plan.existing = PanelJobPlan::Existing::Append;
    plan.quietSeconds = 5;
    plan.maxSeconds = maxSeconds;
    plan.byteCycle = QStringLiteral("10");

    PanelJob job(session, port, kTickMs);
    QCOMPARE(int(job.run(plan)), result);
    QCOMPARE(port.written(), written);
    QCOMPARE(job.message().isEmpty(), result == 0);
    QVERIFY(!port.isOpen());
    QCOMPARE(session.state(), LinkSession::State::Closed);
    QVERIFY(!session.isSendArmed());
    if (!pullWord.isEmpty() && out.isEmpty() && result != 5 && result != 4 && result != 6 && result != 7) {
        QFile capture(plan.path);
        QVERIFY(capture.open(QIODevice::ReadOnly));
        const QByteArray got = capture.readAll();
        if (maxSeconds > 0)
            QVERIFY2(got.size() > 0 && got.size() < 40, got.constData());   // cut short, not all of it
        else
            QCOMPARE(got, captured);
    }
}

void TstPanelJob::tenantSendPacesEachLine_data()
{
    QTest::addColumn<QStringList>("byteCycles");   // the pacing read before each line, in turn
    QTest::addColumn<int>("refusedWrite");   // counted from 1; 0: none
    QTest::addColumn<QList<double>>("pauses");
    QTest::addColumn<QByteArrayList>("writes");
    QTest::addColumn<QList<double>>("secondsLeft");
    QTest::addColumn<int>("outcome");
    QTest::addColumn<qint64>("sent");

    using O = TenantSend::Outcome;
    QTest::newRow("a pacing changed between lines applies to the next pause and to the time left")
        << QStringList{"0", "40", "100"} << 0 << QList<double>{2, 4, 7}
        << QByteArrayList{"A\r\n", "B\r\n", "C\r\n"} << QList<double>{6, 5, 0} << int(O::Ended) << qint64(3);
    QTest::newRow("a refused line ends the send, not counted as sent")
        << QStringList{"0", "0", "0"} << 2 << QList<double>{2, 2} << QByteArrayList{"A\r\n", "B\r\n"}
        << QList<double>{6} << int(O::Refused) << qint64(1);
}

void TstPanelJob::tenantSendPacesEachLine()
{
    QFETCH(QStringList, byteCycles);
    QFETCH(int, refusedWrite);
    QFETCH(QList<double>, pauses);
    QFETCH(QByteArrayList, writes);
    QFETCH(QList<double>, secondsLeft);
    QFETCH(int, outcome);
    QFETCH(qint64, sent);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("site.TNT"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("A\r\n\r\nB\r\nC");
    file.close();

    QList<double> paused;
    QByteArrayList written;
    QList<double> left;
    TenantSend::Hooks hooks;
    hooks.pacing = [&] { return LinePacing(byteCycles.value(int(paused.size()))); };
    hooks.pause = [&](double seconds) {
        paused.append(seconds);
        return true;
    };
    hooks.write = [&](const QByteArray& line) {
        written.append(line);
        return written.size() != refusedWrite;
    };
    hooks.lineSent = [&](qint64, double seconds) { left.append(seconds); };

    TenantSend sending(path);
    QVERIFY(sending.count());
    QCOMPARE(sending.total(), 3);
    QCOMPARE(int(sending.run(hooks)), outcome);
    QCOMPARE(paused, pauses);
    QCOMPARE(written, writes);
    QCOMPARE(left, secondsLeft);
    QCOMPARE(sending.sent(), sent);
}

void TstPanelJob::dialRereadsTheNumber_data()
{
    QTest::addColumn<QString>("afterPause");   // the number once the pause is over
    QTest::addColumn<QByteArrayList>("writes");
    QTest::addColumn<int>("result");

    using R = PanelLink::DialResult;
    QTest::newRow("the number as it stands after the pause is dialled")
        << QStringLiteral("5550199") << QByteArrayList{"ATZ\r\n", "ATDT5550199\r\n"} << int(R::Dialled);
    QTest::newRow("a number that no longer fits after the pause is not dialled")
        << QStringLiteral("555\t0199") << QByteArrayList{"ATZ\r\n"} << int(R::CutShort);
}

void TstPanelJob::dialRereadsTheNumber()
{
    QFETCH(QString, afterPause);
    QFETCH(QByteArrayList, writes);
    QFETCH(int, result);

    bool paused = false;
    QByteArrayList written;
    PanelLink::DialHooks hooks;
    hooks.phoneFits = [](const QString& phone) { return CommandLine::fits(phone); };
    hooks.pause = [&](double seconds) {
        paused = seconds == PanelLink::kDialPauseSeconds;
        return true;
    };
    hooks.write = [&](const QByteArray& line) {
        written.append(line);
        return true;
    };
    const auto phone = [&] { return paused ? afterPause : QStringLiteral("5550100"); };

    QCOMPARE(int(PanelLink::dial(QStringLiteral("ATZ"), phone, hooks)), result);
    QCOMPARE(written, writes);
}

QTEST_GUILESS_MAIN(TstPanelJob)
#include "tst_paneljob.moc"
