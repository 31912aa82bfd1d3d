// SPDX-License-Identifier: GPL-3.0-or-later
#include "linesession.h"
#include "linesplitter.h"
#include "panel.h"
#include "ptyclient.h"
#include "simulatorprocess.h"
#include "statefile.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

Q_DECLARE_METATYPE(TenantRecord)
Q_DECLARE_METATYPE(ModemFrontEnd::Mode)
Q_DECLARE_METATYPE(DialResult)

namespace {

const QString kPm = QStringLiteral("PROGRAMMING MODE");
const QString kOk = QStringLiteral("OK");
const QString kError = QStringLiteral("ERROR");
const QString kDenied = QStringLiteral("ACCESS DENIED");
const QString kNotPm = QStringLiteral("NOT IN PROGRAMMING MODE");
const QString kNoStamp = QStringLiteral("--/--/---- --:--");
const QString kJohn = QStringLiteral("TNTDIR:12TEL:5551234 CODE:4321 DOOR:1 NAME:John Smith");
const QString kJane = QStringLiteral("TNTDIR:12TEL:5559876 CODE: DOOR:2 NAME:Jane Roe");
const QString kOffice = QStringLiteral("TNTDIR:101TEL:55503011234 CODE:9090 DOOR: NAME:Caretaker Office");
const QString kCleo = QStringLiteral("TNTDIR:21TEL:5550201 CODE:1357 DOOR:2 NAME:Cleo Marchetti");

// Feeds the lines to the panel one by one and collects every answer.
QStringList feed(Panel& panel, const QStringList& lines)
{
    QStringList answers;
    for (const QString& line : lines)
        answers += panel.handleLine(line.toLatin1());
    return answers;
}

QStringList eventTexts(const PanelState& state)
{
    QStringList texts;
    for (const PanelEvent& event : state.events())
        texts.append(event.stamp + QLatin1Char(' ') + event.text);
    return texts;
}

QStringList repeated(const QString& text, int count)
{
    QStringList list;
    for (int i = 0; i < count; ++i)
        list.append(text);
    return list;
}

// A panel with something of every kind, built the way the program does it.
QStringList populatingLines()
{
    return {QStringLiteral("PGM1234"),
            QStringLiteral("PARTKT 30"),
            QStringLiteral("PARDTM 12"),
            QStringLiteral("PARMSG Hello there "),
            QStringLiteral("PAROPN"),
            QStringLiteral("DAT 03 14 2024 4"),
            QStringLiteral("TIM 09 30"),
            kOffice,
            kJohn,
            QStringLiteral("PAROPB")};
}

}   // namespace

class TestPanelSim : public QObject {
    Q_OBJECT

private slots:
    void lineSplitting_data();
    void lineSplitting();
    void programmingMode_data();
    void programmingMode();
    void parameterCommands_data();
    void parameterCommands();
    void masterCodeChange_data();
    void masterCodeChange();
    void tenantRecords_data();
    void tenantRecords();
    void tenantDirectory_data();
    void tenantDirectory();
    void printouts_data();
    void printouts();
    void events_data();
    void events();
    void eventRecordIsBounded();
    void lineSession_data();
    void lineSession();
    void stateRoundTrip_data();
    void stateRoundTrip();
    void demoStateLoads();
    void badStateFile_data();
    void badStateFile();
    void missingStateFileIsAnError();

    void executableAnswersOnPty();
    void executableHonoursXonXoff();
    void executableRateLimit();
    void executableModemHangsUpWhenClientCloses();
    void executableModemDialTakesItsTime();
    void executableModemDialAbortedByACharacter();
    void executableModemDialResults_data();
    void executableModemDialResults();
    void executableRefusesBadModemOptions_data();
    void executableRefusesBadModemOptions();
    void executableSavesStateAtExit();
    void executableRefusesBadStateFile();
};

void TestPanelSim::lineSplitting_data()
{
    QTest::addColumn<QByteArrayList>("chunks");
    QTest::addColumn<QByteArrayList>("lines");
    QTest::addColumn<QByteArray>("pending");

    QTest::addRow("CR LF") << QByteArrayList{"PGM1234\r\n"} << QByteArrayList{"PGM1234"} << QByteArray();
    QTest::addRow("bare CR") << QByteArrayList{"A\rB\r"} << QByteArrayList{"A", "B"} << QByteArray();
    QTest::addRow("bare LF") << QByteArrayList{"A\nB\n"} << QByteArrayList{"A", "B"} << QByteArray();
    QTest::addRow("CR LF split across reads")
        << QByteArrayList{"A\r", "\nB\r\n"} << QByteArrayList{"A", "B"} << QByteArray();
    QTest::addRow("empty lines are lines")
        << QByteArrayList{"\r\n\r\n"} << QByteArrayList{"", ""} << QByteArray();
    QTest::addRow("trailing blank kept")
        << QByteArrayList{"PARMSG Hi \r\n"} << QByteArrayList{"PARMSG Hi "} << QByteArray();
    QTest::addRow("unterminated stays pending")
        << QByteArrayList{"PGM1234\r\nPG", "M12"} << QByteArrayList{"PGM1234"} << QByteArray("PGM12");
    QTest::addRow("overlong line cut one past the limit")
        << QByteArrayList{QByteArray(300, 'x') + "\r\nOK\r\n"}
        << QByteArrayList{QByteArray(LineSplitter::kMaxLineLength + 1, 'x'), "OK"} << QByteArray();
}

void TestPanelSim::lineSplitting()
{
    QFETCH(QByteArrayList, chunks);
    QFETCH(QByteArrayList, lines);
    QFETCH(QByteArray, pending);

    LineSplitter splitter;
    QByteArrayList got;
    for (const QByteArray& chunk : chunks)
        got += splitter.feed(chunk);
    QCOMPARE(got, lines);
    QCOMPARE(splitter.pending(), pending);
}

