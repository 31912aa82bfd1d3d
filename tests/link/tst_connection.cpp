// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/linksession.h"
#include "form/statuspanels.h"
#include "form1rig.h"
#include "link/connection.h"

#include <QAccessible>
#include <QLineEdit>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>

using Error = OpenResult::Error;
enum class Operated { Mouse, Space, AssistiveToggle };
Q_DECLARE_METATYPE(Operated)

namespace {
const QString kMain = QStringLiteral("Velno 6100 Management System");
const QString kProps = QStringLiteral("Properties");

// Each write with the number of ticks the waits had counted when it happened.
struct WriteLog {
    explicit WriteLog(Form1Rig& rig)
    {
        QObject::connect(&rig.window->waiter(), &Waiter::ticked, [this] { ++ticks; });
        rig.fakes.port.onWrite = [this](const QByteArray& bytes) { entries.append({bytes, ticks}); };
    }
    struct Entry {
        QByteArray bytes;
        int ticksBefore;
    };
    QList<Entry> entries;
    int ticks = 0;
};
}   // namespace

class TstConnection : public QObject {
    Q_OBJECT
private slots:
    void optionStoresPortAndPanel_data();
    void optionStoresPortAndPanel();
    void optionWhilePortOpenGoesBack();
    void connectWithoutPhoneOpensAndAsks();
    void connectDialsSetupThenNumberWithWaits_data();
    void connectDialsSetupThenNumberWithWaits();
    void connectWithNoOptionOpensPort4();
    void connectWhenAlreadyOpenDialsAgain();
    void openFailureShowsCauseAndStillEnablesMasterCode_data();
    void openFailureShowsCauseAndStillEnablesMasterCode();
    void disconnectSendsEndLastAndReturnsToIdle();
    void disconnectWhileClosedOnlyTells();
    void disconnectDuringDialStopsTheRest();
    void phoneFieldKeys();
};

void TstConnection::optionStoresPortAndPanel_data()
{
    QTest::addColumn<Operated>("how");
    QTest::addRow("mouse") << Operated::Mouse;
    QTest::addRow("Space") << Operated::Space;
    // What a screen reader or switch access does: the one action Qt offers.
    QTest::addRow("assistive tool") << Operated::AssistiveToggle;
}

void TstConnection::optionStoresPortAndPanel()
{
    QFETCH(Operated, how);
    Form1Rig rig;
    QRadioButton* option = rig.ui().Option2;
    switch (how) {
    case Operated::Mouse: QTest::mouseClick(option, Qt::LeftButton); break;
    case Operated::Space:
        option->setFocus();
        QTest::keyClick(option, Qt::Key_Space);
        break;
    case Operated::AssistiveToggle: {
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(option);
        QVERIFY(accessible && accessible->actionInterface());
        const QStringList actions = accessible->actionInterface()->actionNames();
        QCOMPARE(actions.first(), QAccessibleActionInterface::toggleAction());
        QVERIFY(!accessible->state().checked);
        accessible->actionInterface()->doAction(actions.first());
        QVERIFY(accessible->state().checked);
        QCOMPARE(accessible->text(QAccessible::Name), QStringLiteral("Port 2"));
        break;
    }
    }
    QVERIFY(rig.ui().Option2->isChecked());
    QCOMPARE(rig.fakes.port.portNumber(), 2);
    QCOMPARE(rig.fakes.store.read(kMain, kProps, QStringLiteral("Port"), QString()), QStringLiteral("2"));
    QCOMPARE(rig.ui().bar->panel(2), QStringLiteral("Comm Number:  2"));
}

void TstConnection::optionWhilePortOpenGoesBack()
{
    Form1Rig rig;
    rig.window->connection().Option_Click(3);
    rig.connectDirect();
    const int storesBefore = rig.fakes.store.stores;
    QTest::mouseClick(rig.ui().Option1, Qt::LeftButton);
    QVERIFY(rig.ui().Option3->isChecked());
    QVERIFY(!rig.ui().Option1->isChecked());
    QCOMPARE(rig.fakes.port.portNumber(), 3);
    QCOMPARE(rig.fakes.store.stores, storesBefore);
    QCOMPARE(rig.ui().bar->panel(2), QStringLiteral("Comm Number:  3"));
}

