// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>

// What opening the port came to.
struct OpenResult {
    // Permission: the user may not use the device; Busy: another program holds it.
    enum class Error { None, AlreadyOpen, NotFound, Permission, Busy, Other };
    Error error = Error::None;
    QString device;   // the device path that was tried
    QString reason;   // the system's own description of the failure
    qint64 holderPid = 0;   // Busy: the process that holds the device, where known
    QString holderName;   // and its program name, where known

    bool ok() const { return error == Error::None; }
    static constexpr int kAlreadyOpenCode = 8005;
};

// The serial port of the main window: a port number 1 to 4, fixed line
// settings, XON/XOFF, and a notification with an event code for everything
// that happens on the line.
class SerialPort : public QObject {
    Q_OBJECT
public:
    // Event codes of the notification.
    static constexpr int kSendBufferLow = 1;
    static constexpr int kDataReceived = 2;
    static constexpr int kOverrun = 1006;
    static constexpr int kReceiveOverflow = 1008;
    static constexpr int kTransmitFull = 1010;
    // The device went away; the port has been closed.
    static constexpr int kLineLost = 1101;

    // An error on the line that the port goes on from: the operator decides.
    static constexpr bool isLineError(int eventCode)
    {
        return eventCode == kOverrun || eventCode == kReceiveOverflow || eventCode == kTransmitFull;
    }

    // How the operator is told of a line error; empty for any other code.
    static QString lineErrorText(int eventCode)
    {
        switch (eventCode) {
        case kOverrun: return QStringLiteral("Overrun Error");
        case kReceiveOverflow: return QStringLiteral("Receive Buffer Overflow");
        case kTransmitFull: return QStringLiteral("Transmit Buffer Full");
        default: return QString();
        }
    }

    enum class Handshaking { None = 0, XonXoff = 1 };

    using QObject::QObject;

    virtual int portNumber() const = 0;
    // Fails (returns false) while the port is open: the number cannot change then.
    virtual bool setPortNumber(int number) = 0;
    virtual void setLineSettings(const QString& settings) = 0;   // "1200,N,8,1"
    virtual void setHandshaking(Handshaking mode) = 0;
    virtual void setSendThreshold(int bytes) = 0;

    virtual bool isOpen() const = 0;
    virtual OpenResult open() = 0;
    virtual void close() = 0;

    // Queues the bytes for sending; false when the port is closed or refuses them.
    virtual bool write(const QByteArray& bytes) = 0;
    // Everything waiting in the input buffer (see bytesWaiting()).
    virtual QByteArray readAll() = 0;
    // How many bytes wait in the input buffer. Closed, it holds only what
    // arrived before a lost line and was not read yet.
    virtual qint64 bytesWaiting() const = 0;
    // Drops everything waiting in the input buffer.
    virtual void discardInput() = 0;
    // While reading is paused the port raises no data notification: what
    // arrives waits in the system's buffer and is announced once reading
    // resumes. A slow line then wakes the program once for several bytes
    // instead of once for each. A port that cannot pause reads on.
    virtual void setReadingPaused(bool paused) { Q_UNUSED(paused); }
    // Reads what waits in the system now, paused or not, and announces it
    // before returning, as any read does. A port that cannot pause has
    // nothing waiting there.
    virtual void readWhatWaits() {}

    // The device a port number stands for, for messages and tooltips.
    virtual QString deviceFor(int portNumber) const = 0;
    // The serial devices this machine has now, named as deviceFor() names them.
    virtual QStringList devicesPresent() const = 0;

signals:
    void notified(int eventCode);
};