void TestPanelSim::programmingMode_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QStringList>("answers");
    QTest::addColumn<bool>("programming");
    QTest::addColumn<QStringList>("events");

    const QString entered = kNoStamp + QStringLiteral(" PROGRAMMING MODE ENTERED");
    const QString refused = kNoStamp + QStringLiteral(" WRONG CODE REFUSED");

    QTest::addRow("right code") << QStringList{"PGM1234"} << QStringList{kPm} << true << QStringList{entered};
    QTest::addRow("wrong code") << QStringList{"PGM9999"} << QStringList{kDenied} << false
                                << QStringList{refused};
    QTest::addRow("blank before code")
        << QStringList{"PGM 1234"} << QStringList{kDenied} << false << QStringList{refused};
    QTest::addRow("no code") << QStringList{"PGM"} << QStringList{kDenied} << false << QStringList{refused};
    QTest::addRow("six times in a row is harmless")
        << repeated(QStringLiteral("PGM1234"), 6) << repeated(kPm, 6) << true << QStringList{entered};
    QTest::addRow("wrong code keeps the mode")
        << QStringList{"PGM1234", "PGM0000"} << QStringList{kPm, kDenied} << true
        << QStringList{entered, refused};
    QTest::addRow("END leaves") << QStringList{"PGM1234", "END"} << QStringList{kPm, kOk} << false
                                << QStringList{entered};
    QTest::addRow("END outside is harmless")
        << QStringList{"END"} << QStringList{kOk} << false << QStringList();
    QTest::addRow("empty line ignored")
        << QStringList{"PGM1234", ""} << QStringList{kPm} << true << QStringList{entered};
    QTest::addRow("unknown line") << QStringList{"HELLO"} << QStringList{kError} << false << QStringList();
    QTest::addRow("unknown PAR word in programming mode")
        << QStringList{"PGM1234", "PARXYZ 1"} << QStringList{kPm, kError} << true << QStringList{entered};
    QTest::addRow("lower case is unknown")
        << QStringList{"PGM1234", "partkt 30"} << QStringList{kPm, kError} << true << QStringList{entered};

    const QStringList stateChanging = {
        "PARTKT 30", "PARDOT1 5", "PARDTM 12", "PARMSG Hi ", "PARCMC 4321", "DAT 03 14 2024 4",
        "TIM 09 30", "PAROPN",    "PAROPB",    "KLR EVR",    "CLR 12",      "CLR 0",
        kJohn,       "PRIPAR",    "PRITNT",    "PRIEVR",     "PRIALL"};
    for (const QString& line : stateChanging) {
        QTest::addRow("refused outside: %s", qPrintable(line))
            << QStringList{line} << QStringList{kNotPm} << false << QStringList();
    }
    QTest::addRow("refused after END") << QStringList{"PGM1234", "END", "PARTKT 30"}
                                       << QStringList{kPm, kOk, kNotPm} << false << QStringList{entered};
}

void TestPanelSim::programmingMode()
{
    QFETCH(QStringList, lines);
    QFETCH(QStringList, answers);
    QFETCH(bool, programming);
    QFETCH(QStringList, events);

    Panel panel;
    QCOMPARE(feed(panel, lines), answers);
    QCOMPARE(panel.isProgramming(), programming);
    QCOMPARE(eventTexts(panel.state()), events);
    // None of these rows may leave anything else behind.
    QVERIFY(panel.state().parameters().isEmpty());
    QVERIFY(panel.state().tenants().isEmpty());
    QCOMPARE(panel.state().masterCode(), QStringLiteral("1234"));
}

void TestPanelSim::parameterCommands_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("word");
    QTest::addColumn<QString>("value");   // null: the parameter stays unset

    const QString unset;
    QTest::addRow("talk time") << "PARTKT 30" << kOk << "PARTKT"
                               << "30";
    QTest::addRow("talk time not digits") << "PARTKT abc" << kError << "PARTKT" << unset;
    QTest::addRow("talk time empty") << "PARTKT " << kError << "PARTKT" << unset;
    QTest::addRow("talk time no blank") << "PARTKT30" << kError << "PARTKT" << unset;
    QTest::addRow("talk time five digits") << "PARTKT 12345" << kError << "PARTKT" << unset;
    QTest::addRow("door 1 open time") << "PARDOT1 5" << kOk << "PARDOT1"
                                      << "5";
    QTest::addRow("door 2 open time") << "PARDOT2 12" << kOk << "PARDOT2"
                                      << "12";
    QTest::addRow("door 1 unlock hours") << "PAROHR1 0800" << kOk << "PAROHR1"
                                         << "0800";
    QTest::addRow("door 2 unlock hours") << "PAROHR2 1800" << kOk << "PAROHR2"
                                         << "1800";
    QTest::addRow("door 2 unlock hours bad") << "PAROHR2 18:00" << kError << "PAROHR2" << unset;
    QTest::addRow("release digits") << "PARDTM 12" << kOk << "PARDTM"
                                    << "12";
    QTest::addRow("release digits star hash") << "PARDTM *#" << kOk << "PARDTM"
                                              << "*#";
    QTest::addRow("release digits empty") << "PARDTM " << kOk << "PARDTM"
                                          << "";
    QTest::addRow("release digits one") << "PARDTM 1" << kError << "PARDTM" << unset;
    QTest::addRow("release digits three") << "PARDTM 123" << kError << "PARDTM" << unset;
    QTest::addRow("message trailing blank dropped") << "PARMSG Welcome home " << kOk << "PARMSG"
                                                    << "Welcome home";
    QTest::addRow("message only one blank dropped") << "PARMSG  Two  " << kOk << "PARMSG"
                                                    << " Two ";
    QTest::addRow("message without trailing blank") << "PARMSG Hi" << kOk << "PARMSG"
                                                    << "Hi";
    QTest::addRow("message empty") << "PARMSG  " << kOk << "PARMSG"
                                   << "";
    QTest::addRow("message 8-bit") << QString::fromUtf8("PARMSG Grüß dich ") << kOk << "PARMSG"
                                   << QString::fromUtf8("Grüß dich");
    QTest::addRow("date") << "DAT 03 14 2024 4" << kOk << "DAT"
                          << "03 14 2024 4";
    QTest::addRow("date padded") << "DAT 3 1 2024 5" << kOk << "DAT"
                                 << "03 01 2024 5";
    QTest::addRow("date leap day") << "DAT 02 29 2024 4" << kOk << "DAT"
                                   << "02 29 2024 4";
    QTest::addRow("date no such day") << "DAT 02 30 2024 5" << kError << "DAT" << unset;
    QTest::addRow("date month 13") << "DAT 13 01 2024 1" << kError << "DAT" << unset;
    QTest::addRow("date weekday 8") << "DAT 03 14 2024 8" << kError << "DAT" << unset;
    QTest::addRow("date weekday 0") << "DAT 03 14 2024 0" << kError << "DAT" << unset;
    QTest::addRow("date two-digit year") << "DAT 03 14 24 4" << kError << "DAT" << unset;
    QTest::addRow("time") << "TIM 09 30" << kOk << "TIM"
                          << "09 30";
    QTest::addRow("time padded") << "TIM 9 5" << kOk << "TIM"
                                 << "09 05";
    QTest::addRow("time midnight") << "TIM 00 00" << kOk << "TIM"
                                   << "00 00";
    QTest::addRow("time hour 24") << "TIM 24 00" << kError << "TIM" << unset;
    QTest::addRow("time minute 60") << "TIM 12 60" << kError << "TIM" << unset;
    QTest::addRow("time with colon") << "TIM 12:30" << kError << "TIM" << unset;
}

