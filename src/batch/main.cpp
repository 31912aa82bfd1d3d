// SPDX-License-Identifier: GPL-3.0-or-later
// velno-batch: the panel's work without a window, for scripts and timers.
#include "batcharguments.h"
#include "batchrun.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    const BatchArguments arguments = BatchArguments::read(app.arguments());
    switch (arguments.action) {
    case BatchArguments::Action::ShowHelp: out << BatchArguments::usage(); return 0;
    case BatchArguments::Action::ShowVersion: out << "velno-batch " << VELNO_VERSION << '\n'; return 0;
    case BatchArguments::Action::Refuse:
        err << "velno-batch: " << arguments.error << '\n' << BatchArguments::usage();
        return int(PanelJobResult::Usage);
    case BatchArguments::Action::ListSites: return BatchRun(arguments, err).listSites(out);
    case BatchArguments::Action::Run: break;
    }
    return BatchRun(arguments, err).run();
}
