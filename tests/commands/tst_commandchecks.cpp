// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/linksession.h"
#include "desktop/maskedfield.h"
#include "form1rig.h"
#include "operator.h"
#include "pasteanddrop.h"

#include <QAccessible>
#include <QAccessibleInterface>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

namespace {

using Answer = MessageBox::Answer;
using Buttons = MessageBox::Buttons;
using Icon = MessageBox::Icon;

const QString kAppTitle = QStringLiteral("Velno 6100 Management System");
const QString kGuardPrompt = guardBox().prompt;
const QString kEventsPrompt = QStringLiteral("Do you really want to delete EventRecord DataBase ?");
const QString kTenantsPrompt = QStringLiteral("Do you really want to delete Tenant DataBase ?");
const QString kDirectoryPrompt = QStringLiteral(
    " Please input the Tenant_Directory you want to delete ! Warning: If you input '0' or '00' or "
    "'000' or '0000', All tenants in the system will be deleted!");
const QString kMessagePrompt = QStringLiteral("Please Input the text in 'Welcome Message' box");

// The window after "SEND" (every command control usable), the port open or not.
struct CommandRig : Form1Rig {
    explicit CommandRig(bool portOpen)
    {
        if (portOpen)
            connectDirect();
        makeCommandsUsable();
        ui().upload->setEnabled(false);
        ui().download->setEnabled(false);
    }
};

void verifyConfirmation(const MessageBox& box, const QString& prompt)
{
    QCOMPARE(box.prompt, prompt);
    QCOMPARE(box.title, QStringLiteral("Delete Confirmation"));
    QCOMPARE(box.buttons, Buttons::YesNo);
    QCOMPARE(box.icon, Icon::Exclamation);
    QCOMPARE(box.defaultButton, Answer::No);
}

}   // namespace

class TstCommandChecks : public QObject {
    Q_OBJECT
private slots:
    void emptyFieldPromptComesBeforeTheGuard_data();
    void emptyFieldPromptComesBeforeTheGuard();
    void emptyFieldPromptUsesTheCurrentTitle();
    void closedPortShowsTheGuardAndKeepsTheFocus_data();
    void closedPortShowsTheGuardAndKeepsTheFocus();
    void clearingAsksBeforeTheGuard_data();
    void clearingAsksBeforeTheGuard();
    void clearTenantWithoutDirectoryOnlyWarns_data();
    void clearTenantWithoutDirectoryOnlyWarns();
    void welcomeMessageBoxStandsForBothCauses_data();
    void welcomeMessageBoxStandsForBothCauses();
    void welcomeMessageHourglassOnlyAroundTheWrites();
    void welcomeMessageFieldEnterGoesToTheButton();
    void masterCodeButtonOpensTheTransfers();
    void textsThatTheLineCannotCarryAreRefused_data();
    void textsThatTheLineCannotCarryAreRefused();
    void fieldsHoldOneLine_data();
    void fieldsHoldOneLine();
    void caretGoesToTheStartOnFocus_data();
    void caretGoesToTheStartOnFocus();
    void doorValuesTypedRoundTheGroup();
    void sendingKeepsTheFieldAndRepeats();
};

void TstCommandChecks::emptyFieldPromptComesBeforeTheGuard_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("prompt");
    QTest::addColumn<bool>("portOpen");
    const struct {
        const char* button;
        const char* field;
        const char* prompt;
    } rows[] = {
        {"uptalktime", "medit1", "Please input CallHold Time "},
        {"opentime1", "medit2", "Please input Door1OpenTime"},
        {"opentime2", "medit3", "Please input Door2OpenTime "},
        {"manualdoor1", "medit7", "Please input Door1UnlockHour"},
        {"manualdoor2", "medit8", "Please input Door2UnlockHour "},
        {"opendtmf", "dtmf", "Please input Door1,Door2TelephoneOpenNumber"},
        {"Newmastcode", "Medit_New_mastercode", "Please input new MasterCode"},
        {"Mastercode", "Text3", "Please input MasterCode"},
    };
    for (const auto& row : rows) {
        for (bool open : {true, false}) {
            QTest::addRow("%s, port %s", row.button, open ? "open" : "closed")
                << row.button << row.field << row.prompt << open;
        }
    }
}