void TestPanelSim::parameterCommands()
{
    QFETCH(QString, line);
    QFETCH(QString, answer);
    QFETCH(QString, word);
    QFETCH(QString, value);

    Panel panel;
    feed(panel, {QStringLiteral("PGM1234")});
    const int revision = panel.revision();
    QCOMPARE(panel.handleLine(line.toLatin1()), QStringList{answer});
    const std::optional<QString> stored = panel.state().parameter(word);
    QCOMPARE(stored.has_value(), !value.isNull());
    if (stored)
        QCOMPARE(*stored, value);
    QCOMPARE(panel.revision() > revision, answer == kOk);
    QCOMPARE(panel.state().parameters().size(), answer == kOk ? 1 : 0);
}

void TestPanelSim::masterCodeChange_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QStringList>("answers");
    QTest::addColumn<QString>("masterCode");

    QTest::addRow("new code replaces the old")
        << QStringList{"PGM1234", "PARCMC 4321", "END", "PGM1234", "PGM4321"}
        << QStringList{kPm, kOk, kOk, kDenied, kPm} << "4321";
    QTest::addRow("six digits") << QStringList{"PGM1234", "PARCMC 123456"} << QStringList{kPm, kOk}
                                << "123456";
    QTest::addRow("letters refused") << QStringList{"PGM1234", "PARCMC 12a4"} << QStringList{kPm, kError}
                                     << "1234";
    QTest::addRow("empty refused") << QStringList{"PGM1234", "PARCMC "} << QStringList{kPm, kError} << "1234";
    QTest::addRow("seven digits refused")
        << QStringList{"PGM1234", "PARCMC 1234567"} << QStringList{kPm, kError} << "1234";
}

void TestPanelSim::masterCodeChange()
{
    QFETCH(QStringList, lines);
    QFETCH(QStringList, answers);
    QFETCH(QString, masterCode);

    Panel panel;
    QCOMPARE(feed(panel, lines), answers);
    QCOMPARE(panel.state().masterCode(), masterCode);
}

void TestPanelSim::tenantRecords_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<TenantRecord>("tenant");

    const TenantRecord none;
    QTest::addRow("usual record") << kJohn << true
                                  << TenantRecord{"12", "5551234", "4321", "1", "John Smith"};
    QTest::addRow("name with several blanks")
        << "TNTDIR:22TEL:5550202 CODE:2468 DOOR:2 NAME:Dev & Mira Anand" << true
        << TenantRecord{"22", "5550202", "2468", "2", "Dev & Mira Anand"};
    QTest::addRow("optional fields empty")
        << "TNTDIR:12TEL: CODE: DOOR: NAME:" << true << TenantRecord{"12", "", "", "", ""};
    QTest::addRow("longest fields") << "TNTDIR:9999TEL:12345678901 CODE:9876 DOOR:2 NAME:Abcdefghijklmnopq"
                                    << true
                                    << TenantRecord{"9999", "12345678901", "9876", "2", "Abcdefghijklmnopq"};
    QTest::addRow("three digit directory")
        << kOffice << true << TenantRecord{"101", "55503011234", "9090", "", "Caretaker Office"};
    QTest::addRow("trailing blank in name kept")
        << "TNTDIR:12TEL: CODE: DOOR: NAME:Ann " << true << TenantRecord{"12", "", "", "", "Ann "};
    QTest::addRow("8-bit name") << QString::fromUtf8("TNTDIR:12TEL: CODE: DOOR: NAME:Zoë Müller") << true
                                << TenantRecord{"12", "", "", "", QString::fromUtf8("Zoë Müller")};
    QTest::addRow("one digit directory") << "TNTDIR:1TEL: CODE: DOOR: NAME:x" << false << none;
    QTest::addRow("five digit directory") << "TNTDIR:12345TEL: CODE: DOOR: NAME:x" << false << none;
    QTest::addRow("twelve digit telephone")
        << "TNTDIR:12TEL:123456789012 CODE: DOOR: NAME:x" << false << none;
    QTest::addRow("letters in telephone") << "TNTDIR:12TEL:555ABC CODE: DOOR: NAME:x" << false << none;
    QTest::addRow("five digit code") << "TNTDIR:12TEL: CODE:12345 DOOR: NAME:x" << false << none;
    QTest::addRow("two digit door") << "TNTDIR:12TEL: CODE: DOOR:12 NAME:x" << false << none;
    QTest::addRow("eighteen char name")
        << "TNTDIR:12TEL: CODE: DOOR: NAME:Abcdefghijklmnopqr" << false << none;
    QTest::addRow("blank missing before CODE") << "TNTDIR:12TEL:555CODE: DOOR: NAME:x" << false << none;
    QTest::addRow("NAME field missing") << "TNTDIR:12TEL:555 CODE: DOOR:" << false << none;
}

void TestPanelSim::tenantRecords()
{
    QFETCH(QString, line);
    QFETCH(bool, accepted);
    QFETCH(TenantRecord, tenant);

    Panel panel;
    feed(panel, {QStringLiteral("PGM1234")});
    QCOMPARE(panel.handleLine(line.toLatin1()), QStringList{accepted ? kOk : kError});
    if (!accepted) {
        QVERIFY(panel.state().tenants().isEmpty());
        return;
    }
    QCOMPARE(panel.state().tenants(), QList<TenantRecord>{tenant});
    QCOMPARE(panel.handleLine("PRITNT"), QStringList{line});   // printed back as received
}

