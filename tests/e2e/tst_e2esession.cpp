// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/mainwindow.h"
#include "core/appsettings.h"
#include "core/linksession.h"
#include "core/paneljob.h"
#include "desktop/maskedfield.h"
#include "fakeserialport.h"
#include "files/sitemenu.h"
#include "files/tenanteditor.h"
#include "files/tenantmenu.h"
#include "form/statuspanels.h"
#include "form1rig.h"
#include "journalreader.h"
#include "link/receiver.h"
#include "operator.h"
#include "simulatorprocess.h"
#include "transfer/filesender.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMap>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <functional>

namespace {

// A tick of 20 ms instead of a second: a line paced at three ticks still
// crosses the pseudo-terminal well within its pause.
constexpr int kTickMs = 20;
// Generous, for a machine busy with other tests: a passing run takes far less.
constexpr int kAnswerTimeoutMs = 20000;

const QString kCrLf = QStringLiteral("\r\n");
const QString kOk = QStringLiteral("OK");
const QString kProgrammingMode = QStringLiteral("PROGRAMMING MODE");
const QString kAccessDenied = QStringLiteral("ACCESS DENIED");

QString lines(const QStringList& list)
{
    return list.isEmpty() ? QString() : list.join(kCrLf) + kCrLf;
}

QString repeated(const QString& line, int times)
{
    return lines(QStringList(times, line));
}

// A state file of the simulator, section by section.
struct PanelStateFile {
    QMap<QString, QString> panel;   // key = value
    QStringList tenants;
    QStringList events;

    static PanelStateFile read(const QString& path)
    {
        PanelStateFile state;
        QString section;
        const QStringList all = QString::fromUtf8(contentOf(path)).split(u'\n');
        for (const QString& line : all) {
            if (line.trimmed().isEmpty() || line.startsWith(u'#'))
                continue;
            if (line.startsWith(u'[')) {
                section = line.trimmed();
            } else if (section == QLatin1String("[panel]")) {
                const qsizetype equals = line.indexOf(u'=');
                state.panel.insert(line.left(equals).trimmed(), line.mid(equals + 1).trimmed());
            } else if (section == QLatin1String("[tenants]")) {
                state.tenants.append(line);
            } else if (section == QLatin1String("[events]")) {
                state.events.append(line);
            }
        }
        return state;
    }
};

// The program's main window on the real serial port, its port 1 pointed at
// the real panel simulator, shown and active so that clicks and keys land as
// an operator's do. The simulator runs on a copy of the demo panel.
struct SessionRig : Form1Rig {
    SessionRig() : Form1Rig(RigOptions().onRealPort().tick(kTickMs).unloaded()) {}

    // False when the simulator did not come up.
    bool start(const QStringList& simulatorOptions = {})
    {
        if (!QFile::copy(QStringLiteral(PANEL_SIM_DEMO_STATE), statePath))
            return false;
        QFile::setPermissions(statePath, QFile::ReadOwner | QFile::WriteOwner);
        if (!sim.start(QStringList{QStringLiteral("--state"), statePath} + simulatorOptions))
            return false;
        fakes.mapPort(1, sim.path());
        load();
        return true;
    }

    // How many whole lines of the pane are exactly this text.
    int answers(const QString& line) const { return int(paneText().split(kCrLf).count(line)); }
    // The programming code typed into "Mastercode" and Enter.
    void enterProgrammingCode(const QString& code)
    {
        click(ui().Text3);
        QTest::keyClicks(ui().Text3, code);
        pressEnter(ui().Text3);
    }

    const QString statePath = dir.filePath(QStringLiteral("panel.txt"));
    SimulatorProcess sim;
};

// Types a tenant's fields from the directory number on, each ended by the
// Enter key, which moves the focus on; then clicks the "Enter" button.
void addTenant(TenantEditor& editor, const QStringList& fields)
{
    TenantEditorUi& ui = editor.ui();
    const QList<QWidget*> order{ui.dirtenant, ui.teltenant, ui.adtenant, ui.doortnt, ui.Text2};
    for (int i = 0; i < order.size(); ++i)
        typeAndEnter(order[i], fields[i]);
    click(ui.ent);
}

}   // namespace