void TstCommandChecks::emptyFieldPromptComesBeforeTheGuard()
{
    QFETCH(QString, button);
    QFETCH(QString, field);
    QFETCH(QString, prompt);
    QFETCH(bool, portOpen);
    CommandRig rig(portOpen);

    click(rig.control(button));

    QCOMPARE(rig.fakes.prompter.boxes.size(), 1);
    QCOMPARE(rig.fakes.prompter.boxes.first(), okBox(prompt, kAppTitle));
    QVERIFY(rig.fakes.port.writes.isEmpty());
    QCOMPARE(focusName(), field);
    QVERIFY(!rig.ui().upload->isEnabled());
    QVERIFY(!rig.ui().download->isEnabled());
}

void TstCommandChecks::emptyFieldPromptUsesTheCurrentTitle()
{
    CommandRig rig(true);
    rig.window->settings().setTitle(QStringLiteral("Velno 6300 Managemant System"));
    click(rig.control(QStringLiteral("opentime1")));
    QCOMPARE(rig.fakes.prompter.boxes.size(), 1);
    QCOMPARE(rig.fakes.prompter.boxes.first().title, QStringLiteral("Velno 6300 Managemant System"));
}

namespace {

// The commands that stop at the guard's box: for a closed port, or for an
// open one that refuses the write.
void addGuardRows(bool portOpen)
{
    const auto click = Trigger::Click;
    const auto enter = Trigger::Enter;
    const char* cause = portOpen ? "refused" : "closed";
    const auto addRow = [&](const char* name, const char* field, const char* keys, const char* target,
                            Trigger trigger, int confirmations) {
        QTest::addRow("%s, %s", name, cause)
            << field << keys << target << trigger << confirmations << portOpen;
    };
    addRow("Date", "", "", "Date", click, 0);
    addRow("Enter on Time", "", "", "rtrtc", enter, 0);
    addRow("keypad Enter on UnlockBeep", "", "", "up", Trigger::KeypadEnter, 0);
    addRow("Parameters", "", "", "up_par", click, 0);
    addRow("Time", "", "", "rtrtc", click, 0);
    addRow("OpenDoorNo", "dtmf", "12", "opendtmf", click, 0);
    addRow("Enter in dtmf", "dtmf", "12", "dtmf", enter, 0);
    addRow("UnlockMute", "", "", "um", click, 0);
    addRow("UnlockBeep", "", "", "up", click, 0);
    addRow("Talk Time", "medit1", "30", "uptalktime", click, 0);
    addRow("Enter in medit1", "medit1", "30", "medit1", enter, 0);
    addRow("Door1 Open Time", "medit2", "5", "opentime1", click, 0);
    addRow("Enter in medit2", "medit2", "5", "medit2", enter, 0);
    addRow("Door2 Open Time", "medit3", "5", "opentime2", click, 0);
    addRow("Enter in empty medit3", "", "", "medit3", enter, 0);
    addRow("ManualUnlockDoor1", "medit7", "8", "manualdoor1", click, 0);
    addRow("Enter in medit7", "medit7", "8", "medit7", enter, 0);
    addRow("ManualUnlockDoor2", "medit8", "18", "manualdoor2", click, 0);
    addRow("Enter in medit8", "medit8", "18", "medit8", enter, 0);
    addRow("New Mastercode", "Medit_New_mastercode", "4321", "Newmastcode", click, 0);
    addRow("Enter in new master code", "", "", "Medit_New_mastercode", enter, 0);
    addRow("MasterCode", "Text3", "1234", "Mastercode", click, 0);
    addRow("Enter in Text3", "Text3", "1234", "Text3", enter, 0);
    addRow("Clear Events after Yes", "", "", "clearevr", click, 1);
    addRow("Clear Tenant after Yes", "MEDITTNT", "12", "cleartnt", click, 1);
}

}   // namespace

