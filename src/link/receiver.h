// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/appendpacer.h"
#include "form/receiveappender.h"

#include <QObject>

struct Form1Context;
class CaptureLog;

// The serial port's notification MSComm1_OnComm: received text into the pane
// and the capture file, status texts, line errors; and Command3, which closes
// the capture file an upload left open.
class Receiver : public QObject {
    Q_OBJECT
public:
    static const QString kReceiving;   // "Receiving..."
    static const QString kErrorBoxTitle;   // "Click Cancel to quit, OK to ignore."
    static const QString kLineLost;   // the status text of a device that went away

    Receiver(Form1Context& ctx, CaptureLog& log, QObject* parent = nullptr);
    ~Receiver() override;

    void MSComm1_OnComm(int eventCode);
    void Command3_Click();

    // Panel 1 shows "Status: " followed by the text.
    void showStatus(const QString& text);

private:
    void receiveWaiting();
    void appendHeld();
    void reportLineError(const QString& text);
    void reportLineLost();

    Form1Context& m_ctx;
    ReceiveAppender m_appender;
    AppendPacer m_pacer;
    QString m_held;   // received, waiting for the frame to end
    bool m_appending = false;
    bool m_moreWaiting = false;   // data came in while a chunk was being appended
};
