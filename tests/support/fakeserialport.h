// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/serialport.h"

#include <QByteArrayList>
#include <QMap>
#include <functional>

// A serial port that records every write as bytes and raises notifications
// on demand. Opening succeeds unless a failure has been scripted.
class FakeSerialPort : public SerialPort {
    Q_OBJECT
public:
    int portNumber() const override { return m_number; }
    bool setPortNumber(int number) override;
    void setLineSettings(const QString& settings) override { lineSettings = settings; }
    void setHandshaking(Handshaking mode) override { handshaking = mode; }
    void setSendThreshold(int bytes) override { sendThreshold = bytes; }

    bool isOpen() const override { return m_open; }
    OpenResult open() override;
    void close() override;

    bool write(const QByteArray& bytes) override;
    QByteArray readAll() override;
    qint64 bytesWaiting() const override { return input.size(); }
    void discardInput() override;
    // Recorded only: the fake reads on, as a port that cannot pause.
    void setReadingPaused(bool paused) override;
    // Receives what a test left waiting in the system.
    void readWhatWaits() override;
    QString deviceFor(int number) const override;
    QStringList devicesPresent() const override { return present; }

    // Puts bytes in the input buffer and raises the data-received notification.
    void receive(const QByteArray& bytes);
    // Raises a notification with any code.
    void raise(int eventCode) { emit notified(eventCode); }

    QByteArray written() const { return writes.join(); }

    QByteArrayList writes;   // one entry per write, in order
    std::function<void(const QByteArray&)> onWrite;   // runs after each accepted write
    QString lineSettings;
    Handshaking handshaking = Handshaking::None;
    int sendThreshold = 0;
    int opens = 0;
    int openedNumber = 0;   // the number the port was last opened on
    OpenResult::Error failOpenWith = OpenResult::Error::None;
    bool refuseWrites = false;   // open, but every write fails
    qint64 holderPid = 0;   // reported with a scripted failure
    QString holderName;
    QByteArray input;
    int discards = 0;
    bool readingPaused = false;
    int resumes = 0;   // times a pause ended
    QByteArray waitingInSystem;   // read by readWhatWaits()
    QStringList present;   // the devices devicesPresent() reports

private:
    int m_number = 1;
    bool m_open = false;
};