void TstConnection::connectWithoutPhoneOpensAndAsks()
{
    Form1Rig rig;
    rig.window->connection().Option_Click(1);
    QTest::mouseClick(rig.ui().connectButton, Qt::LeftButton);
    QVERIFY(rig.fakes.port.isOpen());
    QCOMPARE(rig.fakes.port.lineSettings, QStringLiteral("1200,N,8,1"));
    QCOMPARE(rig.fakes.port.handshaking, SerialPort::Handshaking::XonXoff);
    QCOMPARE(rig.fakes.prompter.boxes.size(), 1);
    const MessageBox& box = rig.fakes.prompter.boxes.first();
    QCOMPARE(box.prompt, QStringLiteral("Please input the phone number"));
    QCOMPARE(box.title, QStringLiteral("Phone Number"));
    QCOMPARE(box.buttons, MessageBox::Buttons::Ok);
    QCOMPARE(box.icon, MessageBox::Icon::None);
    QCOMPARE(focus(), rig.ui().Text2);
    QVERIFY(rig.ui().Mastercode->isEnabled());
    QVERIFY(rig.fakes.port.writes.isEmpty());
    QVERIFY(rig.window->cursor().shape() != Qt::WaitCursor);
}

void TstConnection::connectDialsSetupThenNumberWithWaits_data()
{
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QByteArray>("firstLine");
    QTest::addRow("setup string") << QStringLiteral("ATZ") << QByteArray("ATZ\r\n");
    QTest::addRow("empty setup string") << QString() << QByteArray("\r\n");
    QTest::addRow("8-bit setup") << QStringLiteral("AT&F\u00e9") << QByteArray("AT&F\xe9\r\n");
}

void TstConnection::connectDialsSetupThenNumberWithWaits()
{
    QFETCH(QString, setup);
    QFETCH(QByteArray, firstLine);
    Form1Rig rig;
    rig.fakes.store.store(QStringLiteral("Velno 6300 Managemant System"), kProps, QStringLiteral("sett"),
                          setup);
    rig.window->connection().Option_Click(1);
    rig.ui().Text2->setText(QStringLiteral("5551234"));
    WriteLog log(rig);
    QSignalSpy opened(&rig.window->session(), &LinkSession::opened);
    QSignalSpy announced(&rig.window->session(), &LinkSession::lineWritten);
    bool hourglassDuringWait = false;
    QObject::connect(&rig.window->waiter(), &Waiter::ticked, [&] {
        hourglassDuringWait = hourglassDuringWait || rig.window->cursor().shape() == Qt::WaitCursor;
    });

    rig.window->connection().connect_Click();

    QCOMPARE(log.entries.size(), 2);
    QCOMPARE(log.entries[0].bytes, firstLine);
    QCOMPARE(log.entries[0].ticksBefore, 0);
    QCOMPARE(log.entries[1].bytes, QByteArray("ATDT5551234\r\n"));
    QCOMPARE(log.entries[1].ticksBefore, 3);   // wait_seconds(2) between the lines
    QCOMPARE(log.ticks, 6);   // and another after the number
    QCOMPARE(QList<QVariantList>(opened), (QList<QVariantList>{{1, QStringLiteral("/dev/fake1")}}));
    QCOMPARE(QList<QVariantList>(announced),
             (QList<QVariantList>{{firstLine}, {QByteArray("ATDT5551234\r\n")}}));
    QCOMPARE(rig.window->session().state(), LinkSession::State::Open);
    QVERIFY(hourglassDuringWait);
    QVERIFY(rig.window->cursor().shape() != Qt::WaitCursor);
    QCOMPARE(focus(), rig.ui().Text3);
    QVERIFY(rig.ui().Mastercode->isEnabled());
    QVERIFY(rig.fakes.prompter.boxes.isEmpty());
}

