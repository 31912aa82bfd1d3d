// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/parameterfile.h"

#include <QTest>

Q_DECLARE_METATYPE(ParameterValues)
Q_DECLARE_METATYPE(ParameterReading)

namespace {

using F = ParameterField;

ParameterReading reading(QList<ParameterAssignment> assignments, int stoppedAtLine = 0)
{
    return ParameterReading{assignments, stoppedAtLine};
}

}   // namespace

class TstParameterFile : public QObject {
    Q_OBJECT
private slots:
    void writer_data();
    void writer();
    void reader_data();
    void reader();
    void writtenValuesReadBack();
};

void TstParameterFile::writer_data()
{
    QTest::addColumn<ParameterValues>("values");
    QTest::addColumn<QString>("text");
    QTest::addRow("all empty") << ParameterValues{} << QStringLiteral("\r\n");
    QTest::addRow("phone only") << ParameterValues{{F::Phone, "5551234"}}
                                << QStringLiteral("PHO5551234\r\n\r\n");
    QTest::addRow("empty values give no line")
        << ParameterValues{{F::Phone, ""}, {F::Code, "1234"}, {F::Message, ""}}
        << QStringLiteral("PGM1234\r\n\r\n");
    QTest::addRow("every field, in the file's order")
        << ParameterValues{{F::Message, " Hi there "}, {F::DoorRelease, "45"}, {F::Door2Time, "12"},
                           {F::Door1Time, "7"},        {F::TalkTime, "45"},    {F::Code, "12345"},
                           {F::Phone, "0123"}}
        << QStringLiteral("PHO0123\r\nPGM12345\r\nPARTKT 45\r\nPARDOT1 7\r\nPARDOT2 12\r\n"
                          "PARDTM 45\r\nPARMSG  Hi there \r\n\r\n");
    QTest::addRow("one door-release digit")
        << ParameterValues{{F::DoorRelease, "4"}} << QStringLiteral("PARDTM 4\r\n\r\n");
}

void TstParameterFile::writer()
{
    QFETCH(ParameterValues, values);
    QFETCH(QString, text);
    QCOMPARE(ParameterFile::text(values), text);
}

void TstParameterFile::reader_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<ParameterReading>("expected");
    QTest::addRow("phone, any length")
        << QStringList{"PHO", "  PHO 555 12  "} << reading({{F::Phone, ""}, {F::Phone, " 555 12"}});
    QTest::addRow("code of 4 only") << QStringList{"PGM1234", "PGM12345", "PGM123"}
                                    << reading({{F::Code, "1234"}});
    QTest::addRow("talk time padded")
        << QStringList{"PARTKT 5", "PARTKT 45", "PARTKT 123"}
        << reading({{F::TalkTime, "005"}, {F::TalkTime, "045"}, {F::TalkTime, "123"}});
    QTest::addRow("talk time of 4 digits ignored")
        << QStringList{"PARTKT 4567", "PARTKT ", "PARTKT"} << reading({});
    QTest::addRow("door times padded") << QStringList{"PARDOT1 7", "PARDOT2 12", "PARDOT1 123", "PARDOT2"}
                                       << reading({{F::Door1Time, "07"}, {F::Door2Time, "12"}});
    QTest::addRow("door release with both digits")
        << QStringList{"PARDTM 45", "PARDTM 4", "PARDTM 456"} << reading({{F::DoorRelease, "4/5"}});
    QTest::addRow("message loses its outer blanks") << QStringList{"PARMSG   Hi  there   ", "PARMSGx"}
                                                    << reading({{F::Message, "Hi  there"}, {F::Message, ""}});
    QTest::addRow("lower-case tags ignored")
        << QStringList{"pho1", "Pgm1234", "partkt 45", "parmsg"} << reading({});
    QTest::addRow("tab is not a blank") << QStringList{"\tPHO1"} << reading({});
    QTest::addRow("last line wins, order kept")
        << QStringList{"PARDOT1 1", "PHO9", "PARDOT1 2"}
        << reading({{F::Door1Time, "01"}, {F::Phone, "9"}, {F::Door1Time, "02"}});
    QTest::addRow("tag alone stops at its line")
        << QStringList{"PHO1", "  PARMSG  ", "PARTKT 5"} << reading({{F::Phone, "1"}}, 2);
    QTest::addRow("letters in a digit field stop")
        << QStringList{"PARDOT1 9", "PARTKT 4a", "PHO2"} << reading({{F::Door1Time, "09"}}, 2);
    QTest::addRow("letters in the door release stop") << QStringList{"PARDTM a5", "PHO2"} << reading({}, 1);
    QTest::addRow("a blank leaves a position empty")
        << QStringList{"PARTKT  5"} << reading({{F::TalkTime, "0 5"}});
    QTest::addRow("empty file") << QStringList() << reading({});
}

void TstParameterFile::reader()
{
    QFETCH(QStringList, lines);
    QFETCH(ParameterReading, expected);
    const ParameterReading actual = ParameterFile::read(lines);
    QCOMPARE(actual.assignments, expected.assignments);
    QCOMPARE(actual.stoppedAtLine, expected.stoppedAtLine);
}

void TstParameterFile::writtenValuesReadBack()
{
    const ParameterValues values{{F::Phone, "5551234"},       {F::Code, "1234"},    {F::TalkTime, "45"},
                                 {F::Door1Time, "7"},         {F::Door2Time, "12"}, {F::DoorRelease, "45"},
                                 {F::Message, "Welcome home"}};
    QStringList lines = ParameterFile::text(values).split(QStringLiteral("\r\n"));
    const ParameterReading back = ParameterFile::read(lines);
    QCOMPARE(back.stoppedAtLine, 0);
    QCOMPARE(back.assignments,
             (QList<ParameterAssignment>{{F::Phone, "5551234"},
                                         {F::Code, "1234"},
                                         {F::TalkTime, "045"},
                                         {F::Door1Time, "07"},
                                         {F::Door2Time, "12"},
                                         {F::DoorRelease, "4/5"},
                                         {F::Message, "Welcome home"}}));
}

QTEST_GUILESS_MAIN(TstParameterFile)
#include "tst_parameterfile.moc"