class TstE2eSession : public QObject {
    Q_OBJECT
private slots:
    void fullSession();
    void throughTheModem();
    void simulatorGoesAwayDuringSend();
    void windowAndBatchWriteTheSame_data();
    void windowAndBatchWriteTheSame();
};

// Connect, programming code, SEND, every parameter command, clearing, a
// tenant upload into a capture file, a tenant file from the editor, Disconnect;
// then the panel's saved state and the capture file.
void TstE2eSession::fullSession()
{
    SessionRig rig;
    QVERIFY2(rig.start(), "the panel simulator did not start");
    const PanelStateFile demo = PanelStateFile::read(rig.statePath);
    Form1Ui& ui = rig.ui();
    ScriptedPrompter& prompter = rig.fakes.prompter;
    rig.fakes.clock.time = QDateTime(QDate(2024, 5, 17), QTime(14, 45, 30));   // a Friday

    QCOMPARE(rig.connectDirect(), QStringList{QStringLiteral("Please input the phone number")});
    QVERIFY(rig.port().isOpen());
    QCOMPARE(ui.bar->panel(2), QStringLiteral("Comm Number:  1"));

    rig.enterProgrammingCode(QStringLiteral("1234"));
    QTRY_COMPARE_WITH_TIMEOUT(rig.answers(kProgrammingMode), 6, kAnswerTimeoutMs);
    QVERIFY(ui.download->isEnabled());
    QVERIFY(!ui.opentime1->isEnabled());
    click(ui.download);   // SEND
    QVERIFY(ui.opentime1->isEnabled());

    // Each command as the operator gives it, the next once the panel has
    // confirmed it with "OK".
    const MessageBox::Answer yes = MessageBox::Answer::Yes;
    const QList<std::function<void()>> commands{
        [&] { click(ui.Date); },
        [&] { click(ui.rtrtc); },
        [&] { typeAndEnter(ui.dtmf, QStringLiteral("34")); },
        [&] {
            type(ui.medit1, QStringLiteral("120"));
            click(ui.uptalktime);
        },
        [&] { typeAndEnter(ui.medit2, QStringLiteral("15")); },
        [&] {
            type(ui.medit3, QStringLiteral("20"));
            click(ui.opentime2);
        },
        [&] { typeAndEnter(ui.medit7, QStringLiteral("07")); },
        [&] {
            type(ui.medit8, QStringLiteral("19"));
            click(ui.manualdoor2);
        },
        [&] {
            prompter.answer(yes);
            click(ui.clearevr);
        },
        [&] {
            type(ui.MEDITTNT, QStringLiteral("12"));
            prompter.answer(yes);
            click(ui.cleartnt);
        },
        [&] { click(ui.um); },
        [&] { click(ui.up); },
        [&] {
            type(ui.Medit_New_mastercode, QStringLiteral("5678"));
            click(ui.Newmastcode);
        },
        [&] {
            type(ui.MsgWel, QStringLiteral("Welcome to Elm House"));
            click(ui.message);
        },
    };
    int confirmed = 0;
    for (const auto& command : commands) {
        command();
        ++confirmed;
        QTRY_COMPARE_WITH_TIMEOUT(rig.answers(kOk), confirmed, kAnswerTimeoutMs);
    }
    QCOMPARE(prompter.prompts(),
             (QStringList{QStringLiteral("Do you really want to delete EventRecord DataBase ?"),
                          QStringLiteral("Do you really want to delete Tenant DataBase ?")}));
    prompter.boxes.clear();

    // The panel now refuses the old code, still in the field, and takes the new one.
    QTest::mouseClick(ui.Text3, Qt::LeftButton);
    QTest::keyClick(ui.Text3, Qt::Key_Return);
    QTRY_COMPARE_WITH_TIMEOUT(rig.answers(kAccessDenied), 6, kAnswerTimeoutMs);
    QTest::keyClick(ui.Text3, Qt::Key_Backspace);
    rig.enterProgrammingCode(QStringLiteral("5678"));
    QTRY_COMPARE_WITH_TIMEOUT(rig.answers(kProgrammingMode), 12, kAnswerTimeoutMs);

    // "Tenants" into a capture file: the panel's list, without tenant 12.
    QStringList listed = demo.tenants;
    listed.removeIf([](const QString& t) { return t.startsWith(QLatin1String("TNTDIR:12TEL")); });
    QCOMPARE(listed.size(), demo.tenants.size() - 1);
    const QString capture = rig.dir.filePath(QStringLiteral("tenants.TNT"));
    prompter.choose(capture);
    click(ui.upload);   // RECEIVE
    click(ui.up_tnt);
    QTRY_COMPARE_WITH_TIMEOUT(contentOf(capture), lines(listed).toLatin1(), kAnswerTimeoutMs);
    QVERIFY(ui.Command3->isVisible());
    click(ui.Command3);
    QVERIFY(!ui.Command3->isVisible());

    // A tenant file made in the editor (File > New Tenant Database > 2-Digit
    // Directory): a new tenant 31 and tenant 12 back with new data.
    const QStringList added{QStringLiteral("TNTDIR:31TEL:5550301 CODE:3131 DOOR:1 NAME:Noor Haddad"),
                            QStringLiteral("TNTDIR:12TEL:5550199 CODE:1212 DOOR:2 NAME:Ivo Brandt")};
    const QString tenantFile = rig.dir.filePath(QStringLiteral("new.TNT"));
    rig.window->tenantMenu().runModal = [&](TenantEditor& editor) {
        editor.show();
        QApplication::setActiveWindow(&editor);
        QVERIFY(QTest::qWaitForWindowActive(&editor));
        addTenant(editor, {"31", "5550301", "3131", "1", "Noor Haddad"});
        addTenant(editor, {"12", "5550199", "1212", "2", "Ivo Brandt"});
        prompter.choose(tenantFile);
        click(editor.ui().tntsave);
        click(editor.ui().qui);
    };
    ui.di->trigger();
    QCOMPARE(contentOf(tenantFile), (lines(added) + kCrLf).toLatin1());
    QApplication::setActiveWindow(rig.window.get());
    QVERIFY(QTest::qWaitForWindowActive(rig.window.get()));

    prompter.choose(tenantFile);
    click(ui.sendfileg);   // DATABASE: returns when the file is sent
    QCOMPARE(rig.window->fileSender().sentRecords(), 2);
    QCOMPARE(ui.bar->panel(3), QStringLiteral("Send Record:  2"));
    QVERIFY(!ui.Progress->isVisible());
    QTRY_COMPARE_WITH_TIMEOUT(rig.answers(kOk), confirmed + 2, kAnswerTimeoutMs);

    click(ui.close1);   // Disconnect
    QVERIFY(!rig.port().isOpen());
    QVERIFY(prompter.boxes.isEmpty());
    QCOMPARE(rig.paneText(),
             repeated(kProgrammingMode, 6) + repeated(kOk, confirmed) + repeated(kAccessDenied, 6)
                 + repeated(kProgrammingMode, 6) + lines(listed) + repeated(kOk, 2));

    QCOMPARE(rig.sim.stop(), 0);   // SIGTERM: the simulator saves its state
    const PanelStateFile saved = PanelStateFile::read(rig.statePath);
    const QMap<QString, QString> expected{
        {"master-code", "5678"}, {"PARTKT", "120"}, {"PARDOT1", "15"}, {"PARDOT2", "20"},
        {"PAROHR1", "07"},       {"PAROHR2", "19"}, {"PARDTM", "34"},  {"PARMSG", "Welcome to Elm House"},
        {"DAT", "05 17 2024 5"}, {"TIM", "14 45"}};
    QCOMPARE(saved.panel, expected);
    QCOMPARE(listed.size(), 4);   // 11, 21, 22 and 101: 12 and 31 join them in order
    QCOMPARE(saved.tenants, (QStringList{listed[0], added[1], listed[1], listed[2], added[0], listed[3]}));
    const QString stamp = QStringLiteral("05/17/2024 14:45 ");
    QCOMPARE(saved.events,
             (QStringList{stamp + "EVENT RECORD CLEARED", stamp + "TENANT 12 CLEARED",
                          stamp + "DOOR OPENED BY PAROPN", stamp + "DOOR OPENED BY PAROPB",
                          stamp + "MASTER CODE CHANGED"}
              + QStringList(6, stamp + "WRONG CODE REFUSED")));
}

