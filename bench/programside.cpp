// SPDX-License-Identifier: GPL-3.0-or-later
// velno-bench-program: the program side of the benchmarks, run by velno-bench
// in a process of its own so that only the program's CPU is counted.
//
//   velno-bench-program ingest DEVICE [CAPTURE]
//   velno-bench-program linerate DEVICE PAINTLOG [CAPTURE]
//   velno-bench-program idle DEVICE SECONDS
//   velno-bench-program paced DEVICE SECONDS WORKDIR
//   velno-bench-program clock SECONDS
//   velno-bench-program startup SETTINGSDIR
//   velno-bench-program files WORKDIR RUNS
//   velno-bench-program journal WORKDIR RUNS
#include "programmodes.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    const QString mode = args.value(1);
    if (mode == QLatin1String("ingest"))
        return runIngest(args.value(2), args.value(3));
    if (mode == QLatin1String("linerate"))
        return runLineRate(args.value(2), args.value(3), args.value(4));
    if (mode == QLatin1String("idle"))
        return runIdle(args.value(2), args.value(3).toInt());
    if (mode == QLatin1String("paced"))
        return runPacedSend(args.value(2), args.value(3).toInt(), args.value(4));
    if (mode == QLatin1String("clock"))
        return runClockReference(args.value(2).toInt());
    if (mode == QLatin1String("startup"))
        return runStartup(app, args.value(2));
    if (mode == QLatin1String("files"))
        return runFiles(args.value(2), args.value(3).toInt());
    if (mode == QLatin1String("journal"))
        return runJournal(args.value(2), args.value(3).toInt());
    qCritical("usage: velno-bench-program ingest|linerate|idle|paced|clock|startup|files|journal ...");
    return 2;
}
