// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSerialPort>
#include <QString>

#include <optional>

// The line settings of the serial port as written in the program's text form,
// "1200,N,8,1": speed, parity letter, data bits, stop bits.
struct LineSettings {
    qint32 baudRate = 1200;
    QSerialPort::Parity parity = QSerialPort::NoParity;
    QSerialPort::DataBits dataBits = QSerialPort::Data8;
    QSerialPort::StopBits stopBits = QSerialPort::OneStop;

    // Nothing when the text is not four valid fields.
    static std::optional<LineSettings> parse(const QString& text);
};