void TstConnection::connectWithNoOptionOpensPort4()
{
    Form1Rig rig;
    rig.window->connection().connect_Click();
    QVERIFY(rig.fakes.port.isOpen());
    QCOMPARE(rig.fakes.port.openedNumber, 4);
}

void TstConnection::connectWhenAlreadyOpenDialsAgain()
{
    Form1Rig rig;
    rig.connectDirect();
    rig.ui().Text2->setText(QStringLiteral("12"));
    rig.window->connection().connect_Click();
    QCOMPARE(rig.fakes.port.opens, 1);
    QCOMPARE(rig.fakes.port.written(), QByteArray("\r\nATDT12\r\n"));
}

void TstConnection::openFailureShowsCauseAndStillEnablesMasterCode_data()
{
    QTest::addColumn<int>("error");
    QTest::addColumn<qint64>("holderPid");
    QTest::addColumn<QString>("holderName");
    QTest::addColumn<QString>("detailPart");
    QTest::addRow("missing") << int(Error::NotFound) << qint64(0) << QString()
                             << QStringLiteral("/dev/fake2: scripted failure");
    QTest::addRow("other") << int(Error::Other) << qint64(0) << QString() << QStringLiteral("/dev/fake2");
    QTest::addRow("busy") << int(Error::Busy) << qint64(0) << QString()
                          << QStringLiteral("/dev/fake2 is in use by another program.");
    QTest::addRow("locked by a process")
        << int(Error::Busy) << qint64(4321) << QString()
        << QStringLiteral("/dev/fake2 is in use by another program: process 4321.");
    QTest::addRow("locked by a program")
        << int(Error::Busy) << qint64(4321) << QStringLiteral("term")
        << QStringLiteral("/dev/fake2 is in use by another program: term, process 4321.");
#ifdef Q_OS_LINUX
    QTest::addRow("permission") << int(Error::Permission) << qint64(0) << QString()
                                << QStringLiteral("dialout");
#endif
}

void TstConnection::openFailureShowsCauseAndStillEnablesMasterCode()
{
    QFETCH(int, error);
    QFETCH(qint64, holderPid);
    QFETCH(QString, holderName);
    QFETCH(QString, detailPart);
    Form1Rig rig;
    rig.window->connection().Option_Click(2);
    rig.fakes.port.failOpenWith = Error(error);
    rig.fakes.port.holderPid = holderPid;
    rig.fakes.port.holderName = holderName;
    rig.ui().Text2->setText(QStringLiteral("555"));
    QSignalSpy opened(&rig.window->session(), &LinkSession::opened);
    rig.window->connection().connect_Click();
    QVERIFY(!rig.fakes.port.isOpen());
    QVERIFY(opened.isEmpty());
    QCOMPARE(rig.fakes.prompter.boxes.size(), 1);
    const MessageBox& box = rig.fakes.prompter.boxes.first();
    QCOMPARE(box.prompt, QStringLiteral("              The comm port is closed."));
    QCOMPARE(box.title, QStringLiteral("Velno 6300 Management System"));
    QCOMPARE(box.buttons, MessageBox::Buttons::Ok);
    QCOMPARE(box.icon, MessageBox::Icon::None);
    QVERIFY2(box.detail.contains(detailPart), qPrintable(box.detail));
    QCOMPARE(box.detail.contains(QStringLiteral("dialout")), error == int(Error::Permission));
    QVERIFY(rig.ui().Mastercode->isEnabled());
    QVERIFY(rig.fakes.port.writes.isEmpty());
}