// A port that is open but refuses the write gets the same box: the command
// was not sent, so nothing moves on.
void TstCommandChecks::closedPortShowsTheGuardAndKeepsTheFocus_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("target");
    QTest::addColumn<Trigger>("trigger");
    QTest::addColumn<int>("confirmations");
    QTest::addColumn<bool>("portOpen");   // open, but refusing every write
    for (bool open : {false, true})
        addGuardRows(open);
    QTest::addRow("Message, refused") << "MsgWel"
                                      << "HI"
                                      << "message" << Trigger::Click << 0 << true;
    QTest::addRow("Events, refused") << ""
                                     << ""
                                     << "up_evr" << Trigger::Click << 0 << true;
}

void TstCommandChecks::closedPortShowsTheGuardAndKeepsTheFocus()
{
    QFETCH(QString, field);
    QFETCH(QString, keys);
    QFETCH(QString, target);
    QFETCH(Trigger, trigger);
    QFETCH(int, confirmations);
    QFETCH(bool, portOpen);
    CommandRig rig(portOpen);
    rig.fakes.port.refuseWrites = true;
    rig.fakes.prompter.answer(Answer::Yes);
    if (!field.isEmpty())
        type(rig.control(field), keys);
    QSignalSpy announced(&rig.window->session(), &LinkSession::lineWritten);

    setOff(rig.control(target), trigger);

    const QList<MessageBox>& boxes = rig.fakes.prompter.boxes;
    QCOMPARE(boxes.size(), confirmations + 1);
    QCOMPARE(boxes.last(), guardBox());
    QVERIFY(rig.fakes.port.writes.isEmpty());
    QVERIFY(announced.isEmpty());
    QCOMPARE(focusName(), target);
    QVERIFY(!rig.ui().upload->isEnabled());
    QVERIFY(!rig.ui().download->isEnabled());
}

void TstCommandChecks::clearingAsksBeforeTheGuard_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("directory");
    QTest::addColumn<bool>("portOpen");
    QTest::addColumn<QList<Answer>>("answers");   // none: the default button
    QTest::addColumn<QStringList>("prompts");
    QTest::addColumn<QByteArrayList>("writes");
    const QList<Answer> yes{Answer::Yes};
    const QList<Answer> no{Answer::No};
    QTest::addRow("events, No") << "clearevr"
                                << "" << true << no << QStringList{kEventsPrompt} << QByteArrayList{};
    QTest::addRow("events, default button")
        << "clearevr"
        << "" << true << QList<Answer>{} << QStringList{kEventsPrompt} << QByteArrayList{};
    QTest::addRow("events, Yes") << "clearevr"
                                 << "" << true << yes << QStringList{kEventsPrompt}
                                 << QByteArrayList{"KLR EVR\r\n"};
    QTest::addRow("events, closed, No")
        << "clearevr"
        << "" << false << no << QStringList{kEventsPrompt} << QByteArrayList{};
    QTest::addRow("events, closed, Yes")
        << "clearevr"
        << "" << false << yes << QStringList{kEventsPrompt, kGuardPrompt} << QByteArrayList{};
    QTest::addRow("tenant 12, No") << "cleartnt"
                                   << "12" << true << no << QStringList{kTenantsPrompt} << QByteArrayList{};
    QTest::addRow("tenant 12, default button")
        << "cleartnt"
        << "12" << true << QList<Answer>{} << QStringList{kTenantsPrompt} << QByteArrayList{};
    QTest::addRow("tenant 0 asks the same")
        << "cleartnt"
        << "0" << true << yes << QStringList{kTenantsPrompt} << QByteArrayList{"CLR 0\r\n"};
    QTest::addRow("tenant 12, closed, Yes")
        << "cleartnt"
        << "12" << false << yes << QStringList{kTenantsPrompt, kGuardPrompt} << QByteArrayList{};
}

