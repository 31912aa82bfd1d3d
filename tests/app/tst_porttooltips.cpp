// SPDX-License-Identifier: GPL-3.0-or-later
// The port buttons' tooltips: the device each port stands for, then the serial
// devices the machine has, which a port can be mapped to.
#include "desktop/realplatform.h"
#include "form1rig.h"

#include <QFileInfo>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

class TstPortToolTips : public QObject {
    Q_OBJECT
private slots:
    void deviceThenDevicesPresent_data();
    void deviceThenDevicesPresent();
    void realPortNamesMappedDeviceAndExistingDevices();
};

void TstPortToolTips::deviceThenDevicesPresent_data()
{
    QTest::addColumn<QStringList>("present");
    QTest::addColumn<QString>("after");
    QTest::addRow("none found") << QStringList{} << "";
    QTest::addRow("one") << QStringList{"/dev/ttyS0"} << "\nSerial devices present: /dev/ttyS0";
    QTest::addRow("a USB adapter too")
        << QStringList{"/dev/ttyS0", "/dev/ttyUSB0"} << "\nSerial devices present: /dev/ttyS0, /dev/ttyUSB0";
}

void TstPortToolTips::deviceThenDevicesPresent()
{
    QFETCH(QStringList, present);
    QFETCH(QString, after);
    Form1Rig rig(RigOptions().unloaded());
    rig.fakes.port.present = present;
    rig.window->Form_Load();
    for (int n = 1; n <= 4; ++n)
        QCOMPARE(rig.ui().option(n)->toolTip(), rig.fakes.port.deviceFor(n) + after);
}

// On the real serial port a mapped port names its device, and every device
// listed as present is a path that exists.
void TstPortToolTips::realPortNamesMappedDeviceAndExistingDevices()
{
    QTemporaryDir root;
    RealPlatform real(root.path());
    real.platform().dataFolder = root.filePath(QStringLiteral("data"));   // not the user's journal
    real.platform().store.store(QString::fromLatin1(QtSerialPort::kApplication),
                                QString::fromLatin1(QtSerialPort::kSection), QStringLiteral("2"),
                                QStringLiteral("/dev/ttyUSB7"));
    MainWindow window(real.platform());
    window.Form_Load();
    QStringList lines = window.ui().Option2->toolTip().split(QLatin1Char('\n'));
    QCOMPARE(lines.takeFirst(), QStringLiteral("/dev/ttyUSB7"));
    QVERIFY(lines.size() <= 1);
    const QString prefix = QStringLiteral("Serial devices present: ");
    for (const QString& line : lines) {
        QVERIFY2(line.startsWith(prefix), qPrintable(line));
        for (const QString& device : line.mid(prefix.size()).split(QStringLiteral(", ")))
            QVERIFY2(QFileInfo::exists(device), qPrintable(device));
    }
}

QTEST_MAIN(TstPortToolTips)
#include "tst_porttooltips.moc"
