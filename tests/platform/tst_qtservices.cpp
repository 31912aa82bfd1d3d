// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/qtclipboard.h"
#include "desktop/qtdesktopopener.h"
#include "desktop/realplatform.h"

#include <QDesktopServices>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

namespace {

// Takes the URLs QDesktopServices hands out for a scheme instead of the desktop.
class UrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void take(const QUrl& url) { urls << url; }
};

}   // namespace

class TestQtServices : public QObject {
    Q_OBJECT
private slots:
    void clipboardText();
    void clipboardClear();
    void openerHandsOutLocalFileUrl();
    void realPlatformHandsOutItsServices();
    void realPlatformPortUsesItsStore();
};

void TestQtServices::clipboardText()
{
    QtClipboard clipboard;
    clipboard.setText("Door 12\tMain entrance");
    QCOMPARE(clipboard.text(), QString("Door 12\tMain entrance"));
}

void TestQtServices::clipboardClear()
{
    QtClipboard clipboard;
    clipboard.setText("something");
    clipboard.clear();
    QCOMPARE(clipboard.text(), QString());
}

void TestQtServices::openerHandsOutLocalFileUrl()
{
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler("file", &catcher, "take");
    QtDesktopOpener opener;
    QVERIFY(opener.openFile("/tmp/velno report.pdf"));
    QDesktopServices::unsetUrlHandler("file");
    QCOMPARE(catcher.urls.size(), 1);
    QCOMPARE(catcher.urls[0], QUrl::fromLocalFile("/tmp/velno report.pdf"));
    QVERIFY(catcher.urls[0].isLocalFile());
}

void TestQtServices::realPlatformHandsOutItsServices()
{
    QTemporaryDir dir;
    RealPlatform real(dir.path());
    Platform& platform = real.platform();
    QVERIFY(dynamic_cast<QtSerialPort*>(&platform.port));
    QVERIFY(dynamic_cast<WidgetPrompter*>(&platform.prompter));
    QVERIFY(dynamic_cast<IniSettingsStore*>(&platform.store));
    QVERIFY(dynamic_cast<SystemClock*>(&platform.clock));
    QVERIFY(dynamic_cast<QtClipboard*>(&platform.clipboard));
    QVERIFY(dynamic_cast<QtPrinter*>(&platform.printer));
    QVERIFY(dynamic_cast<QtDesktopOpener*>(&platform.opener));
    QCOMPARE(platform.realMsPerSecond, 1000);
    QCOMPARE(&real.platform().port, &platform.port);

    QWidget window;
    real.setDialogParent(&window);
    QCOMPARE(dynamic_cast<WidgetPrompter&>(platform.prompter).dialogParent(), &window);
    QVERIFY(!platform.port.isOpen());
}

void TestQtServices::realPlatformPortUsesItsStore()
{
    QTemporaryDir dir;
    RealPlatform real(dir.path());
    Platform& platform = real.platform();
    platform.store.store("Velno 6100 Management System", "Ports", "2", "/dev/ttyUSB1");
    QCOMPARE(platform.port.deviceFor(2), QString("/dev/ttyUSB1"));
    QCOMPARE(platform.port.deviceFor(1), QString("/dev/ttyS0"));
    QVERIFY(QFile::exists(IniSettingsStore::filePath(dir.path(), "Velno 6100 Management System")));
}

QTEST_MAIN(TestQtServices)
#include "tst_qtservices.moc"