void TstCommandChecks::clearingAsksBeforeTheGuard()
{
    QFETCH(QString, button);
    QFETCH(QString, directory);
    QFETCH(bool, portOpen);
    QFETCH(QList<Answer>, answers);
    QFETCH(QStringList, prompts);
    QFETCH(QByteArrayList, writes);
    CommandRig rig(portOpen);
    for (Answer a : answers)
        rig.fakes.prompter.answer(a);
    if (!directory.isEmpty())
        type(rig.control(QStringLiteral("MEDITTNT")), directory);

    click(rig.control(button));

    QCOMPARE(rig.fakes.prompter.prompts(), prompts);
    verifyConfirmation(rig.fakes.prompter.boxes.first(), prompts.first());
    QCOMPARE(rig.fakes.port.writes, writes);
    QCOMPARE(rig.ui().MEDITTNT->typedValue(), directory);   // kept after sending
}

void TstCommandChecks::clearTenantWithoutDirectoryOnlyWarns_data()
{
    QTest::addColumn<bool>("portOpen");
    QTest::addRow("port open") << true;
    QTest::addRow("port closed") << false;
}

void TstCommandChecks::clearTenantWithoutDirectoryOnlyWarns()
{
    QFETCH(bool, portOpen);
    CommandRig rig(portOpen);
    click(rig.control(QStringLiteral("cleartnt")));
    QCOMPARE(rig.fakes.prompter.boxes.size(), 1);
    QCOMPARE(rig.fakes.prompter.boxes.first(),
             okBox(kDirectoryPrompt, QStringLiteral("Clear tenant"), Icon::Information));
    QVERIFY(rig.fakes.port.writes.isEmpty());
    QCOMPARE(focusName(), QStringLiteral("MEDITTNT"));
}

void TstCommandChecks::welcomeMessageBoxStandsForBothCauses_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("portOpen");
    QTest::addRow("empty, port open") << "" << true;
    QTest::addRow("text, port closed") << "WELCOME" << false;
    QTest::addRow("empty, port closed") << "" << false;
}

void TstCommandChecks::welcomeMessageBoxStandsForBothCauses()
{
    QFETCH(QString, text);
    QFETCH(bool, portOpen);
    CommandRig rig(portOpen);
    type(rig.control(QStringLiteral("MsgWel")), text);
    click(rig.control(QStringLiteral("message")));
    QCOMPARE(rig.fakes.prompter.boxes.size(), 1);
    QCOMPARE(rig.fakes.prompter.boxes.first(), okBox(kMessagePrompt, QStringLiteral("Wellcome Message")));
    QVERIFY(rig.fakes.port.writes.isEmpty());
    QCOMPARE(focusName(), QStringLiteral("message"));
    QCOMPARE(rig.ui().MsgWel->text(), text);
}

void TstCommandChecks::welcomeMessageHourglassOnlyAroundTheWrites()
{
    CommandRig rig(true);
    QList<bool> waitShapeAtWrite;
    rig.fakes.port.onWrite = [&](const QByteArray&) {
        waitShapeAtWrite << (rig.window->cursor().shape() == Qt::WaitCursor);
    };
    rig.fakes.prompter.onBox = [&](const MessageBox&) {
        QVERIFY(rig.window->cursor().shape() != Qt::WaitCursor);
    };
    type(rig.control(QStringLiteral("MsgWel")), QStringLiteral("HELLO"));
    QVERIFY(rig.window->cursor().shape() != Qt::WaitCursor);
    click(rig.control(QStringLiteral("message")));
    QCOMPARE(waitShapeAtWrite, (QList<bool>{true, true}));
    QVERIFY(rig.window->cursor().shape() != Qt::WaitCursor);
    QCOMPARE(rig.fakes.port.written(), QByteArray("PARMSG HELLO \r\n"));
}