void TestPanelSim::tenantDirectory_data()
{
    QTest::addColumn<QStringList>("lines");   // sent after PGM1234
    QTest::addColumn<QStringList>("answers");
    QTest::addColumn<QStringList>("printout");   // PRITNT afterwards

    QTest::addRow("printed in directory order")
        << QStringList{kOffice, kJohn, kCleo} << repeated(kOk, 3) << QStringList{kJohn, kCleo, kOffice};
    QTest::addRow("same directory replaces")
        << QStringList{kJohn, kCleo, kJane} << repeated(kOk, 3) << QStringList{kJane, kCleo};
    QTest::addRow("clear one") << QStringList{kJohn, kCleo, "CLR 12"} << repeated(kOk, 3)
                               << QStringList{kCleo};
    QTest::addRow("clear unknown") << QStringList{kJohn, "CLR 99"} << QStringList{kOk, "NO SUCH TENANT"}
                                   << QStringList{kJohn};
    QTest::addRow("clear compares directory as written")
        << QStringList{kJohn, "CLR 012"} << QStringList{kOk, "NO SUCH TENANT"} << QStringList{kJohn};
    for (const char* zeros : {"0", "00", "000", "0000"}) {
        QTest::addRow("clear all with %s", zeros)
            << QStringList{kJohn, kCleo, kOffice, QStringLiteral("CLR ") + QLatin1String(zeros)}
            << repeated(kOk, 4) << QStringList();
    }
    QTest::addRow("five zeros refused")
        << QStringList{kJohn, "CLR 00000"} << QStringList{kOk, kError} << QStringList{kJohn};
    QTest::addRow("clear letters refused")
        << QStringList{kJohn, "CLR AB"} << QStringList{kOk, kError} << QStringList{kJohn};
    QTest::addRow("clear without value refused")
        << QStringList{kJohn, "CLR"} << QStringList{kOk, kError} << QStringList{kJohn};
}

void TestPanelSim::tenantDirectory()
{
    QFETCH(QStringList, lines);
    QFETCH(QStringList, answers);
    QFETCH(QStringList, printout);

    Panel panel;
    feed(panel, {QStringLiteral("PGM1234")});
    QCOMPARE(feed(panel, lines), answers);
    QCOMPARE(panel.handleLine("PRITNT"), printout);
}

void TestPanelSim::printouts_data()
{
    QTest::addColumn<bool>("populated");
    QTest::addColumn<QString>("command");
    QTest::addColumn<QStringList>("printout");

    const QStringList parameters = {"PGM1234",          "PARTKT 30", "PARDTM 12", "PARMSG Hello there",
                                    "DAT 03 14 2024 4", "TIM 09 30"};
    const QStringList tenants = {kJohn, kOffice};
    const QStringList events = {"001 --/--/---- --:-- PROGRAMMING MODE ENTERED",
                                "002 --/--/---- --:-- DOOR OPENED BY PAROPN",
                                "003 03/14/2024 09:30 DOOR OPENED BY PAROPB"};

    QTest::addRow("parameters") << true << "PRIPAR" << parameters;
    QTest::addRow("tenants") << true << "PRITNT" << tenants;
    QTest::addRow("events") << true << "PRIEVR" << events;
    QTest::addRow("all") << true << "PRIALL" << parameters + tenants + events;
    QTest::addRow("fresh panel parameters") << false << "PRIPAR" << QStringList{"PGM1234"};
    QTest::addRow("fresh panel tenants") << false << "PRITNT" << QStringList();
    QTest::addRow("fresh panel all") << false << "PRIALL"
                                     << QStringList{"PGM1234",
                                                    "001 --/--/---- --:-- PROGRAMMING MODE ENTERED"};
    QTest::addRow("with a value is an error") << true << "PRIPAR 1" << QStringList{kError};
}

void TestPanelSim::printouts()
{
    QFETCH(bool, populated);
    QFETCH(QString, command);
    QFETCH(QStringList, printout);

    Panel panel;
    feed(panel, populated ? populatingLines() : QStringList{QStringLiteral("PGM1234")});
    QCOMPARE(panel.handleLine(command.toLatin1()), printout);
}

void TestPanelSim::events_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QStringList>("answers");
    QTest::addColumn<QStringList>("events");

    const QString entered = kNoStamp + QStringLiteral(" PROGRAMMING MODE ENTERED");
    QTest::addRow("door openings") << QStringList{"PGM1234", "PAROPN", "PAROPB"} << QStringList{kPm, kOk, kOk}
                                   << QStringList{entered, kNoStamp + " DOOR OPENED BY PAROPN",
                                                  kNoStamp + " DOOR OPENED BY PAROPB"};
    QTest::addRow("door opening with a value refused")
        << QStringList{"PGM1234", "PAROPN 1"} << QStringList{kPm, kError} << QStringList{entered};
    QTest::addRow("clock stamps events") << QStringList{"PGM1234", "DAT 12 31 2025 3", "TIM 23 59", "PAROPN"}
                                         << QStringList{kPm} + repeated(kOk, 3)
                                         << QStringList{entered, "12/31/2025 23:59 DOOR OPENED BY PAROPN"};
    QTest::addRow("clearing the record leaves one event")
        << QStringList{"PGM1234", "PAROPN", "KLR EVR"} << QStringList{kPm, kOk, kOk}
        << QStringList{kNoStamp + " EVENT RECORD CLEARED"};
    QTest::addRow("KLR needs EVR") << QStringList{"PGM1234", "KLR ABC"} << QStringList{kPm, kError}
                                   << QStringList{entered};
    QTest::addRow("master code change") << QStringList{"PGM1234", "PARCMC 5678"} << QStringList{kPm, kOk}
                                        << QStringList{entered, kNoStamp + " MASTER CODE CHANGED"};
    QTest::addRow("tenant clears") << QStringList{"PGM1234", kJohn, "CLR 12", "CLR 0"}
                                   << QStringList{kPm, kOk, kOk, kOk}
                                   << QStringList{entered, kNoStamp + " TENANT 12 CLEARED",
                                                  kNoStamp + " ALL TENANTS CLEARED"};
    QTest::addRow("tenant records add no events")
        << QStringList{"PGM1234", kJohn, kCleo} << QStringList{kPm, kOk, kOk} << QStringList{entered};
}

void TestPanelSim::events()
{
    QFETCH(QStringList, lines);
    QFETCH(QStringList, answers);
    QFETCH(QStringList, events);

    Panel panel;
    QCOMPARE(feed(panel, lines), answers);
    QCOMPARE(eventTexts(panel.state()), events);
}

