// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linesettings.h"

#include <QTest>

class TestLineSettings : public QObject {
    Q_OBJECT
private slots:
    void parses_data();
    void parses();
    void refuses_data();
    void refuses();
};

void TestLineSettings::parses_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("baud");
    QTest::addColumn<int>("parity");
    QTest::addColumn<int>("dataBits");
    QTest::addColumn<int>("stopBits");

    QTest::newRow("panel line") << "1200,N,8,1" << 1200 << int(QSerialPort::NoParity) << 8
                                << int(QSerialPort::OneStop);
    QTest::newRow("even") << "9600,E,7,2" << 9600 << int(QSerialPort::EvenParity) << 7
                          << int(QSerialPort::TwoStop);
    QTest::newRow("odd, lower case") << "2400,o,7,1" << 2400 << int(QSerialPort::OddParity) << 7
                                     << int(QSerialPort::OneStop);
    QTest::newRow("mark") << "300,M,5,1.5" << 300 << int(QSerialPort::MarkParity) << 5
                          << int(QSerialPort::OneAndHalfStop);
    QTest::newRow("space, blanks") << " 4800 , S , 6 , 2 " << 4800 << int(QSerialPort::SpaceParity) << 6
                                   << int(QSerialPort::TwoStop);
}

void TestLineSettings::parses()
{
    QFETCH(QString, text);
    QFETCH(int, baud);
    QFETCH(int, parity);
    QFETCH(int, dataBits);
    QFETCH(int, stopBits);

    const auto settings = LineSettings::parse(text);
    QVERIFY(settings);
    QCOMPARE(settings->baudRate, baud);
    QCOMPARE(int(settings->parity), parity);
    QCOMPARE(int(settings->dataBits), dataBits);
    QCOMPARE(int(settings->stopBits), stopBits);
}

void TestLineSettings::refuses_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << QString();
    QTest::newRow("three fields") << "1200,N,8";
    QTest::newRow("five fields") << "1200,N,8,1,1";
    QTest::newRow("no speed") << ",N,8,1";
    QTest::newRow("zero speed") << "0,N,8,1";
    QTest::newRow("parity letter") << "1200,X,8,1";
    QTest::newRow("data bits") << "1200,N,9,1";
    QTest::newRow("stop bits") << "1200,N,8,3";
}

void TestLineSettings::refuses()
{
    QFETCH(QString, text);
    QVERIFY(!LineSettings::parse(text));
}

QTEST_APPLESS_MAIN(TestLineSettings)
#include "tst_linesettings.moc"
