// SPDX-License-Identifier: GPL-3.0-or-later
#include "programmodes.h"

#include "loadend.h"
#include "paintcounter.h"
#include "programrig.h"
#include "usagesnapshot.h"

#include "form/receivepane.h"

#include <QApplication>
#include <QTest>
#include <QTextDocument>

int runIngest(const QString& device, const QString& capturePath)
{
    ProgramRig rig(device);
    if (!rig.readyToReceive(capturePath))
        return 1;
    QCoreApplication::processEvents();

    // Looks at the pane once each change is done: received text may go in at
    // the end of a frame, without a notification of its own.
    const ReceivePane& pane = *rig.window().ui().Text1;
    const QString loadEnd = QLatin1String(kLoadEnd);
    PaintCounter paints(pane.viewport());
    const UsageSnapshot start = UsageSnapshot::now();
    QObject::connect(
        pane.document(), &QTextDocument::contentsChanged, &rig.window(),
        [&] {
            if (!pane.text().endsWith(loadEnd))
                return;
            reportSpan(start, UsageSnapshot::now());
            report("pane_paints", paints.paints());
            QCoreApplication::quit();
        },
        Qt::QueuedConnection);
    report("ready", 1);
    return QApplication::exec();
}