void TestPanelSim::eventRecordIsBounded()
{
    Panel panel;
    feed(panel, {QStringLiteral("PGM1234")});
    feed(panel, repeated(QStringLiteral("PAROPN"), PanelState::kMaxEvents));
    QCOMPARE(panel.state().events().size(), PanelState::kMaxEvents);
    // The entry event was the oldest and dropped out first.
    QCOMPARE(panel.state().events().first().text, QStringLiteral("DOOR OPENED BY PAROPN"));
    const QStringList printout = panel.handleLine("PRIEVR");
    QCOMPARE(printout.size(), PanelState::kMaxEvents);
    QVERIFY(printout.last().startsWith(QStringLiteral("500 ")));
}

void TestPanelSim::lineSession_data()
{
    QTest::addColumn<bool>("modem");
    QTest::addColumn<DialResult>("result");
    QTest::addColumn<QByteArrayList>("input");   // "<guard>", "<dialled>", "<hangup>" are events
    QTest::addColumn<QByteArray>("output");
    QTest::addColumn<ModemFrontEnd::Mode>("mode");
    QTest::addColumn<bool>("programming");

    using Mode = ModemFrontEnd::Mode;
    using Dial = DialResult;
    const QByteArray connect = "CONNECT 1200\r\n";
    const QByteArray ok = "OK\r\n";
    const QByteArray pm = "PROGRAMMING MODE\r\n";
    const QByteArray error = "ERROR\r\n";
    const QByteArray noCarrier = "NO CARRIER\r\n";

    QTest::addRow("AT answers OK") << true << Dial::Connect << QByteArrayList{"AT\r\n"} << ok << Mode::Command
                                   << false;
    QTest::addRow("init strings answer OK, &D2 is no dial")
        << true << Dial::Connect << QByteArrayList{"ATZ\r\nAT&F E0 V1 &D2\r\n"} << ok + ok << Mode::Command
        << false;
    QTest::addRow("lower case") << true << Dial::Connect << QByteArrayList{"at\r"} << ok << Mode::Command
                                << false;
    QTest::addRow("empty line answers OK")
        << true << Dial::Connect << QByteArrayList{"\r\n"} << ok << Mode::Command << false;
    QTest::addRow("panel command before the call")
        << true << Dial::Connect << QByteArrayList{"PGM1234\r\n"} << error << Mode::Command << false;
    QTest::addRow("dial connects") << true << Dial::Connect << QByteArrayList{"ATDT5551234\r\n", "<dialled>"}
                                   << connect << Mode::Online << false;
    QTest::addRow("dial with blanks")
        << true << Dial::Connect << QByteArrayList{"ATDT 555 1234\r\n", "<dialled>"} << connect
        << Mode::Online << false;
    QTest::addRow("dial without number")
        << true << Dial::Connect << QByteArrayList{"ATDT\r\n"} << error << Mode::Command << false;
    QTest::addRow("no answer while dialling")
        << true << Dial::Connect << QByteArrayList{"ATDT1\r\n"} << QByteArray() << Mode::Dialling << false;
    QTest::addRow("CR LF of the dial split across reads")
        << true << Dial::Connect << QByteArrayList{"ATDT1\r", "\n", "<dialled>"} << connect << Mode::Online
        << false;
    QTest::addRow("a character while dialling aborts")
        << true << Dial::Connect << QByteArrayList{"ATDT1\r\n", "x"} << noCarrier << Mode::Command << false;
    QTest::addRow("a line while dialling never reaches the panel")
        << true << Dial::Connect << QByteArrayList{"ATDT1\r\n", "PGM1234\r\n", "<dialled>"} << noCarrier
        << Mode::Command << false;
    QTest::addRow("an empty line while dialling aborts")
        << true << Dial::Connect << QByteArrayList{"ATDT1\r\n", "\r\n", "<dialled>"} << noCarrier
        << Mode::Command << false;
    QTest::addRow("the aborting line is dropped, the next is a command")
        << true << Dial::Connect << QByteArrayList{"ATDT1\r\nATDT2\r\nAT\r\n"} << noCarrier + ok
        << Mode::Command << false;
    QTest::addRow("dial again after an abort")
        << true << Dial::Connect << QByteArrayList{"ATDT1\r\n", "AT\r\nATDT2\r\n", "<dialled>", "PGM1234\r\n"}
        << noCarrier + connect + pm << Mode::Online << true;
    QTest::addRow("hang-up while dialling")
        << true << Dial::Connect << QByteArrayList{"ATDT1\r\n", "<hangup>", "<dialled>", "PGM1234\r\n"}
        << noCarrier + error << Mode::Command << false;
    QTest::addRow("busy") << true << Dial::Busy << QByteArrayList{"ATDT1\r\n", "<dialled>", "PGM1234\r\n"}
                          << QByteArray("BUSY\r\n") + error << Mode::Command << false;
    QTest::addRow("no answer") << true << Dial::NoCarrier
                               << QByteArrayList{"ATDT1\r\n", "<dialled>", "PGM1234\r\n"} << noCarrier + error
                               << Mode::Command << false;
    QTest::addRow("no dial tone at once")
        << true << Dial::NoDialtone << QByteArrayList{"ATDT1\r\n", "PGM1234\r\n", "<dialled>"}
        << QByteArray("NO DIALTONE\r\n") + error << Mode::Command << false;
    QTest::addRow("busy, then busy again")
        << true << Dial::Busy << QByteArrayList{"ATDT1\r\n", "<dialled>", "ATDT1\r\n", "<dialled>"}
        << QByteArray("BUSY\r\nBUSY\r\n") << Mode::Command << false;
    QTest::addRow("panel after connect")
        << true << Dial::Connect << QByteArrayList{"ATDT1\r\n", "<dialled>", "PGM1234\r\n"} << connect + pm
        << Mode::Online << true;
    QTest::addRow("empty line in call ignored")
        << true << Dial::Connect << QByteArrayList{"ATDT1\r\n", "<dialled>", "\r\n"} << connect
        << Mode::Online << false;
    QTest::addRow("+++ line then ATH ends the call")
        << true << Dial::Connect << QByteArrayList{"ATDT1\r\n", "<dialled>", "PGM1234\r\n+++\r\nATH\r\n"}
        << connect + pm + ok + ok << Mode::Command << false;
    QTest::addRow("+++ and guard time then ATH0")
        << true << Dial::Connect
        << QByteArrayList{"ATDT1\r\n", "<dialled>", "PGM1234\r\n", "+++", "<guard>", "ATH0\r\n"}
        << connect + pm + ok + ok << Mode::Command << false;
    QTest::addRow("+++ glued to ATH")
        << true << Dial::Connect << QByteArrayList{"ATDT1\r\n", "<dialled>", "+++ATH\r\n"}
        << connect + ok + ok << Mode::Command << false;
    QTest::addRow("escape keeps the call")
        << true << Dial::Connect << QByteArrayList{"ATDT1\r\n", "<dialled>", "PGM1234\r\n+++\r\n"}
        << connect + pm + ok << Mode::OnlineCommand << true;
    QTest::addRow("ATO goes back to the panel")
        << true << Dial::Connect
        << QByteArrayList{"ATDT1\r\n", "<dialled>", "PGM1234\r\n+++\r\nATO\r\nPAROPN\r\n"}
        << connect + pm + ok + connect + ok << Mode::Online << true;
    QTest::addRow("guard time without +++ does nothing")
        << true << Dial::Connect << QByteArrayList{"ATDT1\r\n", "<dialled>", "++", "<guard>"} << connect
        << Mode::Online << false;
    QTest::addRow("+++ in command mode is no escape")
        << true << Dial::Connect << QByteArrayList{"+++\r\n"} << error << Mode::Command << false;
    QTest::addRow("dial in an escaped call refused")
        << true << Dial::Connect << QByteArrayList{"ATDT1\r\n", "<dialled>", "+++\r\nATDT2\r\n", "<dialled>"}
        << connect + ok + error << Mode::OnlineCommand << false;
    QTest::addRow("hang-up in a call")
        << true << Dial::Connect << QByteArrayList{"ATDT1\r\n", "<dialled>", "PGM1234\r\n", "<hangup>"}
        << connect + pm + noCarrier << Mode::Command << false;
    QTest::addRow("hang-up drops a partial line")
        << true << Dial::Connect
        << QByteArrayList{"ATDT1\r\n", "<dialled>", "PGM12", "<hangup>", "ATDT1\r\n", "<dialled>", "34\r\n"}
        << connect + noCarrier + connect + error << Mode::Online << false;
    QTest::addRow("hang-up without a call")
        << true << Dial::Connect << QByteArrayList{"<hangup>"} << QByteArray() << Mode::Command << false;
    QTest::addRow("direct: panel at once")
        << false << Dial::Connect << QByteArrayList{"PGM1234\r\n"} << pm << Mode::Command << true;
    QTest::addRow("direct: AT is unknown")
        << false << Dial::Connect << QByteArrayList{"AT\r\n"} << error << Mode::Command << false;
    QTest::addRow("direct: no dialling")
        << false << Dial::Connect << QByteArrayList{"ATDT1\r\n", "PGM1234\r\n", "<dialled>"} << error + pm
        << Mode::Command << true;
    QTest::addRow("direct: hang-up ends programming")
        << false << Dial::Connect << QByteArrayList{"PGM1234\r\n", "<hangup>"} << pm << Mode::Command
        << false;
    QTest::addRow("direct: overlong line is an error")
        << false << Dial::Connect << QByteArrayList{"PGM1234\r\nPARMSG " + QByteArray(300, 'x') + "\r\n"}
        << pm + error << Mode::Command << true;
    QTest::addRow("direct: 8-bit answers")
        << false << Dial::Connect << QByteArrayList{"PGM1234\r\nPARMSG Gr\xfc\xdf \r\nPRIPAR\r\n"}
        << pm + ok + QByteArray("PGM1234\r\nPARMSG Gr\xfc\xdf\r\n") << Mode::Command << true;
}

