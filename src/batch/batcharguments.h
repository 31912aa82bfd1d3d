// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/paneljob.h"

#include <QString>
#include <QStringList>

// velno-batch's command line. What it names is checked here, before any
// file, store or port is touched; the code itself is read later.
struct BatchArguments {
    enum class Action { Run, ListSites, ShowHelp, ShowVersion, Refuse };
    enum class CodeFrom { None, Stdin, File };

    Action action = Action::Refuse;
    QString error;   // why a refused command line is refused

    QString site;   // --site
    int port = 0;   // --port, 0: none given
    QString device;   // --device
    QString phone;   // --phone; overrides the site's
    bool phoneGiven = false;
    CodeFrom codeFrom = CodeFrom::None;
    QString codeFile;
    PanelJobPlan plan;   // the action, its file and its times

    static BatchArguments read(const QStringList& arguments);
    static QString usage();
};
