// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "lineerrorwatch.h"
#include "linesettings.h"
#include "serialport.h"

#include <QSerialPort>

class SettingsStore;

// The serial port over QSerialPort, opened by the device path that the port
// number stands for: COM1..COM4 on Windows, elsewhere the path mapped in the
// settings store (application kApplication, section "Ports", keys "1".."4"),
// /dev/ttyS0../dev/ttyS3 when a key is unset.
class QtSerialPort : public SerialPort {
    Q_OBJECT
public:
    static constexpr int kPortCount = 4;
    static constexpr const char* kApplication = "Velno 6100 Management System";
    static constexpr const char* kSection = "Ports";
    // A write that finds this many bytes still queued, not yet taken by the
    // system, raises kTransmitFull (once, until the queue is below it again).
    // The bytes are queued all the same.
    static constexpr qint64 kTransmitBufferSize = 4096;

    explicit QtSerialPort(SettingsStore& store, QObject* parent = nullptr);
    ~QtSerialPort() override;

    int portNumber() const override { return m_portNumber; }
    bool setPortNumber(int number) override;
    void setLineSettings(const QString& settings) override;
    void setHandshaking(Handshaking mode) override;
    void setSendThreshold(int bytes) override { m_sendThreshold = bytes; }

    bool isOpen() const override { return m_port.isOpen(); }
    OpenResult open() override;
    void close() override;

    bool write(const QByteArray& bytes) override;
    QByteArray readAll() override;
    qint64 bytesWaiting() const override;
    void discardInput() override;
    void setReadingPaused(bool paused) override;
    void readWhatWaits() override;

    QString deviceFor(int portNumber) const override;
    // A device used whatever the port number; empty: the number's own.
    void setDevice(const QString& path) { m_device = path; }
    QStringList devicesPresent() const override;

    // Where the receive error counts come from (the driver's, by default).
    void setLineErrorReader(LineErrorWatch::Reader reader)
    {
        m_lineErrors = LineErrorWatch(std::move(reader));
    }

private:
    void onReadyRead();
    void raiseTransmitFull();
    void applyReadingPause();
    void applySettings();
    void setModemLine(bool raised);
    void onBytesWritten();
    void onErrorOccurred(QSerialPort::SerialPortError error);
    void dropLostLine();

    SettingsStore& m_store;
    QSerialPort m_port;
    LineSettings m_line;
    LineErrorWatch m_lineErrors;
    Handshaking m_handshaking = Handshaking::None;
    int m_portNumber = 1;
    QString m_device;
    int m_sendThreshold = 1;
    bool m_ignoringErrors = false;   // during DTR requests (refused by some devices) and closing
    bool m_lossPending = false;   // a lost line is being closed on the next event loop pass
    QByteArray m_unreadAtLoss;   // received before the line was lost, not read yet
    bool m_transmitFull = false;   // kTransmitFull raised, the queue not yet below the size
    bool m_readingPaused = false;
};
