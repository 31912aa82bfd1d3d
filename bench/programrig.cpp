// SPDX-License-Identifier: GPL-3.0-or-later
#include "programrig.h"

#include "link/capturelog.h"
#include "link/connection.h"

#include <QLineEdit>
#include <QTest>

ProgramRig::ProgramRig(const QString& device)
    : m_port(m_store), m_platform{m_port, m_prompter, m_store, m_clock, m_clipboard, m_printer, m_opener}
{
    m_platform.dataFolder = m_journalDir.path();
    m_store.store(QLatin1String(QtSerialPort::kApplication), QLatin1String(QtSerialPort::kSection),
                  QStringLiteral("1"), device);
    m_window = std::make_unique<MainWindow>(m_platform);
    m_window->Form_Load();
    m_window->connection().Option_Click(1);
    m_window->show();
}

ProgramRig::~ProgramRig()
{
    m_port.close();
}

bool ProgramRig::connectDirect()
{
    m_window->ui().Text2->clear();
    m_window->connection().connect_Click();
    m_prompter.boxes.clear();   // "Please input the phone number"
    return m_port.isOpen();
}

bool ProgramRig::openCapture(const QString& path)
{
    m_prompter.choose(path);
    m_window->captureLog().mnuOpenLog_Click();
    return m_window->context().capture.isOpen();
}

bool ProgramRig::readyToReceive(const QString& capturePath)
{
    if (!connectDirect() || (!capturePath.isEmpty() && !openCapture(capturePath))) {
        qCritical("cannot connect on %s or open the capture file", qPrintable(m_port.deviceFor(1)));
        return false;
    }
    if (!QTest::qWaitForWindowExposed(m_window.get()))
        qWarning("the main window was not exposed");
    return true;
}