// The simulator with a modem in front: Connect dials with the setup string
// and the phone number, the modem's answers show in the pane, then the panel
// takes the programming code and a command through the call.
void TstE2eSession::throughTheModem()
{
    SessionRig rig;
    rig.fakes.store.store(AppSettings::kSettingTitle, AppSettings::kSection, QStringLiteral("sett"),
                          QStringLiteral("AT&F E0 V1"));
    // A short dial: the test waits for CONNECT before it types the code.
    QVERIFY2(rig.start({QStringLiteral("--modem"), QStringLiteral("--connect-delay"), QStringLiteral("0.3")}),
             "the panel simulator did not start");
    const PanelStateFile demo = PanelStateFile::read(rig.statePath);
    Form1Ui& ui = rig.ui();
    // The site's port, phone number and modem setting, chosen again by hand
    // before Connect: the site stays in use.
    Site elm;
    elm.name = QStringLiteral("Elm House");
    elm.port = 1;
    elm.phone = QStringLiteral("5551234");
    elm.setup = QStringLiteral("AT&F E0 V1");
    SiteMenu& sites = rig.window->siteMenu();
    QCOMPARE(sites.book().add(elm), Store::Change::Done);
    QVERIFY(sites.use(sites.book().indexOf(elm.name)));

    click(ui.Option1);
    ui.Text2->clear();
    QTest::mouseClick(ui.Text2, Qt::LeftButton);
    QTest::keyClicks(ui.Text2, QStringLiteral("5551234"));
    click(ui.connectButton);   // dials: returns after the pauses
    QVERIFY(rig.port().isOpen());
    QVERIFY(rig.fakes.prompter.boxes.isEmpty());
    const QString dialled = QStringLiteral("OK\r\nCONNECT 1200\r\n");
    QTRY_COMPARE_WITH_TIMEOUT(rig.paneText(), dialled, kAnswerTimeoutMs);

    rig.enterProgrammingCode(QStringLiteral("1234"));
    QTRY_COMPARE_WITH_TIMEOUT(rig.answers(kProgrammingMode), 6, kAnswerTimeoutMs);
    click(ui.download);
    typeAndEnter(ui.medit2, QStringLiteral("15"));
    QTRY_COMPARE_WITH_TIMEOUT(rig.answers(kOk), 2, kAnswerTimeoutMs);
    QCOMPARE(rig.paneText(), dialled + repeated(kProgrammingMode, 6) + repeated(kOk, 1));

    click(ui.close1);
    QVERIFY(!rig.port().isOpen());

    // The journal, line by line: every line sent, the code masked, and the events.
    QVERIFY(rig.window->journalWriter().waitUntilWritten(5000));
    const QStringList journaled = storedLines(rig.fakes.dataDir.path());
    const QString entry = QStringLiteral("Elm House ");
    const QStringList expected =
        QStringList{entry + QStringLiteral("* connected to port 1 (") + rig.sim.path() + u')',
                    entry + QStringLiteral("> AT&F E0 V1"), entry + QStringLiteral("> ATDT5551234")}
        + QStringList(6, entry + QStringLiteral("> PGM****"))   // the code goes out six times
        + QStringList{entry + QStringLiteral("> PARDOT1 15"), entry + QStringLiteral("> END"),
                      entry + QStringLiteral("* port closed")};
    QCOMPARE(journaled, expected);

    QCOMPARE(rig.sim.stop(), 0);
    const PanelStateFile saved = PanelStateFile::read(rig.statePath);
    QCOMPARE(saved.panel.value(QStringLiteral("PARDOT1")), QStringLiteral("15"));
    QCOMPARE(saved.events,
             demo.events + QStringList{QStringLiteral("03/14/2024 09:30 PROGRAMMING MODE ENTERED")});
    QCOMPARE(saved.tenants, demo.tenants);
}

