// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "linesession.h"
#include "outputpump.h"
#include "panel.h"
#include "serialline.h"
#include "simulatoroptions.h"

#include <QObject>
#include <QTimer>
#include <memory>

// Wires the line, the XON/XOFF handling, the session and state saving.
class Simulator : public QObject {
    Q_OBJECT

public:
    Simulator(const SimulatorOptions& options, PanelState state, QObject* parent = nullptr);

    // Opens the line and prints its path as the first line on stdout.
    bool start(QString* error);

    // Saves pending state changes; false when that failed.
    bool finish();

signals:
    void failed(const QString& message);

private:
    void onReceived(const QByteArray& bytes);
    void onHungUp();
    void onGuardTime();
    void onDialTime();
    void send(const QByteArray& bytes);
    void stateMayHaveChanged();
    bool saveState();
    void log(const char* direction, const QByteArray& bytes) const;

    SimulatorOptions m_options;
    Panel m_panel;
    LineSession m_session;
    SerialLine m_line;
    std::unique_ptr<OutputPump> m_pump;
    QTimer m_guardTimer;
    QTimer m_dialTimer;
    QTimer m_saveTimer;
    int m_savedRevision = 0;
};
