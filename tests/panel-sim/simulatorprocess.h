// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

// Runs the real velno-panel-sim and knows the path it printed.
class SimulatorProcess {
public:
    ~SimulatorProcess();

    // Starts it and waits for the first output line; false when none came.
    bool start(const QStringList& arguments);

    // SIGTERM, then the exit code (-1 when it did not exit normally).
    int stop();

    QString path() const { return m_path; }
    QProcess& process() { return m_process; }

private:
    QProcess m_process;
    QString m_path;
};
