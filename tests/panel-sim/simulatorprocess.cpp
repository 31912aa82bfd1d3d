// SPDX-License-Identifier: GPL-3.0-or-later
#include "simulatorprocess.h"

#include <QElapsedTimer>

namespace {

constexpr int kStartTimeoutMs = 5000;

}   // namespace

SimulatorProcess::~SimulatorProcess()
{
    if (m_process.state() != QProcess::NotRunning)
        stop();
}

bool SimulatorProcess::start(const QStringList& arguments)
{
    m_process.start(QStringLiteral(PANEL_SIM_EXECUTABLE), arguments);
    QElapsedTimer clock;
    clock.start();
    while (!m_process.canReadLine() && clock.elapsed() < kStartTimeoutMs) {
        if (!m_process.waitForReadyRead(100) && m_process.state() == QProcess::NotRunning)
            return false;
    }
    m_path = QString::fromLocal8Bit(m_process.readLine()).trimmed();
    return !m_path.isEmpty();
}

int SimulatorProcess::stop()
{
    m_process.terminate();
    if (!m_process.waitForFinished(kStartTimeoutMs)) {
        m_process.kill();
        m_process.waitForFinished();
        return -1;
    }
    return m_process.exitStatus() == QProcess::NormalExit ? m_process.exitCode() : -1;
}
