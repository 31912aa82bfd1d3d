// SPDX-License-Identifier: GPL-3.0-or-later
#include "programmodes.h"

#include "loadend.h"
#include "paintcounter.h"
#include "programrig.h"
#include "usagesnapshot.h"

#include "form/receivepane.h"

#include <QApplication>
#include <QTest>

int runIngest(const QString& device, const QString& capturePath)
{
    ProgramRig rig(device);
    if (!rig.readyToReceive(capturePath))
        return 1;
    QCoreApplication::processEvents();

    // Connected after the program's own receiver, so it looks at the pane
    // once the chunk has been appended.
    const ReceivePane& pane = *rig.window().ui().Text1;
    const QString loadEnd = QLatin1String(kLoadEnd);
    PaintCounter paints(pane.viewport());
    const UsageSnapshot start = UsageSnapshot::now();
    QObject::connect(&rig.port(), &SerialPort::notified, &rig.window(), [&](int code) {
        if (code != SerialPort::kDataReceived || !pane.text().endsWith(loadEnd))
            return;
        reportSpan(start, UsageSnapshot::now());
        report("pane_paints", paints.paints());
        QCoreApplication::quit();
    });
    report("ready", 1);
    return QApplication::exec();
}
