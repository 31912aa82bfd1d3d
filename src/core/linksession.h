// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayList>
#include <QObject>
#include <QString>

class SerialPort;
struct OpenResult;

// The link to the panel: the port's state, and the one path through which
// every line goes to the port. It hears the port's notifications first,
// announces them as typed signals, then passes each on (notified) to the
// receive handler.
class LinkSession : public QObject {
    Q_OBJECT
public:
    // Programming: the programming line has gone out since the port opened.
    // Sending: a file send runs; it stops as soon as the state is another.
    // Only Disconnect ends it: a send that a lost line or a line error's
    // Cancel interrupted goes on if the port is opened again in its pause.
    // Closing: the main window is closing; every wait ends, nothing is sent.
    enum class State { Closed, Open, Programming, Sending, Closing };

    explicit LinkSession(SerialPort& port, QObject* parent = nullptr);

    // Closed whenever the port is, also before the session has heard why.
    State state() const;
    bool isOpen() const;
    // A file send is armed: it goes on line by line, also through a pause in
    // which the port is closed, until Disconnect or the window closing.
    bool isSendArmed() const { return m_state == State::Sending; }

    // Opens the port as it is set up; Open and opened() when it did (a send
    // stays Sending, Closing stays Closing).
    OpenResult open();
    // Disconnect: closes the port and ends a running send; closed() when it
    // was open. Closing stays Closing.
    void close();
    // Cancel on a line error: closes the port, a running send stays armed.
    void closeAfterLineError();
    // The window is closing: from now on the state is Closing.
    void beginClosing();

    // One line in one write; lineWritten() when the port took it.
    bool write(const QByteArray& line);
    // One line in several writes, in order, up to the first one refused;
    // lineWritten() with the whole line once every part went.
    bool write(const QByteArrayList& parts);

    // The programming line went out.
    void programmingEntered();
    // A file send starts, or goes on after the port was opened again; it is
    // armed whatever the port's state, so that a port lost while the file
    // was being chosen shows in the send's own pause.
    void sendingStarted();
    // The file send is over: back to the state it started from, unless
    // something (Disconnect, a lost line, the window closing) changed it.
    void sendingEnded();

signals:
    void opened(int portNumber, const QString& device);
    // The port was open and is closed now: Disconnect, Cancel on a line
    // error, the window closing, or after lineLost.
    void closed();
    // The device went away; the port has closed itself.
    void lineLost();
    // A line error the port reports (SerialPort::isLineError), before the
    // operator is asked about it.
    void lineError(int code);
    // Bytes wait to be read, before the receive handler reads them.
    void dataArrived();
    // A whole line the port took, as written, CR LF included.
    void lineWritten(const QByteArray& bytes);
    // The port's notification, passed on after the session has announced it.
    void notified(int eventCode);

private:
    void onPortNotified(int eventCode);
    void closePort();
    void becomeClosed();

    SerialPort& m_port;
    State m_state = State::Closed;
    State m_afterSending = State::Open;   // what a send ends in while the port is open
};
