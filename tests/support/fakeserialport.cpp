// SPDX-License-Identifier: GPL-3.0-or-later
#include "fakeserialport.h"

#include <utility>

bool FakeSerialPort::setPortNumber(int number)
{
    if (m_open)
        return false;
    m_number = number;
    return true;
}

OpenResult FakeSerialPort::open()
{
    OpenResult result;
    result.device = deviceFor(m_number);
    if (m_open) {
        result.error = OpenResult::Error::AlreadyOpen;
        return result;
    }
    ++opens;
    if (failOpenWith != OpenResult::Error::None) {
        result.error = failOpenWith;
        result.reason = QStringLiteral("scripted failure");
        result.holderPid = holderPid;
        result.holderName = holderName;
        return result;
    }
    m_open = true;
    openedNumber = m_number;
    return result;
}

void FakeSerialPort::close()
{
    m_open = false;
}

bool FakeSerialPort::write(const QByteArray& bytes)
{
    if (!m_open || refuseWrites)
        return false;
    writes.append(bytes);
    if (onWrite)
        onWrite(bytes);
    return true;
}

QByteArray FakeSerialPort::readAll()
{
    QByteArray all = input;
    input.clear();
    return all;
}

void FakeSerialPort::discardInput()
{
    input.clear();
    ++discards;
}

QString FakeSerialPort::deviceFor(int number) const
{
    return QStringLiteral("/dev/fake%1").arg(number);
}

void FakeSerialPort::setReadingPaused(bool paused)
{
    resumes += readingPaused && !paused;
    readingPaused = paused;
}

void FakeSerialPort::readWhatWaits()
{
    if (!waitingInSystem.isEmpty())
        receive(std::exchange(waitingInSystem, QByteArray()));
}

void FakeSerialPort::receive(const QByteArray& bytes)
{
    input += bytes;
    emit notified(kDataReceived);
}