void TestPanelSim::lineSession()
{
    QFETCH(bool, modem);
    QFETCH(DialResult, result);
    QFETCH(QByteArrayList, input);
    QFETCH(QByteArray, output);
    QFETCH(ModemFrontEnd::Mode, mode);
    QFETCH(bool, programming);

    Panel panel;
    DialSettings dial;
    dial.result = result;
    LineSession session(panel, modem, dial);
    QByteArray got;
    for (const QByteArray& chunk : input) {
        if (chunk == "<guard>")
            got += session.guardTimeElapsed();
        else if (chunk == "<dialled>")
            got += session.dialTimeElapsed();
        else if (chunk == "<hangup>")
            got += session.hangUp();
        else
            got += session.receive(chunk);
    }
    QCOMPARE(got, output);
    QCOMPARE(session.modem().has_value(), modem);
    if (modem)
        QCOMPARE(session.modem()->mode(), mode);
    QCOMPARE(panel.isProgramming(), programming);
}

void TestPanelSim::stateRoundTrip_data()
{
    QTest::addColumn<QStringList>("lines");

    QTest::addRow("fresh panel") << QStringList();
    QTest::addRow("populated panel") << populatingLines();
    QTest::addRow("changed code, empty values, odd names")
        << QStringList{"PGM1234",
                       "PARCMC 987654",
                       "PARDTM ",
                       "PARMSG  ",
                       "TNTDIR:12TEL: CODE: DOOR: NAME:Ann ",
                       QString::fromUtf8("TNTDIR:13TEL: CODE: DOOR: NAME:Zoë = [Müller]"),
                       "TNTDIR:14TEL: CODE: DOOR: NAME:# not a comment"};
}

void TestPanelSim::stateRoundTrip()
{
    QFETCH(QStringList, lines);

    Panel panel;
    feed(panel, lines);
    QString error;
    const std::optional<PanelState> parsed = StateFile::parse(StateFile::format(panel.state()), &error);
    QVERIFY2(parsed, qPrintable(error));
    QCOMPARE(*parsed, panel.state());

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("state.txt"));
    QVERIFY2(StateFile::save(path, panel.state(), &error), qPrintable(error));
    const std::optional<PanelState> loaded = StateFile::load(path, &error);
    QVERIFY2(loaded, qPrintable(error));
    QCOMPARE(*loaded, panel.state());
}

void TestPanelSim::demoStateLoads()
{
    QString error;
    const std::optional<PanelState> state = StateFile::load(QStringLiteral(PANEL_SIM_DEMO_STATE), &error);
    QVERIFY2(state, qPrintable(error));
    QCOMPARE(state->masterCode(), QStringLiteral("1234"));
    QCOMPARE(state->tenants().size(), 5);
    QCOMPARE(state->events().size(), 5);
    QCOMPARE(state->parameter(QStringLiteral("PARMSG")),
             std::optional<QString>(QStringLiteral("Welcome to Linden Court")));
}