// The simulator is killed during the pause before a line of a tenant file
// while a tenant upload is still being captured: the operator is told, the
// send stops, and the pane and the capture file keep what they showed.
void TstE2eSession::simulatorGoesAwayDuringSend()
{
    SessionRig rig;
    QVERIFY2(rig.start(), "the panel simulator did not start");
    const PanelStateFile demo = PanelStateFile::read(rig.statePath);
    Form1Ui& ui = rig.ui();
    ScriptedPrompter& prompter = rig.fakes.prompter;
    rig.connectDirect();
    QVERIFY(rig.port().isOpen());
    rig.enterProgrammingCode(QStringLiteral("1234"));
    QTRY_COMPARE_WITH_TIMEOUT(rig.answers(kProgrammingMode), 6, kAnswerTimeoutMs);

    const qsizetype beforeCapture = rig.paneText().size();
    const QString capture = rig.dir.filePath(QStringLiteral("tenants.TNT"));
    prompter.choose(capture);
    click(ui.upload);
    click(ui.up_tnt);
    QTRY_COMPARE_WITH_TIMEOUT(contentOf(capture), lines(demo.tenants).toLatin1(), kAnswerTimeoutMs);

    QStringList records;
    for (int n = 40; n < 60; ++n)
        records.append(QStringLiteral("TNTDIR:%1TEL:55504%1 CODE: DOOR:1 NAME:Tenant %1").arg(n));
    const QString tenantFile = rig.dir.filePath(QStringLiteral("many.TNT"));
    QVERIFY(writeFile(tenantFile, lines(records).toLatin1()));

    // Once the panel has confirmed three lines, at the next tick of a pause:
    // the simulator is killed, and the tick goes on once the loss is seen.
    constexpr int kConfirmedBeforeKill = 3;
    QString paneBeforeKill;
    qint64 sentAtKill = -1;
    QObject::connect(&rig.window->waiter(), &Waiter::ticked, [&] {
        if (sentAtKill >= 0 || rig.answers(kOk) < kConfirmedBeforeKill)
            return;
        paneBeforeKill = rig.paneText();
        sentAtKill = rig.window->fileSender().sentRecords();
        rig.sim.process().kill();
        QVERIFY(rig.sim.process().waitForFinished(kAnswerTimeoutMs));
        QTRY_VERIFY_WITH_TIMEOUT(!rig.port().isOpen(), kAnswerTimeoutMs);
    });
    click(ui.download);
    prompter.choose(tenantFile);
    click(ui.sendfileg);   // returns once the send has stopped

    QVERIFY(sentAtKill >= kConfirmedBeforeKill);
    QCOMPARE(rig.window->fileSender().sentRecords(), sentAtKill);
    QVERIFY(sentAtKill < records.size());
    QVERIFY(!ui.Progress->isVisible());
    QVERIFY(!ui.Command1->isVisible());
    QCOMPARE(ui.bar->panel(1),
             QStringLiteral("Status: ") + Receiver::kLineLost + QStringLiteral(" (") + rig.sim.path()
                 + QStringLiteral(")"));

    QCOMPARE(prompter.boxes.size(), 2);
    QVERIFY2(prompter.boxes[0].prompt.contains(QStringLiteral("was lost")),
             qPrintable(prompter.boxes[0].prompt));
    QVERIFY(prompter.boxes[0].prompt.contains(rig.sim.path()));
    QVERIFY(prompter.boxes[0].detail.contains(QStringLiteral("capture file")));
    QCOMPARE(prompter.boxes[1], guardBox());

    // Nothing shown is lost: the pane holds what it held, and at most the
    // answers to the lines sent; the capture file, still open, all that was
    // shown since it opened.
    QVERIFY(rig.paneText().startsWith(paneBeforeKill));
    QVERIFY(rig.answers(kOk) <= sentAtKill);
    QCOMPARE(rig.paneText(),
             repeated(kProgrammingMode, 6) + lines(demo.tenants) + repeated(kOk, rig.answers(kOk)));
    QVERIFY(rig.window->context().capture.isOpen());
    QCOMPARE(contentOf(capture), rig.paneText().mid(beforeCapture).toLatin1());
}

