// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/linksession.h"
#include "form/statuspanels.h"
#include "form1rig.h"
#include "link/capturelog.h"
#include "link/connection.h"
#include "link/receiver.h"
#include "testfiles.h"

#include <QAction>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using Answer = MessageBox::Answer;

namespace {

// The enabled and visible state of every command control and menu item.
QList<bool> controlStates(Form1Ui& ui)
{
    QList<bool> states;
    for (QWidget* w : ui.commandControls())
        states << w->isEnabled() << w->isVisible();
    states << ui.Command3->isVisible() << ui.mnuOpenLog->isEnabled() << ui.mnuCloseLog->isEnabled();
    return states;
}

// What the link session announced, in order: "data", "error 1006", "lost",
// "closed".
struct Announcements : QObject {
    explicit Announcements(LinkSession& session)
    {
        connect(&session, &LinkSession::dataArrived, this, [this] { said << QStringLiteral("data"); });
        connect(&session, &LinkSession::lineError, this,
                [this](int code) { said << QStringLiteral("error %1").arg(code); });
        connect(&session, &LinkSession::lineLost, this, [this] { said << QStringLiteral("lost"); });
        connect(&session, &LinkSession::closed, this, [this] { said << QStringLiteral("closed"); });
    }
    QStringList said;
};

}   // namespace

class TstReceiver : public QObject {
    Q_OBJECT
private slots:
    void dataShowsReceiving();
    void quietCodesChangeNothing_data();
    void quietCodesChangeNothing();
    void lineErrors_data();
    void lineErrors();
    void lineLostIsToldOnceAndKeepsTheCapture();
    void dataDuringACaptureBoxFollowsInOrder();
    void command3ClosesTheCaptureOnly();
};

void TstReceiver::dataShowsReceiving()
{
    Form1Rig rig;
    rig.connectDirect();
    Announcements announced(rig.window->session());
    rig.fakes.port.receive("PANEL\r\n");
    QCOMPARE(announced.said, QStringList{QStringLiteral("data")});
    QCOMPARE(rig.ui().Text1->text(), QStringLiteral("PANEL\r\n"));
    QCOMPARE(rig.ui().bar->panel(1), QStringLiteral("Status: Receiving..."));
    QVERIFY(rig.fakes.prompter.boxes.isEmpty());
    QCOMPARE(rig.fakes.prompter.beeps, 0);
}

void TstReceiver::quietCodesChangeNothing_data()
{
    QTest::addColumn<int>("code");
    QTest::addRow("send buffer low after a command") << int(SerialPort::kSendBufferLow);
    QTest::addRow("an event the program does not act on") << 3;
    QTest::addRow("an error the program does not act on") << 1007;
}

void TstReceiver::quietCodesChangeNothing()
{
    QFETCH(int, code);
    Form1Rig rig;
    rig.connectDirect();
    Announcements announced(rig.window->session());
    rig.fakes.port.receive("x");
    rig.fakes.port.write("TIM 09:05:00\r\n");
    rig.fakes.port.raise(code);
    QCOMPARE(announced.said, QStringList{QStringLiteral("data")});
    QCOMPARE(rig.ui().bar->panel(1), QStringLiteral("Status: Receiving..."));
    QCOMPARE(rig.ui().Text1->text(), QStringLiteral("x"));
    QVERIFY(rig.fakes.prompter.boxes.isEmpty());
    QCOMPARE(rig.fakes.prompter.beeps, 0);
    QVERIFY(rig.fakes.port.isOpen());
}

void TstReceiver::lineErrors_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("text");
    QTest::addColumn<Answer>("answer");
    const struct {
        int code;
        const char* text;
    } errors[] = {{SerialPort::kOverrun, "Overrun Error"},
                  {SerialPort::kReceiveOverflow, "Receive Buffer Overflow"},
                  {SerialPort::kTransmitFull, "Transmit Buffer Full"}};
    for (const auto& e : errors) {
        QTest::addRow("%s, OK", e.text) << e.code << QString::fromLatin1(e.text) << Answer::Ok;
        QTest::addRow("%s, Cancel", e.text) << e.code << QString::fromLatin1(e.text) << Answer::Cancel;
    }
}

