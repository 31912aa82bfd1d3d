// SPDX-License-Identifier: GPL-3.0-or-later
#include "ptyform1rig.h"

#include "link/connection.h"

#include <QLineEdit>

PtyForm1Rig::PtyForm1Rig(int realMsPerSecond)
    : port(fakes.store),
      platform{port, fakes.prompter, fakes.store, fakes.clock, fakes.clipboard,
               fakes.printer, fakes.opener, realMsPerSecond}
{
    fakes.store.store(QLatin1String(QtSerialPort::kApplication), QLatin1String(QtSerialPort::kSection),
                      QStringLiteral("1"), pty.slavePath());
    window = std::make_unique<MainWindow>(platform);
    window->Form_Load();
    window->connection().Option_Click(1);
}

PtyForm1Rig::~PtyForm1Rig()
{
    window.reset();
    port.close();
}

void PtyForm1Rig::connectDirect()
{
    window->ui().Text2->clear();
    window->connection().connect_Click();
    fakes.prompter.boxes.clear();   // "Please input the phone number"
}