void TstCommandChecks::welcomeMessageFieldEnterGoesToTheButton()
{
    CommandRig rig(true);
    type(rig.control(QStringLiteral("MsgWel")), QString(52, u'x'));
    QCOMPARE(rig.ui().MsgWel->text(), QString(51, u'x'));   // the 52nd key is refused
    QTest::keyClick(rig.ui().MsgWel, Qt::Key_Return);
    QCOMPARE(focusName(), QStringLiteral("message"));
    QVERIFY(rig.fakes.port.writes.isEmpty());
    QVERIFY(rig.fakes.prompter.boxes.isEmpty());
    QCOMPARE(rig.ui().MsgWel->text(), QString(51, u'x'));
}

void TstCommandChecks::masterCodeButtonOpensTheTransfers()
{
    CommandRig rig(true);
    QList<bool> transfersEnabledAtWrite;
    rig.fakes.port.onWrite = [&](const QByteArray&) {
        transfersEnabledAtWrite << rig.ui().upload->isEnabled();
    };
    type(rig.control(QStringLiteral("Text3")), QStringLiteral("4321"));
    click(rig.control(QStringLiteral("Mastercode")));
    QCOMPARE(transfersEnabledAtWrite, QList<bool>{false});
    QVERIFY(rig.ui().upload->isEnabled());
    QVERIFY(rig.ui().download->isEnabled());
    QCOMPARE(focusName(), QStringLiteral("upload"));
    QCOMPARE(rig.ui().Text3->text(), QStringLiteral("4321"));
    QVERIFY(rig.fakes.prompter.boxes.isEmpty());
}

void TstCommandChecks::textsThatTheLineCannotCarryAreRefused_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("target");
    QTest::addColumn<Trigger>("trigger");
    QTest::addColumn<QString>("named");
    QTest::addColumn<QString>("hidden");   // what the box must not show
    const auto click = Trigger::Click;
    const auto enter = Trigger::Enter;
    QTest::addRow("welcome message") << "MsgWel" << QStringLiteral("Caf\u00e9 \u263a\u263a") << "message"
                                     << click << QStringLiteral("\u263a") << QStringLiteral("\u00e9");
    QTest::addRow("characters beyond 16 bits whole")
        << "MsgWel" << QStringLiteral("\U0001F600\U0001F601") << "message" << click
        << QStringLiteral("\U0001F600 (U+1F600), \U0001F601 (U+1F601)") << QString();
    // Fields that show asterisks are named, their characters never shown.
    QTest::addRow("new master code by button")
        << "Medit_New_mastercode" << QStringLiteral("\u20ac1") << "Newmastcode" << click << "New Mastercode"
        << QStringLiteral("\u20ac");
    QTest::addRow("new master code by Enter")
        << "Medit_New_mastercode" << QStringLiteral("1\u4e002") << "Medit_New_mastercode" << enter
        << "New Mastercode" << QStringLiteral("\u4e00");
    QTest::addRow("programming code by button") << "Text3" << QStringLiteral("12\u20ac") << "Mastercode"
                                                << click << "Mastercode" << QStringLiteral("\u20ac");
    QTest::addRow("programming code by Enter") << "Text3" << QStringLiteral("1\U0001F600") << "Text3" << enter
                                               << "Mastercode" << QStringLiteral("\U0001F600");
    // Text set past the field's own filter: refused, the field named.
    QTest::addRow("line break in the welcome message")
        << "MsgWel" << QStringLiteral("X\r\nCLR 0") << "message" << click << "Welcome Message" << QString();
    QTest::addRow("line break in the new master code")
        << "Medit_New_mastercode" << QStringLiteral("1\n2") << "Medit_New_mastercode" << enter
        << "New Mastercode" << QString();
    QTest::addRow("control character in the programming code")
        << "Text3" << QStringLiteral("1\u00012") << "Mastercode" << click << "Mastercode" << QString();
    QTest::addRow("tab in the phone number")
        << "Text2" << QStringLiteral("55\t01") << "connect" << click << "Phone Number" << QString();
}

