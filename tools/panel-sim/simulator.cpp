// SPDX-License-Identifier: GPL-3.0-or-later
#include "simulator.h"

#include "statefile.h"

#include <cstdio>

namespace {

constexpr char kXon = 0x11;
constexpr char kXoff = 0x13;
constexpr int kGuardTimeMs = 1000;   // silence after "+++" that makes it an escape
constexpr int kSaveDelayMs = 500;   // a burst of tenant records is saved once

QByteArray printable(const QByteArray& bytes)
{
    QByteArray text;
    for (const char c : bytes) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '\r')
            text += "\\r";
        else if (c == '\n')
            text += "\\n";
        else if (u < 0x20 || u == 0x7f)
            text += "\\x" + QByteArray::number(u, 16).rightJustified(2, '0');
        else
            text += c;
    }
    return text;
}

}   // namespace

Simulator::Simulator(const SimulatorOptions& options, PanelState state, QObject* parent)
    : QObject(parent),
      m_options(options),
      m_panel(std::move(state)),
      m_session(m_panel, options.modem, options.dial)
{
    m_guardTimer.setSingleShot(true);
    m_guardTimer.setInterval(kGuardTimeMs);
    connect(&m_guardTimer, &QTimer::timeout, this, &Simulator::onGuardTime);
    // Precise, so that a caller timing the dial never sees it end early.
    m_dialTimer.setSingleShot(true);
    m_dialTimer.setTimerType(Qt::PreciseTimer);
    m_dialTimer.setInterval(options.dial.delayMs);
    connect(&m_dialTimer, &QTimer::timeout, this, &Simulator::onDialTime);
    m_saveTimer.setSingleShot(true);
    m_saveTimer.setInterval(kSaveDelayMs);
    connect(&m_saveTimer, &QTimer::timeout, this, &Simulator::saveState);
    connect(&m_line, &SerialLine::received, this, &Simulator::onReceived);
    connect(&m_line, &SerialLine::hungUp, this, &Simulator::onHungUp);
    connect(&m_line, &SerialLine::failed, this, &Simulator::failed);
}

bool Simulator::start(QString* error)
{
    const bool device = !m_options.devicePath.isEmpty();
    if (!(device ? m_line.openDevice(m_options.devicePath, error) : m_line.openPty(error)))
        return false;
    // A real line drains at its own pace; pacing our writes to it keeps
    // the kernel queue short, so XOFF takes hold at once.
    m_pump = std::make_unique<OutputPump>(m_line.fd(), m_options.rateLimit || device, this);
    std::printf("%s\n", m_line.path().toLocal8Bit().constData());
    std::fflush(stdout);
    return true;
}

bool Simulator::finish()
{
    return m_panel.revision() == m_savedRevision || saveState();
}

void Simulator::onReceived(const QByteArray& bytes)
{
    QByteArray data;
    for (const char c : bytes) {
        if (c == kXoff)
            m_pump->pause();
        else if (c == kXon)
            m_pump->resume();
        else
            data += c;
    }
    log("<<", bytes);
    send(m_session.receive(data));
    if (m_session.escapePending())
        m_guardTimer.start();
    else
        m_guardTimer.stop();
    if (m_session.dialStarted())
        m_dialTimer.start();
    else if (!m_session.isDialling())
        m_dialTimer.stop();
    stateMayHaveChanged();
}

void Simulator::onHungUp()
{
    log("--", "hang-up");
    const QByteArray answer = m_session.hangUp();
    m_guardTimer.stop();
    m_dialTimer.stop();
    // A stale XOFF or unsent answers must not carry over to the next client.
    m_pump->discard();
    m_pump->resume();
    if (m_line.isPty())
        m_line.discardUnread();   // nobody is there to read NO CARRIER
    else
        send(answer);
}

void Simulator::onGuardTime()
{
    send(m_session.guardTimeElapsed());
}

void Simulator::onDialTime()
{
    send(m_session.dialTimeElapsed());
}

void Simulator::send(const QByteArray& bytes)
{
    if (bytes.isEmpty())
        return;
    if (!m_line.hasClient()) {
        log("xx", bytes);   // the client is gone; a later one must not read this
        return;
    }
    log(">>", bytes);
    m_pump->send(bytes);
}

void Simulator::stateMayHaveChanged()
{
    if (!m_options.statePath.isEmpty() && m_options.saveState && m_panel.revision() != m_savedRevision)
        m_saveTimer.start();
}

bool Simulator::saveState()
{
    if (m_options.statePath.isEmpty() || !m_options.saveState)
        return true;
    QString error;
    if (!StateFile::save(m_options.statePath, m_panel.state(), &error)) {
        std::fprintf(stderr, "velno-panel-sim: cannot save state: %s\n", qPrintable(error));
        return false;
    }
    m_savedRevision = m_panel.revision();
    return true;
}

void Simulator::log(const char* direction, const QByteArray& bytes) const
{
    if (m_options.verbose)
        std::fprintf(stderr, "%s %s\n", direction, printable(bytes).constData());
}
