#include "app/splash.h"
#include "app/startup.h"

#include <QLabel>
#include <QProgressBar>
#include <QTest>
#include <QTimer>

class TstStartup : public QObject {
    Q_OBJECT
private slots:
    void splashHasPictureAndFourBars();
    void splashLoopMakesExactly20001Passes();
};

void TstStartup::splashHasPictureAndFourBars()
{
    Splash splash;
    QCOMPARE(splash.objectName(), QStringLiteral("Form2"));
    QVERIFY(splash.windowFlags() & Qt::FramelessWindowHint);
    QCOMPARE(splash.size(), QSize(400, 316));   // 6012 x 4740 twips
    const QImage picture = Splash::picture();
    QCOMPARE(picture.size(), QSize(168, 136));
    QCOMPARE(picture.format(), QImage::Format_Indexed8);
    QVERIFY(picture.colorCount() <= 256);
    QVERIFY(picture.colorCount() > 8);   // a picture, not a blank
    for (int i = 1; i <= 4; ++i)
        QVERIFY(splash.findChild<QProgressBar*>(QStringLiteral("ProgressBar%1").arg(i)));
}

void TstStartup::splashLoopMakesExactly20001Passes()
{
    // A counted loop from 0 to 20000 inclusive, not a time: the same on any machine.
    bool ranDuring = false;
    QTimer::singleShot(0, [&] { ranDuring = true; });
    QCOMPARE(yieldToEventLoop(), 20001);
    QVERIFY(ranDuring);   // pending events are processed while it runs
}

QTEST_MAIN(TstStartup)
#include "tst_startup.moc"