void TstCommandChecks::textsThatTheLineCannotCarryAreRefused()
{
    QFETCH(QString, field);
    QFETCH(QString, text);
    QFETCH(QString, target);
    QFETCH(Trigger, trigger);
    QFETCH(QString, named);
    QFETCH(QString, hidden);
    CommandRig rig(true);
    auto* edit = rig.control<QLineEdit>(field);
    edit->setValidator(nullptr);   // as text set past the field's own filter would be
    edit->setText(text);

    setOff(rig.control(target), trigger);

    QCOMPARE(rig.fakes.prompter.boxes.size(), 1);
    const MessageBox& box = rig.fakes.prompter.boxes.first();
    QVERIFY2(box.prompt.contains(named), qPrintable(box.prompt));
    QVERIFY2(hidden.isEmpty() || !box.prompt.contains(hidden), qPrintable(box.prompt));
    QCOMPARE(box.title, rig.window->settings().title());
    QCOMPARE(box.icon, Icon::Exclamation);
    QVERIFY(rig.fakes.port.writes.isEmpty());
    QCOMPARE(rig.control<QLineEdit>(field)->text(), text);
    QVERIFY(!rig.ui().upload->isEnabled());
}

// Whatever way text comes in, the field holds one line: each line break one
// blank, other control characters left out, the caret after what came in.
void TstCommandChecks::fieldsHoldOneLine_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("way");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("held");
    for (const char* field : {"Text2", "Text3", "MsgWel", "Medit_New_mastercode"}) {
        for (const char* way : {"paste", "drop", "accessible"})
            QTest::addRow("%s, %s", field, way) << field << way << QStringLiteral("1\r\n2") << "1 2";
    }
    QTest::addRow("every line break")
        << "MsgWel"
        << "paste" << QStringLiteral("a\rb\nc\u2028d\u2029e\r\n\r\nf") << "a b c d e  f";
    QString controls = QStringLiteral("A\tB\u007fC\u0011D\u0013E");
    controls.insert(1, QChar(0));
    QTest::addRow("other control characters") << "MsgWel"
                                              << "drop" << controls << "ABCDE";
    QTest::addRow("control keys") << "Text3"
                                  << "keys" << QStringLiteral("1\u00012\t\u001b") << "12";
}

void TstCommandChecks::fieldsHoldOneLine()
{
    QFETCH(QString, field);
    QFETCH(QString, way);
    QFETCH(QString, text);
    QFETCH(QString, held);
    CommandRig rig(true);
    auto* edit = rig.control<QLineEdit>(field);
    edit->setFocus();
    if (way == QStringLiteral("paste")) {
        pasteInto(edit, text);
    } else if (way == QStringLiteral("drop")) {
        dropOnto(edit, text);
    } else if (way == QStringLiteral("accessible")) {
        QAccessible::queryAccessibleInterface(edit)->setText(QAccessible::Value, text);
    } else {
        typeText(edit, text);
    }
    QCOMPARE(edit->text(), held);
    QCOMPARE(edit->cursorPosition(), int(held.size()));
    QVERIFY(rig.fakes.port.writes.isEmpty());
}

void TstCommandChecks::caretGoesToTheStartOnFocus_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("fullText");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("afterKey");
    QTest::addColumn<QString>("afterClickAtEnd");   // a masked field is typed from its start
    QTest::addRow("dtmf") << "dtmf"
                          << "5/7"
                          << "3"
                          << "3/7"
                          << "3/7";
    QTest::addRow("medit1") << "medit1"
                            << "120"
                            << "9"
                            << "920"
                            << "920";
    QTest::addRow("medit2") << "medit2"
                            << "45"
                            << "7"
                            << "75"
                            << "75";
    QTest::addRow("medit3") << "medit3"
                            << "45"
                            << "7"
                            << "75"
                            << "75";
    QTest::addRow("medit7") << "medit7"
                            << "45"
                            << "7"
                            << "75"
                            << "75";
    QTest::addRow("medit8") << "medit8"
                            << "45"
                            << "7"
                            << "75"
                            << "75";
    QTest::addRow("new master code") << "Medit_New_mastercode"
                                     << "1234"
                                     << "9"
                                     << "91234"
                                     << "12349";
}

