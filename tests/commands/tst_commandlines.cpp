// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/linksession.h"
#include "form1rig.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

namespace {

const QDateTime kDefaultNow(QDate(2003, 1, 20), QTime(9, 5, 0));

QByteArrayList times(int count, const QByteArray& line)
{
    QByteArrayList out;
    for (int i = 0; i < count; ++i)
        out << line;
    return out;
}

}   // namespace

class TstCommandLines : public QObject {
    Q_OBJECT
private slots:
    void everyLineByButtonAndByEnter_data();
    void everyLineByButtonAndByEnter();
};

void TstCommandLines::everyLineByButtonAndByEnter_data()
{
    QTest::addColumn<QDateTime>("now");
    QTest::addColumn<QString>("field");   // typed into first
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("target");   // the button clicked or the field Enter is pressed in
    QTest::addColumn<Trigger>("trigger");
    QTest::addColumn<QByteArrayList>("writes");
    QTest::addColumn<QString>("focusAfter");

    const auto click = Trigger::Click;
    const auto enter = Trigger::Enter;
    const QDateTime now = kDefaultNow;

    // Clock
    QTest::addRow("DAT on a Sunday") << QDateTime(QDate(2003, 1, 5), QTime(10, 0)) << ""
                                     << ""
                                     << "Date" << click << QByteArrayList{"DAT 01 05 2003 7\r\n"} << "rtrtc";
    QTest::addRow("DAT on a Monday") << QDateTime(QDate(2003, 1, 6), QTime(10, 0)) << ""
                                     << ""
                                     << "Date" << click << QByteArrayList{"DAT 01 06 2003 1\r\n"} << "rtrtc";
    QTest::addRow("DAT at the year's end")
        << QDateTime(QDate(2003, 12, 31), QTime(23, 59)) << ""
        << ""
        << "Date" << click << QByteArrayList{"DAT 12 31 2003 3\r\n"} << "rtrtc";
    QTest::addRow("TIM at 00:00") << QDateTime(QDate(2003, 1, 5), QTime(0, 0, 59)) << ""
                                  << ""
                                  << "rtrtc" << click << QByteArrayList{"TIM 00 00\r\n"} << "rtrtc";
    QTest::addRow("TIM at 23:59") << QDateTime(QDate(2003, 1, 5), QTime(23, 59, 30)) << ""
                                  << ""
                                  << "rtrtc" << click << QByteArrayList{"TIM 23 59\r\n"} << "rtrtc";

    // Door-release numbers and unlock signals
    QTest::addRow("PARDTM full by button")
        << now << "dtmf"
        << "57"
        << "opendtmf" << click << QByteArrayList{"PARDTM 57\r\n"} << "medit1";
    QTest::addRow("PARDTM full by Enter") << now << "dtmf"
                                          << "57"
                                          << "dtmf" << enter << QByteArrayList{"PARDTM 57\r\n"} << "medit2";
    QTest::addRow("PARDTM second digit only")
        << now << "dtmf"
        << " 7"
        << "dtmf" << enter << QByteArrayList{"PARDTM 7\r\n"} << "medit2";
    QTest::addRow("PARDTM empty by Enter") << now << ""
                                           << ""
                                           << "dtmf" << enter << QByteArrayList{"PARDTM \r\n"} << "medit2";
    QTest::addRow("PAROPN") << now << ""
                            << ""
                            << "um" << click << QByteArrayList{"PAROPN\r\n"} << "um";
    QTest::addRow("PAROPB") << now << ""
                            << ""
                            << "up" << click << QByteArrayList{"PAROPB\r\n"} << "up";

    // Programming code
    QTest::addRow("PGM 2 characters by Enter") << now << "Text3"
                                               << "12"
                                               << "Text3" << enter << times(6, "PGM12\r\n") << "upload";
    QTest::addRow("PGM 4 characters by Enter") << now << "Text3"
                                               << "a1B2"
                                               << "Text3" << enter << times(6, "PGMa1B2\r\n") << "upload";
    QTest::addRow("PGM 5 characters: fifth key, then Enter")
        << now << "Text3"
        << "12345"
        << "Text3" << enter << times(6, "PGM1234\r\n") + times(6, "PGM12345\r\n") << "upload";
    QTest::addRow("PGM 2 characters by button")
        << now << "Text3"
        << "12"
        << "Mastercode" << click << QByteArrayList{"PGM12\r\n"} << "upload";
    QTest::addRow("PGM 4 characters by button")
        << now << "Text3"
        << "1234"
        << "Mastercode" << click << QByteArrayList{"PGM1234\r\n"} << "upload";

    // Door timing: one and two digits, button and Enter, round the group
    QTest::addRow("PARTKT 1 digit by button")
        << now << "medit1"
        << "5"
        << "uptalktime" << click << QByteArrayList{"PARTKT 5\r\n"} << "um";
    QTest::addRow("PARTKT 3 digits by Enter")
        << now << "medit1"
        << "120"
        << "medit1" << enter << QByteArrayList{"PARTKT 120\r\n"} << "um";
    QTest::addRow("PARDOT1 1 digit by Enter")
        << now << "medit2"
        << "7"
        << "medit2" << enter << QByteArrayList{"PARDOT1 7\r\n"} << "medit3";
    QTest::addRow("PARDOT1 2 digits by button")
        << now << "medit2"
        << "07"
        << "opentime1" << click << QByteArrayList{"PARDOT1 07\r\n"} << "medit3";
    QTest::addRow("PARDOT2 1 digit by button")
        << now << "medit3"
        << "9"
        << "opentime2" << click << QByteArrayList{"PARDOT2 9\r\n"} << "medit7";
    QTest::addRow("PARDOT2 2 digits by Enter")
        << now << "medit3"
        << "15"
        << "medit3" << enter << QByteArrayList{"PARDOT2 15\r\n"} << "medit7";
    QTest::addRow("PAROHR1 2 digits by button")
        << now << "medit7"
        << "23"
        << "manualdoor1" << click << QByteArrayList{"PAROHR1 23\r\n"} << "medit8";
    QTest::addRow("PAROHR1 1 digit by Enter")
        << now << "medit7"
        << "0"
        << "medit7" << enter << QByteArrayList{"PAROHR1 0\r\n"} << "medit8";
    QTest::addRow("PAROHR2 1 digit by button")
        << now << "medit8"
        << "6"
        << "manualdoor2" << click << QByteArrayList{"PAROHR2 6\r\n"} << "medit1";
    QTest::addRow("PAROHR2 empty by Enter")
        << now << ""
        << ""
        << "medit8" << enter << QByteArrayList{"PAROHR2 \r\n"} << "medit1";

    // Master code and welcome message
    QTest::addRow("PARCMC by button")
        << now << "Medit_New_mastercode"
        << "98765"
        << "Newmastcode" << click << QByteArrayList{"PARCMC 98765\r\n"} << "Newmastcode";
    QTest::addRow("PARCMC by Enter") << now << "Medit_New_mastercode"
                                     << "4 x"
                                     << "Medit_New_mastercode" << enter << QByteArrayList{"PARCMC 4 x\r\n"}
                                     << "Medit_New_mastercode";
    QTest::addRow("PARCMC empty by Enter")
        << now << ""
        << ""
        << "Medit_New_mastercode" << enter << QByteArrayList{"PARCMC \r\n"} << "Medit_New_mastercode";
    QTest::addRow("PARMSG with its trailing blank")
        << now << "MsgWel"
        << "WELCOME"
        << "message" << click << QByteArrayList{"PARMSG", " WELCOME \r\n"} << "message";
    QTest::addRow("PARMSG kept as typed")
        << now << "MsgWel"
        << " two  words "
        << "message" << click << QByteArrayList{"PARMSG", "  two  words  \r\n"} << "message";

    // Clearing, confirmed with Yes
    QTest::addRow("KLR EVR") << now << ""
                             << ""
                             << "clearevr" << click << QByteArrayList{"KLR EVR\r\n"} << "clearevr";
    QTest::addRow("CLR 12") << now << "MEDITTNT"
                            << "12"
                            << "cleartnt" << click << QByteArrayList{"CLR 12\r\n"} << "clearevr";
    QTest::addRow("CLR 0") << now << "MEDITTNT"
                           << "0"
                           << "cleartnt" << click << QByteArrayList{"CLR 0\r\n"} << "clearevr";
    QTest::addRow("CLR 0000") << now << "MEDITTNT"
                              << "0000"
                              << "cleartnt" << click << QByteArrayList{"CLR 0000\r\n"} << "clearevr";
}