void TstReceiver::lineErrors()
{
    QFETCH(int, code);
    QFETCH(QString, text);
    QFETCH(Answer, answer);
    Form1Rig rig;
    rig.connectDirect();
    const QList<bool> before = controlStates(rig.ui());
    rig.fakes.prompter.onBox = [&](const MessageBox&) {
        QCOMPARE(rig.ui().bar->panel(1), QStringLiteral("Status: ") + text);
        QCOMPARE(rig.fakes.prompter.beeps, 1);   // the beep comes before the box
    };
    rig.fakes.prompter.answer(answer);
    Announcements announced(rig.window->session());

    rig.fakes.port.raise(code);

    QStringList said{QStringLiteral("error %1").arg(code)};
    if (answer == Answer::Cancel)
        said << QStringLiteral("closed");
    QCOMPARE(announced.said, said);
    QCOMPARE(rig.fakes.prompter.boxes.size(), 1);
    const MessageBox& box = rig.fakes.prompter.boxes.first();
    QCOMPARE(box.prompt, text);
    QCOMPARE(box.title, QStringLiteral("Click Cancel to quit, OK to ignore."));
    QCOMPARE(box.buttons, MessageBox::Buttons::OkCancel);
    QCOMPARE(box.icon, MessageBox::Icon::None);
    QCOMPARE(rig.fakes.port.isOpen(), answer == Answer::Ok);
    QCOMPARE(controlStates(rig.ui()), before);
    QCOMPARE(rig.ui().bar->panel(1), QStringLiteral("Status: ") + text);
}

void TstReceiver::lineLostIsToldOnceAndKeepsTheCapture()
{
    Form1Rig rig;
    rig.window->connection().Option_Click(2);
    rig.connectDirect();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("lost.log"));
    QVERIFY(rig.ctx().capture.open(path));
    Announcements announced(rig.window->session());
    rig.fakes.port.receive("before loss\r\n");
    const QList<bool> before = controlStates(rig.ui());

    rig.fakes.port.close();   // the platform closes the port, then tells
    rig.fakes.port.raise(SerialPort::kLineLost);

    QCOMPARE(announced.said,
             (QStringList{QStringLiteral("data"), QStringLiteral("lost"), QStringLiteral("closed")}));
    QCOMPARE(rig.window->session().state(), LinkSession::State::Closed);

    QCOMPARE(rig.ui().bar->panel(1), QStringLiteral("Status: Line Lost (/dev/fake2)"));
    QCOMPARE(rig.fakes.prompter.boxes.size(), 1);
    const MessageBox& box = rig.fakes.prompter.boxes.first();
    QVERIFY(box.prompt.contains(QStringLiteral("/dev/fake2")));
    QVERIFY(box.prompt.contains(QStringLiteral("lost")));
    QVERIFY(box.detail.contains(QStringLiteral("capture file")));
    QCOMPARE(box.title, rig.ctx().settings.title());
    QCOMPARE(box.buttons, MessageBox::Buttons::Ok);
    QCOMPARE(box.icon, MessageBox::Icon::Exclamation);
    QCOMPARE(controlStates(rig.ui()), before);
    QVERIFY(rig.ctx().capture.isOpen());
    QCOMPARE(contentOf(path), QByteArray("before loss\r\n"));
    QCOMPARE(rig.ui().Text1->text(), QStringLiteral("before loss\r\n"));
}

// The capture write's box lets the event loop run; what arrives meanwhile is
// appended after the chunk that is being written, not inside it.
void TstReceiver::dataDuringACaptureBoxFollowsInOrder()
{
    if (!QFile::exists(QStringLiteral("/dev/full")))
        QSKIP("no device that is always full");
    Form1Rig rig;
    rig.connectDirect();
    QVERIFY(rig.ctx().capture.open(QStringLiteral("/dev/full")));
    bool sent = false;
    rig.fakes.prompter.onBox = [&](const MessageBox&) {
        if (!sent) {
            sent = true;
            rig.fakes.port.receive("second");
        }
    };
    rig.fakes.prompter.answer(Answer::Cancel);

    rig.fakes.port.receive("first ");

    QTRY_COMPARE(rig.ui().Text1->text(), QStringLiteral("first second"));
    QCOMPARE(rig.fakes.prompter.boxes.size(), 1);
    QVERIFY(!rig.ctx().capture.isOpen());
}

void TstReceiver::command3ClosesTheCaptureOnly()
{
    Form1Rig rig;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("evr.EVR"));
    QVERIFY(rig.ctx().capture.open(path));
    rig.ui().Command3->show();
    const bool openLog = rig.ui().mnuOpenLog->isEnabled();
    const bool closeLog = rig.ui().mnuCloseLog->isEnabled();
    rig.fakes.port.receive("kept");

    QTest::mouseClick(rig.ui().Command3, Qt::LeftButton);

    QVERIFY(!rig.ctx().capture.isOpen());
    QVERIFY(rig.ui().Command3->isHidden());
    QCOMPARE(rig.ui().mnuOpenLog->isEnabled(), openLog);
    QCOMPARE(rig.ui().mnuCloseLog->isEnabled(), closeLog);
    rig.fakes.port.receive(" not kept");
    QCOMPARE(contentOf(path), QByteArray("kept"));

    rig.window->receiver().Command3_Click();   // nothing open: nothing happens
    QVERIFY(!rig.ctx().capture.isOpen());
}

QTEST_MAIN(TstReceiver)
#include "tst_receiver.moc"