void TstCommandChecks::caretGoesToTheStartOnFocus()
{
    QFETCH(QString, field);
    QFETCH(QString, fullText);
    QFETCH(QString, key);
    QFETCH(QString, afterKey);
    QFETCH(QString, afterClickAtEnd);
    CommandRig rig(true);
    auto* edit = rig.control<QLineEdit>(field);
    edit->setText(fullText);
    // Back to a field never left (window activated again, menu closed): the
    // caret stays where the operator had it.
    for (auto reason : {Qt::ActiveWindowFocusReason, Qt::PopupFocusReason, Qt::MenuBarFocusReason}) {
        rig.ui().Text2->setFocus();
        edit->setCursorPosition(int(fullText.size()));
        edit->setFocus(reason);
        QCOMPARE(edit->cursorPosition(), int(fullText.size()));
    }
    for (auto reason : {Qt::TabFocusReason, Qt::BacktabFocusReason, Qt::ShortcutFocusReason,
                        Qt::MouseFocusReason, Qt::OtherFocusReason}) {
        rig.ui().Text2->setFocus();
        edit->setCursorPosition(int(fullText.size()));
        edit->setFocus(reason);
        QCOMPARE(edit->cursorPosition(), 0);
        QVERIFY(!edit->hasSelectedText());
    }
    QTest::keyClicks(edit, key);
    QCOMPARE(edit->text(), afterKey);

    edit->setText(fullText);
    rig.ui().Text2->setFocus();
    QTest::mouseClick(edit, Qt::LeftButton, {}, QPoint(edit->width() - 3, edit->height() / 2));
    QTest::keyClicks(edit, key);
    QCOMPARE(edit->text(), afterClickAtEnd);
    QVERIFY(rig.fakes.port.writes.isEmpty());
}

// The operator types each value and presses Enter; the focus walks the group.
// Held down, Enter repeats: only its first press sends and moves on.
void TstCommandChecks::doorValuesTypedRoundTheGroup()
{
    CommandRig rig(true);
    rig.ui().medit2->setFocus();
    const struct {
        const char* keys;
        const char* line;
        const char* nextFocus;
    } steps[] = {
        {"10", "PARDOT1 10\r\n", "medit3"}, {"12", "PARDOT2 12\r\n", "medit7"},
        {"5", "PAROHR1 5\r\n", "medit8"},   {"06", "PAROHR2 06\r\n", "medit1"},
        {"030", "PARTKT 030\r\n", "um"},
    };
    QByteArrayList expected;
    for (const auto& step : steps) {
        QTest::keyClicks(focus(), QString::fromLatin1(step.keys));
        QCOMPARE(rig.fakes.port.writes, expected);   // typing alone sends nothing
        QTest::keyClick(focus(), Qt::Key_Return);
        for (int repeat = 0; repeat < 3; ++repeat)
            QTest::simulateEvent(focus(), true, Qt::Key_Return, {}, QStringLiteral("\r"), true);
        expected << step.line;
        QCOMPARE(rig.fakes.port.writes, expected);
        QCOMPARE(focusName(), QString::fromLatin1(step.nextFocus));
    }
    QVERIFY(rig.fakes.prompter.boxes.isEmpty());
}

void TstCommandChecks::sendingKeepsTheFieldAndRepeats()
{
    CommandRig rig(true);
    type(rig.control(QStringLiteral("medit2")), QStringLiteral("45"));
    click(rig.control(QStringLiteral("opentime1")));
    click(rig.control(QStringLiteral("opentime1")));
    QCOMPARE(rig.fakes.port.writes, (QByteArrayList{"PARDOT1 45\r\n", "PARDOT1 45\r\n"}));
    QCOMPARE(rig.ui().medit2->typedValue(), QStringLiteral("45"));
}

QTEST_MAIN(TstCommandChecks)
#include "tst_commandchecks.moc"
