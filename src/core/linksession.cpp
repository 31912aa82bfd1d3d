// SPDX-License-Identifier: GPL-3.0-or-later
#include "linksession.h"

#include "platform/serialport.h"

LinkSession::LinkSession(SerialPort& port, QObject* parent) : QObject(parent), m_port(port)
{
    connect(&m_port, &SerialPort::notified, this, &LinkSession::onPortNotified);
}

LinkSession::State LinkSession::state() const
{
    if (m_state != State::Closing && !m_port.isOpen())
        return State::Closed;
    return m_state;
}

bool LinkSession::isOpen() const
{
    return m_port.isOpen();
}

OpenResult LinkSession::open()
{
    const OpenResult result = m_port.open();
    if (result.ok() && m_port.isOpen()) {
        if (m_state != State::Sending && m_state != State::Closing)
            m_state = State::Open;
        emit opened(m_port.portNumber(), m_port.deviceFor(m_port.portNumber()));
    }
    return result;
}

void LinkSession::close()
{
    if (m_state == State::Sending)
        m_state = State::Closed;
    closePort();
}

void LinkSession::closeAfterLineError()
{
    closePort();
}

void LinkSession::closePort()
{
    const bool wasOpen = m_port.isOpen();
    m_port.close();
    if (wasOpen)
        becomeClosed();
}

void LinkSession::beginClosing()
{
    m_state = State::Closing;
}

bool LinkSession::write(const QByteArray& line)
{
    if (!m_port.write(line))
        return false;
    emit lineWritten(line);
    return true;
}

bool LinkSession::write(const QByteArrayList& parts)
{
    for (const QByteArray& part : parts) {
        if (!m_port.write(part))
            return false;
    }
    emit lineWritten(parts.join());
    return true;
}

void LinkSession::programmingEntered()
{
    if (state() == State::Open)
        m_state = State::Programming;
    else if (state() == State::Sending)
        m_afterSending = State::Programming;
}

void LinkSession::sendingStarted()
{
    if (m_state == State::Closing || m_state == State::Sending)
        return;
    m_afterSending = state() == State::Programming ? State::Programming : State::Open;
    m_state = State::Sending;
}

void LinkSession::sendingEnded()
{
    if (m_state == State::Sending)
        m_state = m_port.isOpen() ? m_afterSending : State::Closed;
}

// The port closes itself when the line is lost and then tells; what came
// before the loss has already been announced, as the port reports it first.
void LinkSession::onPortNotified(int eventCode)
{
    if (eventCode == SerialPort::kDataReceived) {
        emit dataArrived();
    } else if (eventCode == SerialPort::kLineLost) {
        emit lineLost();
        becomeClosed();
    } else if (SerialPort::isLineError(eventCode)) {
        emit lineError(eventCode);
    }
    emit notified(eventCode);
}

// A send stays armed; the connection it goes on over, once the port is
// opened again, has not entered programming mode yet.
void LinkSession::becomeClosed()
{
    if (m_state == State::Sending)
        m_afterSending = State::Open;
    else if (m_state != State::Closing)
        m_state = State::Closed;
    emit closed();
}
