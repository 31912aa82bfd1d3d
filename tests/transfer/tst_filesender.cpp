// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/setform.h"
#include "core/linksession.h"
#include "desktop/maskedfield.h"
#include "form/statuspanels.h"
#include "form1rig.h"
#include "link/connection.h"
#include "operator.h"
#include "transfer/filesender.h"

#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QGroupBox>
#include <QMap>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QByteArray kTenants("0101 5551234 1234 1 SMITH\r\n\r\n0102 5559876 4321 2 JONES\r\n\r\n"
                          "0103 5550000 0000 1 M\xDCLLER\r\n");
const QByteArrayList kTenantLines{"0101 5551234 1234 1 SMITH\r\n", "0102 5559876 4321 2 JONES\r\n",
                                  "0103 5550000 0000 1 M\xDCLLER\r\n"};
const QByteArray kThree("L1\r\nL2\r\nL3\r\n");

// Runs a function each time a widget is shown.
class OnShow : public QObject {
public:
    OnShow(QWidget* widget, std::function<void()> run) : m_run(std::move(run))
    {
        widget->installEventFilter(this);
    }
    int shows = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Show) {
            ++shows;
            m_run();
        }
        return false;
    }

private:
    std::function<void()> m_run;
};

// The main window on fakes, with a log of every write and of what the window
// showed during the pauses, and actions to run at given ticks of a pause.
struct SendRig : Form1Rig {
    struct Sent {
        QByteArray bytes;
        int ticksBefore;
        QString toolTip;
        int barMaximum;
    };

    SendRig()
    {
        QObject::connect(&window->waiter(), &Waiter::ticked, [this] { onTick(); });
        fakes.port.onWrite = [this](const QByteArray& bytes) {
            sent.append({bytes, ticks, ui().Progress->toolTip(), ui().Progress->maximum()});
        };
    }

    FileSender& sender() { return window->fileSender(); }
    LinkSession::State state() { return window->session().state(); }

    QString file(const QByteArray& content) { return writeFile(dir, QStringLiteral("tenants.TNT"), content); }

    void setByteCycle(const QString& text) { window->setform().ensureLoaded().Combo1->setEditText(text); }

    void send(const QString& path)
    {
        fakes.prompter.choose(path);
        sender().sendfileg_Click();
    }

    QByteArrayList written() const { return fakes.port.writes; }
    QList<int> ticksBeforeWrites() const
    {
        QList<int> result;
        for (const Sent& s : sent)
            result.append(s.ticksBefore);
        return result;
    }

    bool idle()
    {
        return !ui().Progress->isVisible() && !ui().Command1->isVisible()
            && window->cursor().shape() != Qt::WaitCursor;
    }

    void onTick()
    {
        if (!window->waiter().waiting())
            return;   // the clock of the loaded window, not a pause
        ++ticks;
        busyDuringPauses = busyDuringPauses && ui().Progress->isVisible() && ui().Command1->isVisible()
            && window->cursor().shape() == Qt::WaitCursor;
        if (atTick.contains(ticks))
            atTick.take(ticks)();
    }

    QList<Sent> sent;
    int ticks = 0;
    bool busyDuringPauses = true;
    QMap<int, std::function<void()>> atTick;
};

enum class During {
    Disconnect,
    Reconnect,
    ReconnectAndSend,
    LoseLineAndReconnect,
    ProgrammingLoseLineAndReconnect,
    LoseLineInTheDialog,
    CancelLineError,
    CancelLineErrorAndReconnect,
    LoseLineDisconnectAndConnect,
    CloseWindow,
    CloseWindowLoseLineAndConnect,
    SendAgain
};
using State = LinkSession::State;
enum class Unreadable { Missing, Folder, RemovedBetweenPasses, DialogFailed };

}   // namespace

Q_DECLARE_METATYPE(During)
Q_DECLARE_METATYPE(Unreadable)
Q_DECLARE_METATYPE(LinkSession::State)