void TstCommandLines::everyLineByButtonAndByEnter()
{
    QFETCH(QDateTime, now);
    QFETCH(QString, field);
    QFETCH(QString, keys);
    QFETCH(QString, target);
    QFETCH(Trigger, trigger);
    QFETCH(QByteArrayList, writes);
    QFETCH(QString, focusAfter);

    Form1Rig rig;
    rig.fakes.clock.time = now;
    rig.connectDirect();
    rig.makeCommandsUsable();
    rig.fakes.prompter.answer(MessageBox::Answer::Yes);   // the clearing commands ask first
    QSignalSpy announced(&rig.window->session(), &LinkSession::lineWritten);

    const QString focused = trigger == Trigger::Enter ? target : field;
    if (!focused.isEmpty()) {
        type(rig.control(focused), keys);
        QVERIFY(focus());
    }
    setOff(rig.control(target), trigger);

    QCOMPARE(rig.fakes.port.writes, writes);
    // Every line went through the session, announced whole (the welcome
    // message's two writes as one line).
    QByteArray lines;
    for (const QVariantList& line : announced) {
        QVERIFY(line.first().toByteArray().endsWith("\r\n"));
        lines += line.first().toByteArray();
    }
    QCOMPARE(lines, writes.join());
    QCOMPARE(rig.window->session().state() == LinkSession::State::Programming,
             writes.first().startsWith("PGM"));
    QCOMPARE(focusName(), focusAfter);
    const bool asksFirst = target.startsWith(QStringLiteral("clear"));
    QCOMPARE(rig.fakes.prompter.boxes.size(), asksFirst ? 1 : 0);
}

QTEST_MAIN(TstCommandLines)
#include "tst_commandlines.moc"