// The same visit made by an operator in the window and by an unattended job:
// the port receives the same bytes.
void TstE2eSession::windowAndBatchWriteTheSame_data()
{
    QTest::addColumn<QString>("phone");
    QTest::addColumn<QString>("button");   // up_all, up_par, up_evr, up_tnt, or sendfileg
    QTest::addColumn<QString>("word");
    QTest::newRow("direct, events") << QString() << QStringLiteral("up_evr") << QStringLiteral("PRIEVR");
    QTest::newRow("direct, everything") << QString() << QStringLiteral("up_all") << QStringLiteral("PRIALL");
    QTest::newRow("by modem, tenants")
        << QStringLiteral("5550100") << QStringLiteral("up_tnt") << QStringLiteral("PRITNT");
    QTest::newRow("by modem, parameters")
        << QStringLiteral("5550100") << QStringLiteral("up_par") << QStringLiteral("PRIPAR");
    QTest::newRow("a tenant file sent") << QString() << QStringLiteral("sendfileg") << QString();
}

void TstE2eSession::windowAndBatchWriteTheSame()
{
    QFETCH(QString, phone);
    QFETCH(QString, button);
    QFETCH(QString, word);
    const QString setup = QStringLiteral("AT&F E0 V1");
    Form1Rig rig;
    const QString tenants =
        writeFile(rig.dir, QStringLiteral("site.TNT"),
                  "TNTDIR:31TEL:5550301 CODE:3131 DOOR:1 NAME:Flat 31\r\n\r\nTNTDIR:12\r\n");
    const QString capture = rig.dir.filePath(QStringLiteral("window.EVR"));

    // The operator: Connect (dialling when there is a number), the code and
    // Enter, the button, Disconnect.
    rig.fakes.store.store(AppSettings::kSettingTitle, AppSettings::kSection, QStringLiteral("sett"), setup);
    Form1Ui& ui = rig.ui();
    ui.Text2->setText(phone);
    rig.fakes.prompter.answer(MessageBox::Answer::Ok);   // "Please input the phone number", when direct
    click(ui.connectButton);
    typeAndEnter(ui.Text3, QStringLiteral("1234"));
    if (button == QLatin1String("sendfileg")) {
        click(ui.download);
        rig.fakes.prompter.choose(tenants);
    } else {
        rig.window->upload_Click();
        rig.fakes.prompter.choose(capture);
    }
    click(rig.control(button));
    click(ui.close1);

    // The job, on a port of its own whose modem connects.
    FakeSerialPort port;
    port.onWrite = [&port](const QByteArray& bytes) {
        if (bytes.startsWith("ATDT"))
            QTimer::singleShot(0, &port, [&port] { port.receive("CONNECT 1200\r\n"); });
    };
    LinkSession session(port);
    PanelJob job(session, port, TestPlatform::kShortTickMs);
    PanelJobPlan plan;
    plan.phone = phone;
    plan.setupString = setup;
    plan.code = QStringLiteral("1234");
    plan.action = word.isEmpty() ? PanelJobPlan::Action::Send : PanelJobPlan::Action::Pull;
    plan.pullWord = word;
    plan.path = word.isEmpty() ? tenants : rig.dir.filePath(QStringLiteral("job.EVR"));
    plan.quietSeconds = 1;
    job.run(plan);

    QCOMPARE(port.writes.join(), rig.fakes.port.writes.join());
    QVERIFY(port.writes.join().endsWith("END\r\n"));
}

QTEST_MAIN(TstE2eSession)
#include "tst_e2esession.moc"