class TstFileSender : public QObject {
    Q_OBJECT
private slots:
    void sendsEachNonEmptyLineAfterItsPause();
    void pauseFollowsByteCycle_data();
    void pauseFollowsByteCycle();
    void cancelChangesNothing();
    void portClosedShowsTheGuard_data();
    void portClosedShowsTheGuard();
    void sendUnlocksTheSendFrame();
    void eventsDuringAPause_data();
    void eventsDuringAPause();
    void unreadableFileIsReported_data();
    void unreadableFileIsReported();
    void fileWithoutLinesSendsNothing_data();
    void fileWithoutLinesSendsNothing();
    void moreThan32767LinesAreSentAndCounted();
};

void TstFileSender::sendsEachNonEmptyLineAfterItsPause()
{
    SendRig s;
    s.connectDirect();
    s.setByteCycle(QStringLiteral("10"));
    QSignalSpy announced(&s.window->session(), &LinkSession::lineWritten);

    s.send(s.file(kTenants));

    QCOMPARE(s.written(), kTenantLines);
    QCOMPARE(announced.size(), 3);
    QCOMPARE(announced.last().first().toByteArray(), kTenantLines.last());
    QCOMPARE(s.ticksBeforeWrites(), (QList<int>{3, 6, 9}));
    QCOMPARE(s.sent[0].toolTip, QStringLiteral("About 9 seconds left"));
    QCOMPARE(s.sent[1].toolTip, QStringLiteral("About 6 seconds left"));
    QCOMPARE(s.sent[2].toolTip, QStringLiteral("About 3 seconds left"));
    QCOMPARE(s.sent[0].barMaximum, 3);
    QVERIFY(s.busyDuringPauses);
    QCOMPARE(s.ui().bar->panel(3), QStringLiteral("Send Record:  3"));
    QCOMPARE(s.sender().sentRecords(), 3);
    QVERIFY(s.idle());
    QCOMPARE(s.ui().Progress->value(), 0);
    QCOMPARE(s.state(), State::Open);
    QVERIFY(s.fakes.prompter.boxes.isEmpty());

    QCOMPARE(s.fakes.prompter.dialogs.size(), 1);
    const FileDialogRequest& dialog = s.fakes.prompter.dialogs.first();
    QCOMPARE(dialog.mode, FileDialogRequest::Mode::Open);
    QCOMPARE(dialog.title, QStringLiteral("Open Communication File"));
    QCOMPARE(dialog.filter, QStringLiteral("All Files (*.*)|*.*|TNT Files(*.TNT)|*.TNT"));
    QCOMPARE(dialog.filterIndex, 2);
    QVERIFY(dialog.hideReadOnly);
}

void TstFileSender::pauseFollowsByteCycle_data()
{
    QTest::addColumn<QString>("byteCycle");
    QTest::addColumn<int>("ticks");
    QTest::addRow("10") << QStringLiteral("10") << 3;
    QTest::addRow("15") << QStringLiteral("15") << 3;
    QTest::addRow("20") << QStringLiteral("20") << 4;
}

void TstFileSender::pauseFollowsByteCycle()
{
    QFETCH(QString, byteCycle);
    QFETCH(int, ticks);
    SendRig s;
    s.connectDirect();
    s.setByteCycle(byteCycle);
    s.send(s.file("A\r\nB\r\n"));
    QCOMPARE(s.written(), (QByteArrayList{"A\r\n", "B\r\n"}));
    QCOMPARE(s.ticksBeforeWrites(), (QList<int>{ticks, 2 * ticks}));
}

void TstFileSender::cancelChangesNothing()
{
    SendRig s;
    s.connectDirect();
    OnShow bar(s.ui().Progress, [] {});
    s.fakes.prompter.cancelDialog();
    s.sender().sendfileg_Click();
    QCOMPARE(s.fakes.prompter.dialogs.size(), 1);
    QVERIFY(s.written().isEmpty());
    QCOMPARE(bar.shows, 0);
    QVERIFY(s.idle());
    QCOMPARE(s.state(), State::Open);
    QCOMPARE(s.ui().bar->panel(3), QStringLiteral("Send Record:  0"));
    QVERIFY(s.fakes.prompter.boxes.isEmpty());
}

void TstFileSender::portClosedShowsTheGuard_data()
{
    QTest::addColumn<QString>("button");
    QTest::addRow("SEND") << QStringLiteral("download");
    QTest::addRow("DATABASE") << QStringLiteral("sendfileg");
}

