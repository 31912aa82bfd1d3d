#include "programmodes.h"

#include "programrig.h"
#include "usagesnapshot.h"

#include "files/tenantrecord.h"
#include "platform/eightbit.h"
#include "transfer/filesender.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTest>
#include <QTimer>

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

// After the given seconds: reports what the process used meanwhile and ends
// the program as the operator would, by closing the main window.
void measureThenClose(ProgramRig& rig, int seconds)
{
    const UsageSnapshot start = UsageSnapshot::now();
    QTimer::singleShot(seconds * 1000, &rig.window(), [&rig, start] {
        reportSpan(start, UsageSnapshot::now());
        report("lines_sent", double(rig.window().fileSender().sentRecords()));
        rig.window().close();
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

} // namespace

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