void TstConnection::disconnectSendsEndLastAndReturnsToIdle()
{
    Form1Rig rig;
    rig.connectDirect();
    Form1Ui& ui = rig.ui();
    for (QWidget* control : ui.commandControls())
        control->setEnabled(true);
    LinkSession& session = rig.window->session();
    session.sendingStarted();
    QSignalSpy closed(&session, &LinkSession::closed);
    QSignalSpy announced(&session, &LinkSession::lineWritten);
    ui.bar->setPanel(3, QStringLiteral("Send Record:  7"));
    ui.Progress->show();
    ui.Command1->show();
    ui.Text3->setText(QStringLiteral("1234"));

    QTest::mouseClick(ui.close1, Qt::LeftButton);

    QCOMPARE(rig.fakes.port.writes.last(), QByteArray("END\r\n"));
    QVERIFY(!rig.fakes.port.isOpen());
    QCOMPARE(session.state(), LinkSession::State::Closed);
    QCOMPARE(closed.size(), 1);
    QCOMPARE(QList<QVariantList>(announced), (QList<QVariantList>{{QByteArray("END\r\n")}}));
    for (QWidget* control : ui.commandControls())
        QVERIFY2(!control->isEnabled(), qPrintable(control->objectName()));
    QCOMPARE(ui.bar->panel(3), QStringLiteral("Send Record:  0"));
    QVERIFY(ui.Progress->isHidden());
    QVERIFY(ui.Command1->isHidden());
    QCOMPARE(focus(), ui.connectButton);
    QCOMPARE(ui.Text3->text(), QStringLiteral("1234"));
    QVERIFY(rig.fakes.prompter.boxes.isEmpty());
}

void TstConnection::disconnectWhileClosedOnlyTells()
{
    Form1Rig rig;
    rig.ui().bar->setPanel(3, QStringLiteral("Send Record:  4"));
    QSignalSpy closed(&rig.window->session(), &LinkSession::closed);
    rig.window->connection().close1_Click();
    QVERIFY(closed.isEmpty());
    QCOMPARE(rig.fakes.prompter.boxes.size(), 1);
    QCOMPARE(rig.fakes.prompter.boxes[0].prompt, QStringLiteral("The comm port is closed"));
    QCOMPARE(rig.fakes.prompter.boxes[0].title, QStringLiteral("End Communicatiom "));
    QCOMPARE(rig.ui().bar->panel(3), QStringLiteral("Send Record:  4"));
    QVERIFY(rig.fakes.port.writes.isEmpty());
}

void TstConnection::disconnectDuringDialStopsTheRest()
{
    Form1Rig rig;
    rig.ui().Text2->setText(QStringLiteral("777"));
    bool pressed = false;
    QObject::connect(&rig.window->waiter(), &Waiter::ticked, [&] {
        if (!pressed) {
            pressed = true;
            rig.window->connection().close1_Click();
        }
    });
    rig.window->connection().connect_Click();
    QCOMPARE(rig.fakes.port.written(), QByteArray("\r\nEND\r\n"));   // no ATDT after Disconnect
    QVERIFY(!rig.fakes.port.isOpen());
}

void TstConnection::phoneFieldKeys()
{
    Form1Rig rig;
    QLineEdit* text2 = rig.ui().Text2;
    text2->setFocus();
    QTest::keyClicks(text2, QStringLiteral("123"));
    QCOMPARE(rig.fakes.store.read(kMain, kProps, QStringLiteral("ph"), QString()), QStringLiteral("123"));

    QTest::keyClick(text2, Qt::Key_Backspace);
    QCOMPARE(text2->text(), QString());
    QCOMPARE(rig.fakes.store.read(kMain, kProps, QStringLiteral("ph"), QStringLiteral("x")), QString());

    QTest::keyClicks(text2, QStringLiteral("98"));
    QTest::keyClick(text2, Qt::Key_Return);
    QCOMPARE(rig.fakes.store.read(kMain, kProps, QStringLiteral("ph"), QString()), QStringLiteral("98"));
    QCOMPARE(focus(), rig.ui().connectButton);

    text2->setCursorPosition(2);
    text2->setFocus(Qt::TabFocusReason);
    QCOMPARE(text2->cursorPosition(), 0);
    QVERIFY(!text2->hasSelectedText());
}

QTEST_MAIN(TstConnection)
#include "tst_connection.moc"