void TstFileSender::portClosedShowsTheGuard()
{
    QFETCH(QString, button);
    SendRig s;
    s.fakes.prompter.choose(s.file(kThree));
    QWidget* focused = focus();
    if (button == QLatin1String("download"))
        s.sender().download_Click();
    else
        s.sender().sendfileg_Click();
    QCOMPARE(s.fakes.prompter.boxes.size(), 1);
    QCOMPARE(s.fakes.prompter.boxes.first(), guardBox());
    QVERIFY(s.fakes.prompter.dialogs.isEmpty());
    QVERIFY(s.written().isEmpty());
    QCOMPARE(s.state(), State::Closed);
    QVERIFY(!s.ui().MEDITTNT->isEnabled());
    QCOMPARE(focus(), focused);
}

void TstFileSender::sendUnlocksTheSendFrame()
{
    SendRig s;
    s.connectDirect();
    s.ui().download->setEnabled(true);   // as sending the programming code does
    QTest::mouseClick(s.ui().download, Qt::LeftButton);

    const QStringList unlocked{"rtrtc",       "medit1",
                               "MEDITTNT",    "Date",
                               "medit2",      "medit3",
                               "medit7",      "medit8",
                               "cleartnt",    "sendfileg",
                               "dtmf",        "opendtmf",
                               "um",          "up",
                               "message",     "uptalktime",
                               "opentime1",   "opentime2",
                               "manualdoor1", "manualdoor2",
                               "Newmastcode", "Medit_New_mastercode",
                               "clearevr"};
    for (const QString& name : unlocked) {
        QVERIFY2(s.control(name)->isEnabled(), qPrintable(name));
    }
    QVERIFY(s.ui().Frame4->isEnabled());
    QVERIFY(!s.ui().up_all->isEnabled());
    QCOMPARE(focus(), s.ui().MEDITTNT);
    QCOMPARE(s.state(), State::Open);   // no send runs
    QVERIFY(s.written().isEmpty());

    s.fakes.prompter.cancelDialog();
    QTest::mouseClick(s.ui().sendfileg, Qt::LeftButton);
    QCOMPARE(s.fakes.prompter.dialogs.size(), 1);
}

void TstFileSender::eventsDuringAPause_data()
{
    QTest::addColumn<During>("during");
    QTest::addColumn<QByteArrayList>("writes");
    QTest::addColumn<int>("guardBoxes");
    QTest::addColumn<QString>("panel3");
    QTest::addColumn<bool>("endsIdle");
    QTest::addColumn<State>("state");
    // Tick 4 falls in the pause before the second line.
    QTest::addRow("Disconnect") << During::Disconnect << QByteArrayList{"L1\r\n", "END\r\n"} << 1
                                << QStringLiteral("Send Record:  0") << true << State::Closed;
    QTest::addRow("Disconnect and connect again")
        << During::Reconnect << QByteArrayList{"L1\r\n", "END\r\n", "L2\r\n"} << 0
        << QStringLiteral("Send Record:  2") << true << State::Open;
    QTest::addRow("Disconnect, connect again and SEND")
        << During::ReconnectAndSend << QByteArrayList{"L1\r\n", "END\r\n", "L2\r\n", "L3\r\n"} << 0
        << QStringLiteral("Send Record:  3") << true << State::Open;
    // Only Disconnect stops a send: after a lost line it goes on once connected again.
    QTest::addRow("line lost, connect again")
        << During::LoseLineAndReconnect << QByteArrayList{"L1\r\n", "L2\r\n", "L3\r\n"} << 0
        << QStringLiteral("Send Record:  3") << true << State::Open;
    // The connection made after a lost line has not entered programming mode.
    QTest::addRow("programming, line lost, connect again")
        << During::ProgrammingLoseLineAndReconnect << QByteArrayList{"L1\r\n", "L2\r\n", "L3\r\n"} << 0
        << QStringLiteral("Send Record:  3") << true << State::Open;
    // Lost while the file was chosen: the send is armed all the same, its
    // first pause runs and the guard ends it.
    QTest::addRow("line lost in the dialog") << During::LoseLineInTheDialog << QByteArrayList{} << 1
                                             << QStringLiteral("Send Record:  0") << true << State::Closed;
    QTest::addRow("Cancel on a line error") << During::CancelLineError << QByteArrayList{"L1\r\n"} << 1
                                            << QStringLiteral("Send Record:  1") << true << State::Closed;
    QTest::addRow("Cancel on a line error, connect again")
        << During::CancelLineErrorAndReconnect << QByteArrayList{"L1\r\n", "L2\r\n", "L3\r\n"} << 0
        << QStringLiteral("Send Record:  3") << true << State::Open;
    // Disconnect on the closed port only tells; the send stays armed.
    QTest::addRow("line lost, Disconnect, connect again")
        << During::LoseLineDisconnectAndConnect << QByteArrayList{"L1\r\n", "L2\r\n", "L3\r\n"} << 0
        << QStringLiteral("Send Record:  3") << true << State::Open;
    QTest::addRow("window closed") << During::CloseWindow << QByteArrayList{"L1\r\n"} << 0
                                   << QStringLiteral("Send Record:  1") << false << State::Closing;
    // Closing is for good: a port opened again while the window closes leaves it so.
    QTest::addRow("window closed, line lost, connect again")
        << During::CloseWindowLoseLineAndConnect << QByteArrayList{"L1\r\n"} << 0
        << QStringLiteral("Send Record:  1") << true << State::Closing;
    QTest::addRow("DATABASE again") << During::SendAgain << QByteArrayList{"L1\r\n", "L2\r\n", "L3\r\n"} << 0
                                    << QStringLiteral("Send Record:  3") << true << State::Open;
}

