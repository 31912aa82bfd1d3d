// SPDX-License-Identifier: GPL-3.0-or-later
#include "programmodes.h"

#include "programrig.h"
#include "usagesnapshot.h"

#include "desktop/cursorblink.h"
#include "files/tenantrecord.h"
#include "platform/eightbit.h"
#include "transfer/filesender.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTest>
#include <QTime>
#include <QTimer>
#include <QWidget>

namespace {

constexpr int kTenantLines = 100;   // far more than one measurement sends

bool settle(ProgramRig& rig)
{
    if (!rig.connectDirect()) {
        qCritical("cannot connect");
        return false;
    }
    if (!QTest::qWaitForWindowExposed(&rig.window()))
        qWarning("the main window was not exposed");
    QCoreApplication::processEvents();
    return true;
}

// The operator's last key press: the text cursor blinks from here on for
// as long as the program lets it after input.
void lastKeyPress()
{
    QWidget* target = QApplication::focusWidget();
    QTest::keyClick(target ? target : QApplication::activeWindow(), Qt::Key_Shift);
}

// Two spans: the first from the operator's last key press for as long as the
// text cursor blinks, reported as blink_cpu_s and blink_wall_s; the second,
// of the given seconds, once the program has sat untouched long enough for
// the cursor to stay steady, reported by reportSpan. Then the program
// ends as the operator would end it, by closing the main window.
void measureThenClose(ProgramRig& rig, int seconds)
{
    lastKeyPress();
    const UsageSnapshot start = UsageSnapshot::now();
    const int blinkMs = CursorBlinkTimeout::kTimeoutSeconds * 1000;
    QTimer::singleShot(blinkMs, &rig.window(), [start] {
        const UsageSnapshot end = UsageSnapshot::now();
        report("blink_cpu_s", end.cpuSeconds - start.cpuSeconds);
        report("blink_wall_s", double(end.monotonicNs - start.monotonicNs) / 1e9);
    });
    QTimer::singleShot(blinkMs + 500, &rig.window(), [&rig, seconds] {
        if (QApplication::cursorFlashTime() != 0)
            qWarning("the text cursor still blinks");
        const UsageSnapshot steady = UsageSnapshot::now();
        const qint64 sentBefore = rig.window().fileSender().sentRecords();
        QTimer::singleShot(seconds * 1000, &rig.window(), [&rig, steady, sentBefore] {
            reportSpan(steady, UsageSnapshot::now());
            report("lines_sent", double(rig.window().fileSender().sentRecords() - sentBefore));
            rig.window().close();
        });
    });
}

QString writeTenantFile(const QString& workDir)
{
    QFile file(QDir(workDir).filePath(QStringLiteral("paced.TNT")));
    if (!file.open(QIODevice::WriteOnly))
        return QString();
    for (int i = 0; i < kTenantLines; ++i) {
        const TenantRecord record{QString::number(10 + i % 90), QStringLiteral("5551234"),
                                  QStringLiteral("1234"), QStringLiteral("1"),
                                  QStringLiteral("Tenant %1").arg(i)};
        file.write(EightBit::encode(record.line()));
    }
    return file.fileName();
}

}   // namespace

int runIdle(const QString& device, int seconds)
{
    ProgramRig rig(device);
    if (!settle(rig))
        return 1;
    QObject::connect(&rig.window(), &MainWindow::ended, qApp, &QCoreApplication::quit);
    measureThenClose(rig, seconds);
    return QApplication::exec();
}

// The send runs in its handler's waits; the measurement starts from within
// the first of them.
int runPacedSend(const QString& device, int seconds, const QString& workDir)
{
    const QString tenants = writeTenantFile(workDir);
    ProgramRig rig(device);
    if (tenants.isEmpty() || !settle(rig))
        return 1;
    QObject::connect(&rig.window(), &MainWindow::ended, qApp, &QCoreApplication::quit);
    FileSender& sender = rig.window().fileSender();
    sender.download_Click();
    rig.prompter().choose(tenants);
    QTimer::singleShot(0, &sender, &FileSender::sendfileg_Click);
    QTimer::singleShot(0, &sender, [&rig, seconds] { measureThenClose(rig, seconds); });
    return QApplication::exec();
}

int runClockReference(int seconds)
{
    QLabel label;
    label.setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label.show();
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, &label,
                     [&label] { label.setText(QTime::currentTime().toString()); });
    tick.start(1000);
    if (!QTest::qWaitForWindowExposed(&label))
        qWarning("the label was not exposed");
    const UsageSnapshot start = UsageSnapshot::now();
    QTimer::singleShot(seconds * 1000, &label, [start] {
        reportSpan(start, UsageSnapshot::now());
        QCoreApplication::quit();
    });
    return QApplication::exec();
}