void TestPanelSim::badStateFile_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("error");

    QTest::addRow("text before a section")
        << QByteArray("master-code = 1234\n") << "line 1: text before the first section";
    QTest::addRow("unknown section") << QByteArray("# demo\n[doors]\n") << "line 2: unknown section [doors]";
    QTest::addRow("unknown key") << QByteArray("[panel]\nPARXYZ = 1\n") << "line 2: unknown key PARXYZ";
    QTest::addRow("missing equals") << QByteArray("[panel]\nPARTKT 30\n") << "line 2: expected key = value";
    QTest::addRow("bad number") << QByteArray("[panel]\nPARTKT = abc\n")
                                << "line 2: bad value for PARTKT: abc";
    QTest::addRow("bad date") << QByteArray("[panel]\n\nDAT = 02 30 2024 5\n")
                              << "line 3: bad value for DAT: 02 30 2024 5";
    QTest::addRow("bad master code") << QByteArray("[panel]\nmaster-code = 12ab\n")
                                     << "line 2: master code must be 1 to 6 digits";
    QTest::addRow("bad tenant") << QByteArray("[tenants]\nTNTDIR:1TEL: CODE: DOOR: NAME:x\n")
                                << "line 2: bad tenant record";
    QTest::addRow("bad event") << QByteArray("[events]\nyesterday the door opened\n")
                               << "line 2: expected MM/DD/YYYY HH:MM text";
    QTest::addRow("binary junk") << QByteArray("\x7f"
                                               "ELF\x02\x01\x01\x00\x00",
                                               9)
                                 << "line 1: text before the first section";
}

void TestPanelSim::badStateFile()
{
    QFETCH(QByteArray, text);
    QFETCH(QString, error);

    QString got;
    QVERIFY(!StateFile::parse(QString::fromUtf8(text), &got));
    QCOMPARE(got, error);

    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("bad.txt")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(text);
    file.close();
    QVERIFY(!StateFile::load(file.fileName(), &got));
    QCOMPARE(got, file.fileName() + QStringLiteral(": ") + error);
}

void TestPanelSim::missingStateFileIsAnError()
{
    QTemporaryDir dir;
    QString error;
    QVERIFY(!StateFile::load(dir.filePath(QStringLiteral("none.txt")), &error));
    QVERIFY2(error.contains(QStringLiteral("none.txt")), qPrintable(error));
}

void TestPanelSim::executableAnswersOnPty()
{
    SimulatorProcess sim;
    QVERIFY(sim.start({}));
    QVERIFY2(sim.path().startsWith(QStringLiteral("/dev/")), qPrintable(sim.path()));

    PtyClient client;
    QVERIFY(client.open(sim.path()));
    QVERIFY(client.write("PGM1234\r\n"));
    QCOMPARE(client.readUntil("\r\n", 2000), QByteArray("PROGRAMMING MODE\r\n"));

    // Closing ends the session; the line stays usable for the next client.
    client.close();
    QVERIFY(client.open(sim.path()));
    QVERIFY(client.write("PRIPAR\r\nPGM1234\r\nPRIPAR\r\n"));
    const QByteArray expected = "NOT IN PROGRAMMING MODE\r\nPROGRAMMING MODE\r\nPGM1234\r\n";
    QCOMPARE(client.readUntil(expected, 2000), expected);
    QCOMPARE(sim.stop(), 0);
}

void TestPanelSim::executableHonoursXonXoff()
{
    SimulatorProcess sim;
    QVERIFY(sim.start({}));
    PtyClient client;
    QVERIFY(client.open(sim.path()));

    // XOFF holds the answer back; the flow bytes inside the line are not
    // part of it, or the code would be refused.
    QVERIFY(client.write("\x13PGM12\x13"
                         "34\r\n"));
    QCOMPARE(client.readFor(300), QByteArray());
    QVERIFY(client.write("\x11"));
    QCOMPARE(client.readUntil("\r\n", 2000), QByteArray("PROGRAMMING MODE\r\n"));
    QCOMPARE(sim.stop(), 0);
}

void TestPanelSim::executableRateLimit()
{
    SimulatorProcess sim;
    QVERIFY(sim.start({QStringLiteral("--rate-limit")}));
    PtyClient client;
    QVERIFY(client.open(sim.path()));

    const QByteArray expected = "PROGRAMMING MODE\r\nPGM1234\r\n";   // 27 bytes: 225 ms at 120 B/s
    QElapsedTimer clock;
    clock.start();
    QVERIFY(client.write("PGM1234\r\nPRIPAR\r\n"));
    QCOMPARE(client.readUntil(expected, 3000), expected);
    const qint64 elapsed = clock.elapsed();
    QVERIFY2(elapsed >= 180, qPrintable(QStringLiteral("took only %1 ms").arg(elapsed)));
    QCOMPARE(sim.stop(), 0);
}

void TestPanelSim::executableModemHangsUpWhenClientCloses()
{
    // Without a connect delay the line after the dial already goes to the panel.
    SimulatorProcess sim;
    QVERIFY(sim.start({QStringLiteral("--modem"), QStringLiteral("--connect-delay"), QStringLiteral("0")}));
    PtyClient client;
    QVERIFY(client.open(sim.path()));
    QVERIFY(client.write("ATDT5551234\r\nPGM1234\r\n"));
    const QByteArray expected = "CONNECT 1200\r\nPROGRAMMING MODE\r\n";
    QCOMPARE(client.readUntil(expected, 2000), expected);

    // In a call "AT" would go to the panel and be an error; after the
    // hang-up the modem answers it.
    client.close();
    QVERIFY(client.open(sim.path()));
    QVERIFY(client.write("AT\r\n"));
    QCOMPARE(client.readUntil("\r\n", 2000), QByteArray("OK\r\n"));
    QCOMPARE(sim.stop(), 0);
}

void TestPanelSim::executableModemDialTakesItsTime()
{
    SimulatorProcess sim;
    QVERIFY(sim.start({QStringLiteral("--modem"), QStringLiteral("--connect-delay"), QStringLiteral("0.6")}));
    PtyClient client;
    QVERIFY(client.open(sim.path()));

    // Nothing but CONNECT comes back, and only once the delay has passed.
    const QByteArray connect = "CONNECT 1200\r\n";
    QElapsedTimer clock;
    clock.start();
    QVERIFY(client.write("ATDT5551234\r\n"));
    QCOMPARE(client.readUntil(connect, 10000), connect);
    const qint64 elapsed = clock.elapsed();
    QVERIFY2(elapsed >= 550, qPrintable(QStringLiteral("connected after %1 ms").arg(elapsed)));

    QVERIFY(client.write("PGM1234\r\n"));
    QCOMPARE(client.readUntil("\r\n", 5000), QByteArray("PROGRAMMING MODE\r\n"));
    QCOMPARE(sim.stop(), 0);
}