void TstFileSender::eventsDuringAPause()
{
    QFETCH(During, during);
    QFETCH(QByteArrayList, writes);
    QFETCH(int, guardBoxes);
    QFETCH(QString, panel3);
    QFETCH(bool, endsIdle);
    QFETCH(State, state);
    SendRig s;
    s.connectDirect();
    const auto loseLine = [&s] {
        s.fakes.port.close();   // the platform closes the port, then tells
        s.fakes.port.raise(SerialPort::kLineLost);
    };
    const auto cancelLineError = [&s] {
        s.fakes.prompter.answer(MessageBox::Answer::Cancel);
        s.fakes.port.raise(SerialPort::kOverrun);
    };
    if (during == During::ProgrammingLoseLineAndReconnect)
        s.window->session().programmingEntered();
    if (during == During::LoseLineInTheDialog)
        s.fakes.prompter.onDialog = [&](const FileDialogRequest&) { loseLine(); };
    if (during != During::LoseLineInTheDialog)
        s.atTick[4] = [&] {
            QCOMPARE(s.state(), State::Sending);
            switch (during) {
            case During::Disconnect: s.window->connection().close1_Click(); break;
            case During::Reconnect:
            case During::ReconnectAndSend:
                s.window->connection().close1_Click();
                s.connectDirect();
                if (during == During::ReconnectAndSend)
                    s.sender().download_Click();
                break;
            case During::LoseLineAndReconnect:
            case During::ProgrammingLoseLineAndReconnect:
                loseLine();
                s.connectDirect();
                break;
            case During::CancelLineError: cancelLineError(); break;
            case During::CancelLineErrorAndReconnect:
                cancelLineError();
                s.connectDirect();
                break;
            case During::LoseLineDisconnectAndConnect:
                loseLine();
                s.window->connection().close1_Click();
                QVERIFY(s.window->session().isSendArmed());
                s.connectDirect();
                break;
            case During::LoseLineInTheDialog: break;
            case During::CloseWindow: s.window->close(); break;
            case During::CloseWindowLoseLineAndConnect:
                s.window->close();
                loseLine();
                s.connectDirect();
                break;
            case During::SendAgain: s.sender().sendfileg_Click(); break;
            }
        };

    s.send(s.file(kThree));

    QVERIFY(s.atTick.isEmpty());
    QCOMPARE(s.written(), writes);
    // Connecting answers the boxes before it; a lost line or a line error has a box of its own.
    const bool lineBox = during == During::LoseLineInTheDialog || during == During::CancelLineError;
    QCOMPARE(s.fakes.prompter.boxes.size(), guardBoxes + (lineBox ? 1 : 0));
    QCOMPARE(s.fakes.prompter.boxes.count(guardBox()), guardBoxes);
    QCOMPARE(s.ui().bar->panel(3), panel3);
    QCOMPARE(s.idle(), endsIdle);
    QCOMPARE(s.state(), state);
    QCOMPARE(s.fakes.prompter.dialogs.size(), 1);
    // DATABASE during a send beeps, and so do the loss of the line and a line error
    const bool beeped = during != During::Disconnect && during != During::Reconnect
        && during != During::ReconnectAndSend && during != During::CloseWindow;
    QCOMPARE(s.fakes.prompter.beeps, beeped ? 1 : 0);
}

