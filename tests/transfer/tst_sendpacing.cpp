// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/linepacing.h"
#include "transfer/sendprogress.h"

#include <QTest>

class TstSendPacing : public QObject {
    Q_OBJECT
private slots:
    void pauseFollowsByteCycle_data();
    void pauseFollowsByteCycle();
    void timeLeft_data();
    void timeLeft();
};

void TstSendPacing::pauseFollowsByteCycle_data()
{
    QTest::addColumn<QString>("byteCycle");
    QTest::addColumn<double>("seconds");
    QTest::addColumn<double>("ticks");
    QTest::addRow("10") << QStringLiteral("10") << 2.5 << 3.0;
    QTest::addRow("15") << QStringLiteral("15") << 2.75 << 3.0;
    QTest::addRow("19") << QStringLiteral("19") << 2.95 << 3.0;
    QTest::addRow("20") << QStringLiteral("20") << 3.0 << 4.0;
    QTest::addRow("40") << QStringLiteral("40") << 4.0 << 5.0;
    QTest::addRow("0") << QStringLiteral("0") << 2.0 << 3.0;
    QTest::addRow("empty") << QString() << 2.0 << 3.0;
    QTest::addRow("not a number") << QStringLiteral("fast") << 2.0 << 3.0;
    QTest::addRow("with a unit") << QStringLiteral(" 15 ms") << 2.75 << 3.0;
    QTest::addRow("negative") << QStringLiteral("-100") << 2.0 << 3.0;
}

void TstSendPacing::pauseFollowsByteCycle()
{
    QFETCH(QString, byteCycle);
    QFETCH(double, seconds);
    QFETCH(double, ticks);
    const LinePacing pacing(byteCycle);
    QCOMPARE(pacing.waitSeconds(), seconds);
    QCOMPARE(pacing.ticksPerLine(), ticks);
    QCOMPARE(pacing.secondsFor(7), 7 * ticks);
    QCOMPARE(pacing.secondsFor(0), 0.0);
}

void TstSendPacing::timeLeft_data()
{
    QTest::addColumn<double>("seconds");
    QTest::addColumn<QString>("text");
    QTest::addRow("nothing") << 0.0 << QString();
    QTest::addRow("1 s") << 1.0 << QStringLiteral("About 1 second left");
    QTest::addRow("59 s") << 59.0 << QStringLiteral("About 59 seconds left");
    QTest::addRow("60 s") << 60.0 << QStringLiteral("About 1 minute left");
    QTest::addRow("89 s") << 89.0 << QStringLiteral("About 1 minute left");
    QTest::addRow("90 s") << 90.0 << QStringLiteral("About 2 minutes left");
    QTest::addRow("12 min") << 720.0 << QStringLiteral("About 12 minutes left");
    QTest::addRow("just under an hour") << 3599.0 << QStringLiteral("About 1 hour left");
    QTest::addRow("1 h 1 min") << 3660.0 << QStringLiteral("About 1 hour 1 minute left");
    QTest::addRow("2 h 5 min") << 7500.0 << QStringLiteral("About 2 hours 5 minutes left");
    QTest::addRow("100000 lines at 3 s") << 300000.0 << QStringLiteral("About 83 hours 20 minutes left");
}

void TstSendPacing::timeLeft()
{
    QFETCH(double, seconds);
    QFETCH(QString, text);
    QCOMPARE(SendProgress::timeLeftText(seconds), text);
}

QTEST_GUILESS_MAIN(TstSendPacing)
#include "tst_sendpacing.moc"
