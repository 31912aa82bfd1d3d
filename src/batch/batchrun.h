// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "batcharguments.h"

#include <QTextStream>

class AppSettings;

// One run of velno-batch from its arguments: the code read, the site looked
// up, the port chosen, the job run and journalled, and in a team the
// journal shipped. Returns the exit status; every failure is one line on
// the error stream.
class BatchRun {
public:
    BatchRun(const BatchArguments& arguments, QTextStream& err);

    int run();
    // --list-sites: the names of the book, one a line.
    int listSites(QTextStream& out);

private:
    bool readCode(QString* code);
    // 0, or the exit status of why the site cannot be used.
    int takeSite(PanelJobPlan& plan, int* port);
    int refuse(PanelJobResult result, const QString& message);
    void shipJournal(AppSettings& settings);

    BatchArguments m_args;
    QTextStream& m_err;
};