void TstFileSender::unreadableFileIsReported_data()
{
    QTest::addColumn<Unreadable>("unreadable");
    QTest::addRow("missing") << Unreadable::Missing;
    QTest::addRow("a folder") << Unreadable::Folder;
    QTest::addRow("removed between the passes") << Unreadable::RemovedBetweenPasses;
    QTest::addRow("the dialog failed") << Unreadable::DialogFailed;
}

void TstFileSender::unreadableFileIsReported()
{
    QFETCH(Unreadable, unreadable);
    SendRig s;
    s.connectDirect();
    const QString existing = s.file(kThree);
    QString path;
    switch (unreadable) {
    case Unreadable::Missing: path = s.dir.filePath(QStringLiteral("gone.TNT")); break;
    case Unreadable::Folder: path = s.dir.path(); break;
    case Unreadable::RemovedBetweenPasses: path = existing; break;
    case Unreadable::DialogFailed:
        s.fakes.prompter.dialogResults.enqueue(
            {FileDialogResult::Outcome::Failed, QString(), QStringLiteral("No dialog today")});
        break;
    }
    const bool removeWhenBarShows = unreadable == Unreadable::RemovedBetweenPasses;
    OnShow bar(s.ui().Progress, [&] {
        if (removeWhenBarShows)
            QFile::remove(existing);
    });

    if (path.isEmpty())
        s.sender().sendfileg_Click();
    else
        s.send(path);

    QCOMPARE(bar.shows, removeWhenBarShows ? 1 : 0);
    QVERIFY(s.written().isEmpty());
    QCOMPARE(s.fakes.prompter.boxes.size(), 1);
    const MessageBox& box = s.fakes.prompter.boxes.first();
    QVERIFY(!box.prompt.isEmpty());
    QCOMPARE(box.detail, QDir::toNativeSeparators(path));
    QCOMPARE(box.title, s.ctx().settings.title());
    QCOMPARE(box.buttons, MessageBox::Buttons::Ok);
    QCOMPARE(box.icon, MessageBox::Icon::Exclamation);
    QVERIFY(s.idle());
    QCOMPARE(s.ui().bar->panel(3), QStringLiteral("Send Record:  0"));
}

void TstFileSender::fileWithoutLinesSendsNothing_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addRow("empty") << QByteArray();
    QTest::addRow("only line ends") << QByteArray("\r\n\r\n\n\r");
}

void TstFileSender::fileWithoutLinesSendsNothing()
{
    QFETCH(QByteArray, content);
    SendRig s;
    s.connectDirect();
    OnShow bar(s.ui().Progress, [] {});
    s.send(s.file(content));
    QVERIFY(s.written().isEmpty());
    QCOMPARE(bar.shows, 0);
    QCOMPARE(s.ticks, 0);
    QVERIFY(s.idle());
    QVERIFY(s.fakes.prompter.boxes.isEmpty());
}

// The pauses are ended beforehand (as when the window closes), so the lines
// go out at once; what matters here is the count. The window is hidden:
// painting the bar 40000 times would take most of the time.
void TstFileSender::moreThan32767LinesAreSentAndCounted()
{
    constexpr int kLines = 40000;
    SendRig s;
    s.connectDirect();
    QByteArray content;
    for (int n = 1; n <= kLines; ++n)
        content += "R" + QByteArray::number(n) + "\r\n";
    s.window->waiter().stopAll();
    s.window->hide();

    s.send(s.file(content));

    QCOMPARE(s.written().size(), kLines);
    QCOMPARE(s.written().last(), QByteArray("R40000\r\n"));
    QCOMPARE(s.sent.last().barMaximum, kLines);
    QCOMPARE(s.sender().sentRecords(), kLines);
    QCOMPARE(s.ui().bar->panel(3), QStringLiteral("Send Record:  40000"));
    QVERIFY(s.idle());
}

QTEST_MAIN(TstFileSender)
#include "tst_filesender.moc"