void TestPanelSim::executableModemDialAbortedByACharacter()
{
    SimulatorProcess sim;
    QVERIFY(sim.start({QStringLiteral("--modem"), QStringLiteral("--connect-delay"), QStringLiteral("0.8")}));
    PtyClient client;
    QVERIFY(client.open(sim.path()));
    QVERIFY(client.write("ATDT5551234\r\n"));
    QCOMPARE(client.readFor(400), QByteArray());

    // The P gives up the dial and takes its line with it; the next line
    // dials again, and that dial takes the whole delay anew.
    const QByteArray expected = "NO CARRIER\r\nCONNECT 1200\r\n";
    QElapsedTimer clock;
    clock.start();
    QVERIFY(client.write("PGM1234\r\nATDT5551234\r\n"));
    QCOMPARE(client.readUntil(expected, 10000), expected);
    const qint64 elapsed = clock.elapsed();
    QVERIFY2(elapsed >= 700, qPrintable(QStringLiteral("connected after %1 ms").arg(elapsed)));

    // The code never reached the panel.
    QVERIFY(client.write("PRIPAR\r\n"));
    QCOMPARE(client.readUntil("\r\n", 5000), QByteArray("NOT IN PROGRAMMING MODE\r\n"));
    QCOMPARE(sim.stop(), 0);
}

void TestPanelSim::executableModemDialResults_data()
{
    QTest::addColumn<QString>("result");
    QTest::addColumn<QString>("delay");
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<QByteArray>("atAnswer");   // to AT after the dial: the modem's, or the panel's in a call

    QTest::addRow("connect") << "connect"
                             << "0.3" << QByteArray("CONNECT 1200\r\n") << QByteArray("ERROR\r\n");
    QTest::addRow("busy") << "busy"
                          << "0.3" << QByteArray("BUSY\r\n") << QByteArray("OK\r\n");
    QTest::addRow("no answer") << "no-carrier"
                               << "0.3" << QByteArray("NO CARRIER\r\n") << QByteArray("OK\r\n");
    // Long enough a delay that an answer within the read's time came at once.
    QTest::addRow("no dial tone") << "no-dialtone"
                                  << "60" << QByteArray("NO DIALTONE\r\n") << QByteArray("OK\r\n");
}

void TestPanelSim::executableModemDialResults()
{
    QFETCH(QString, result);
    QFETCH(QString, delay);
    QFETCH(QByteArray, answer);
    QFETCH(QByteArray, atAnswer);

    SimulatorProcess sim;
    QVERIFY(sim.start({QStringLiteral("--modem"), QStringLiteral("--dial-result"), result,
                       QStringLiteral("--connect-delay"), delay}));
    PtyClient client;
    QVERIFY(client.open(sim.path()));
    QVERIFY(client.write("ATDT5551234\r\n"));
    QCOMPARE(client.readUntil("\r\n", 10000), answer);
    QVERIFY(client.write("AT\r\n"));
    QCOMPARE(client.readUntil("\r\n", 5000), atAnswer);
    QCOMPARE(sim.stop(), 0);
}

void TestPanelSim::executableRefusesBadModemOptions_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");

    const QString delay = QStringLiteral("the connect delay must be 0 to 255 seconds");
    const QString result = QStringLiteral("the dial result must be connect, busy, no-dialtone or no-carrier");
    QTest::addRow("negative delay") << QStringList{"--modem", "--connect-delay", "-1"} << delay;
    QTest::addRow("delay not a number") << QStringList{"--modem", "--connect-delay", "3s"} << delay;
    QTest::addRow("delay too long") << QStringList{"--modem", "--connect-delay", "255.5"} << delay;
    QTest::addRow("unknown result") << QStringList{"--modem", "--dial-result", "ringing"} << result;
    QTest::addRow("result in upper case") << QStringList{"--modem", "--dial-result", "BUSY"} << result;
}

void TestPanelSim::executableRefusesBadModemOptions()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);

    QProcess process;
    process.start(QStringLiteral(PANEL_SIM_EXECUTABLE), arguments);
    QVERIFY(process.waitForFinished(5000));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), 2);
    QCOMPARE(process.readAllStandardOutput(), QByteArray());   // no line opened
    const QString error = QString::fromLocal8Bit(process.readAllStandardError());
    QVERIFY2(error.contains(message), qPrintable(error));
}

void TestPanelSim::executableSavesStateAtExit()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("panel.txt"));
    SimulatorProcess sim;
    QVERIFY(sim.start(
        {QStringLiteral("--state"), path, QStringLiteral("--master-code"), QStringLiteral("4711")}));
    PtyClient client;
    QVERIFY(client.open(sim.path()));
    QVERIFY(client.write("PGM4711\r\nPARTKT 45\r\n"));
    QCOMPARE(client.readUntil("OK\r\n", 2000), QByteArray("PROGRAMMING MODE\r\nOK\r\n"));
    QCOMPARE(sim.stop(), 0);

    QString error;
    const std::optional<PanelState> state = StateFile::load(path, &error);
    QVERIFY2(state, qPrintable(error));
    QCOMPARE(state->masterCode(), QStringLiteral("4711"));
    QCOMPARE(state->parameter(QStringLiteral("PARTKT")), std::optional<QString>(QStringLiteral("45")));
}

void TestPanelSim::executableRefusesBadStateFile()
{
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("bad.txt")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("[panel]\nPARTKT = soon\n");
    file.close();

    QProcess process;
    process.start(QStringLiteral(PANEL_SIM_EXECUTABLE), {QStringLiteral("--state"), file.fileName()});
    QVERIFY(process.waitForFinished(5000));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), 2);
    QCOMPARE(process.readAllStandardOutput(), QByteArray());   // no line path printed
    const QString message = QString::fromLocal8Bit(process.readAllStandardError());
    QVERIFY2(message.contains(QStringLiteral("line 2: bad value for PARTKT")), qPrintable(message));
}

QTEST_GUILESS_MAIN(TestPanelSim)
#include "tst_panelsim.moc"
