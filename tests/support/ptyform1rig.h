// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/mainwindow.h"
#include "platform/qtserialport.h"
#include "ptypair.h"
#include "testfiles.h"
#include "testplatform.h"

#include <QByteArray>
#include <QString>
#include <memory>

// The main window on the real serial port, its port 1 mapped to a
// pseudo-terminal whose far end the test plays; fakes for everything else.
struct PtyForm1Rig {
    explicit PtyForm1Rig(int realMsPerSecond = TestPlatform::kShortTickMs);
    ~PtyForm1Rig();

    // Connect with an empty phone field: the port opens, no modem is dialled.
    void connectDirect();

    PtyPair pty;
    TestPlatform fakes;
    QtSerialPort port;
    Platform platform;
    std::unique_ptr<MainWindow> window;
};
