// SPDX-License-Identifier: GPL-3.0-or-later
#include "linesettings.h"

#include <QStringList>

namespace {

std::optional<QSerialPort::Parity> parityFor(const QString& letter)
{
    const QString l = letter.toUpper();
    if (l == QLatin1String("N"))
        return QSerialPort::NoParity;
    if (l == QLatin1String("E"))
        return QSerialPort::EvenParity;
    if (l == QLatin1String("O"))
        return QSerialPort::OddParity;
    if (l == QLatin1String("M"))
        return QSerialPort::MarkParity;
    if (l == QLatin1String("S"))
        return QSerialPort::SpaceParity;
    return std::nullopt;
}

std::optional<QSerialPort::DataBits> dataBitsFor(const QString& text)
{
    bool ok = false;
    const int bits = text.toInt(&ok);
    if (!ok || bits < 5 || bits > 8)
        return std::nullopt;
    return static_cast<QSerialPort::DataBits>(bits);
}

std::optional<QSerialPort::StopBits> stopBitsFor(const QString& text)
{
    if (text == QLatin1String("1"))
        return QSerialPort::OneStop;
    if (text == QLatin1String("1.5"))
        return QSerialPort::OneAndHalfStop;
    if (text == QLatin1String("2"))
        return QSerialPort::TwoStop;
    return std::nullopt;
}

}   // namespace

std::optional<LineSettings> LineSettings::parse(const QString& text)
{
    const QStringList fields = text.split(QLatin1Char(','));
    if (fields.size() != 4)
        return std::nullopt;
    bool ok = false;
    const qint32 baud = fields[0].trimmed().toInt(&ok);
    const auto parity = parityFor(fields[1].trimmed());
    const auto dataBits = dataBitsFor(fields[2].trimmed());
    const auto stopBits = stopBitsFor(fields[3].trimmed());
    if (!ok || baud <= 0 || !parity || !dataBits || !stopBits)
        return std::nullopt;
    return LineSettings{baud, *parity, *dataBits, *stopBits};
}
