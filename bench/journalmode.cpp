// SPDX-License-Identifier: GPL-3.0-or-later
#include "programmodes.h"

#include "fakeservices.h"
#include "median.h"
#include "usagesnapshot.h"

#include "files/journalmodel.h"
#include "files/journalview.h"
#include "link/journal.h"
#include "link/journalentry.h"
#include "scriptedprompter.h"

#include <QCoreApplication>
#include <QDir>

namespace {

constexpr int kEntries = 100000;
constexpr int kSendLines = 10000;

// A tenant file's line as a file send writes it.
QByteArray tenantLine(int i)
{
    return QStringLiteral("%1 0301%2 %3 %4 Tenant number %5\r\n")
        .arg(1000 + i % 9000)
        .arg(i, 7, 10, QLatin1Char('0'))
        .arg(i % 10000, 4, 10, QLatin1Char('0'))
        .arg(1 + i % 2)
        .arg(i)
        .toLatin1();
}

// The lines of a file send and a connection event now and then, over
// three sites and three months.
void writeJournal(const QString& folder, int entries)
{
    FixedClock clock;
    clock.time = QDateTime(QDate(2026, 10, 1), QTime(8, 0));
    Journal journal(clock, folder);
    const QStringList sites{QStringLiteral("Elm Court"), QStringLiteral("Oak Row"), QString()};
    for (int i = 0; i < entries; ++i) {
        if (i % 1000 == 0) {
            clock.time = clock.time.addSecs(2600);
            journal.setSite(sites[(i / 1000) % sites.size()]);
            journal.recordOpened(1, QStringLiteral("/dev/ttyS0"));
        } else {
            journal.recordSent(tenantLine(i));
        }
    }
}

} // namespace

int runJournal(const QString& workDir, int runs)
{
    const QString big = QDir(workDir).filePath(QStringLiteral("journal"));
    writeJournal(big, kEntries);

    JournalModel model;
    report("journal_load_ms", medianMs(runs, [&] { model.load(big); }));
    report("journal_entries", model.entryCount());

    FakeOpener opener;
    ScriptedPrompter prompter;
    report("journal_view_ms", medianMs(runs, [&] {
               JournalView view(big, opener, prompter);
               view.show();
               QCoreApplication::processEvents();
           }));

    QList<QByteArray> lines;
    for (int i = 0; i < kSendLines; ++i)
        lines.append(tenantLine(i));
    SystemClock clock;
    int run = 0;   // each run into a folder of its own
    report("journal_send_ms", medianMs(runs, [&] {
               Journal journal(clock, QDir(workDir).filePath(QStringLiteral("send%1").arg(run++)));
               for (const QByteArray& line : lines)
                   journal.recordSent(line);
           }));
    return 0;
}
