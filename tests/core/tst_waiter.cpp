// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/waiter.h"
#include "virtualtimersource.h"

#include <QSignalSpy>
#include <QTest>
#include <QTimer>

namespace {
constexpr int kShortTickMs = 5;   // real milliseconds to the program's second
}

class TstWaiter : public QObject {
    Q_OBJECT
private slots:
    void ticksUntilCountExceedsSeconds_data();
    void ticksUntilCountExceedsSeconds();
    void ticksInVirtualTime_data() { ticksUntilCountExceedsSeconds_data(); }
    void ticksInVirtualTime();
    void eventsRunDuringWait();
    void nestedWaitsBothEnd();
    void stopAllEndsWaitsAndLaterOnes();
    void timerStopsAfterLastWait();
};

void TstWaiter::ticksUntilCountExceedsSeconds_data()
{
    QTest::addColumn<double>("seconds");
    QTest::addColumn<int>("ticks");
    QTest::addRow("0") << 0.0 << 1;
    QTest::addRow("2") << 2.0 << 3;
    QTest::addRow("2.5") << 2.5 << 3;
    QTest::addRow("2.75") << 2.75 << 3;
    QTest::addRow("3") << 3.0 << 4;
}

void TstWaiter::ticksUntilCountExceedsSeconds()
{
    QFETCH(double, seconds);
    QFETCH(int, ticks);
    Waiter waiter(kShortTickMs);
    QSignalSpy spy(&waiter, &Waiter::ticked);
    waiter.wait_seconds(seconds);
    QCOMPARE(spy.count(), ticks);
    QCOMPARE(waiter.wait_ticks(), ticks);
}

// The same counts with a second of virtual time to the tick, none of it real.
void TstWaiter::ticksInVirtualTime()
{
    QFETCH(double, seconds);
    QFETCH(int, ticks);
    VirtualTimerSource time;
    Waiter waiter(time, TickTimer::kRealScale);
    QSignalSpy spy(&waiter, &Waiter::ticked);
    waiter.wait_seconds(seconds);
    QCOMPARE(spy.count(), ticks);
    QCOMPARE(time.elapsedMs(), qint64(ticks) * 1000);
    QVERIFY(!waiter.Timer1().isActive());
}

void TstWaiter::eventsRunDuringWait()
{
    Waiter waiter(kShortTickMs);
    bool ran = false;
    QTimer::singleShot(0, [&] { ran = true; });
    waiter.wait_seconds(1);
    QVERIFY(ran);
}

void TstWaiter::nestedWaitsBothEnd()
{
    Waiter waiter(kShortTickMs);
    QSignalSpy spy(&waiter, &Waiter::ticked);
    int innerTicks = -1;
    // The inner wait starts after the outer one's first tick and lasts 5 ticks,
    // longer than the outer one needs: the outer one must still end.
    QObject::connect(&waiter, &Waiter::ticked, &waiter, [&] {
        if (innerTicks != -1)
            return;
        innerTicks = 0;
        const int before = spy.count();
        waiter.wait_seconds(4);
        innerTicks = int(spy.count()) - before;
    });
    waiter.wait_seconds(2);
    QCOMPARE(innerTicks, 5);
    QVERIFY(spy.count() >= 6);
    QVERIFY(!waiter.waiting());
}

void TstWaiter::stopAllEndsWaitsAndLaterOnes()
{
    Waiter waiter(1000);   // a real second per tick: only stopAll can end this early
    QTimer::singleShot(10, [&] { waiter.stopAll(); });
    QSignalSpy spy(&waiter, &Waiter::ticked);
    waiter.wait_seconds(60);
    waiter.wait_seconds(60);
    QCOMPARE(spy.count(), 0);   // both returned before the first one-second tick
}

void TstWaiter::timerStopsAfterLastWait()
{
    Waiter waiter(kShortTickMs);
    waiter.Timer1().start();   // running as at load
    waiter.wait_seconds(1);
    QVERIFY(!waiter.Timer1().isActive());
}

QTEST_GUILESS_MAIN(TstWaiter)
#include "tst_waiter.moc"
