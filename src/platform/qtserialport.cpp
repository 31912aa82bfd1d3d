// SPDX-License-Identifier: GPL-3.0-or-later
#include "qtserialport.h"

#include "openrefusal.h"
#include "settingsstore.h"

#include <QMetaObject>
#include <QSerialPortInfo>
#include <QSocketNotifier>

#include <utility>

#ifdef Q_OS_UNIX
#include <sys/ioctl.h>
#include <termios.h>
#endif

namespace {

OpenResult::Error openErrorFor(QSerialPort::SerialPortError error)
{
    switch (error) {
    case QSerialPort::DeviceNotFoundError: return OpenResult::Error::NotFound;
    case QSerialPort::PermissionError: return OpenResult::Error::Permission;
    default: return OpenResult::Error::Other;
    }
}

// Errors after which the line is of no further use. On Linux a device that
// went away (or a pseudo-terminal whose other end closed) keeps the descriptor
// readable while each read finds nothing, which Qt reports as ReadError or
// ResourceError depending on the errno it finds, over and over.
bool meansLineLost(QSerialPort::SerialPortError error)
{
    return error == QSerialPort::ResourceError || error == QSerialPort::ReadError
        || error == QSerialPort::WriteError;
}

// XON/XOFF need their characters; a device left with them disabled by another
// program would never stop or resume its output. Qt leaves them as it finds them.
// Qt also lets any received character restart stopped output (IXANY): an echo
// from the panel after its XOFF would then overrun it. Only XON restarts.
void setXonXoffOnly(qintptr handle)
{
#ifdef Q_OS_UNIX
    termios settings{};
    if (tcgetattr(int(handle), &settings) != 0)
        return;
    settings.c_cc[VSTART] = 0x11;
    settings.c_cc[VSTOP] = 0x13;
    settings.c_iflag &= ~tcflag_t(IXANY);
    tcsetattr(int(handle), TCSANOW, &settings);
#else
    Q_UNUSED(handle);
#endif
}

}   // namespace

QtSerialPort::QtSerialPort(SettingsStore& store, QObject* parent) : SerialPort(parent), m_store(store)
{
    m_port.setReadBufferSize(0);   // unlimited: the program drains it on every notification
    connect(&m_port, &QSerialPort::readyRead, this, &QtSerialPort::onReadyRead);
    connect(&m_port, &QSerialPort::bytesWritten, this, &QtSerialPort::onBytesWritten);
    connect(&m_port, &QSerialPort::errorOccurred, this, &QtSerialPort::onErrorOccurred);
    applySettings();
}

QtSerialPort::~QtSerialPort()
{
    close();
}

bool QtSerialPort::setPortNumber(int number)
{
    if (isOpen() || number < 1 || number > kPortCount)
        return false;
    m_portNumber = number;
    return true;
}

void QtSerialPort::setLineSettings(const QString& settings)
{
    if (const auto parsed = LineSettings::parse(settings)) {
        m_line = *parsed;
        applySettings();
    }
}

void QtSerialPort::setHandshaking(Handshaking mode)
{
    m_handshaking = mode;
    applySettings();
}

OpenResult QtSerialPort::open()
{
    OpenResult result;
    result.device = deviceFor(m_portNumber);
    if (isOpen()) {
        result.error = OpenResult::Error::AlreadyOpen;
        return result;
    }
    m_port.setPortName(result.device);
    m_port.clearError();
    if (!m_port.open(QIODevice::ReadWrite)) {
        result.error = openErrorFor(m_port.error());
        result.reason = m_port.errorString();
        m_port.clearError();
        if (result.error == OpenResult::Error::Permission)
            explainRefusal(result);
        return result;
    }
    m_lossPending = false;
    m_transmitFull = false;
    m_readingPaused = false;
    applySettings();
    setModemLine(true);
    m_lineErrors.start(m_port.handle());
    return result;
}

void QtSerialPort::close()
{
    m_lossPending = false;
    if (!isOpen())
        return;
    // On a line that is gone the steps below fail; none of that matters now.
    m_ignoringErrors = true;
    // What was written last ("END") is still in Qt's buffer: hand it to the
    // system, which sends it out, before the port goes.
    m_port.flush();
    setModemLine(false);
    m_port.close();
    m_port.clearError();
    m_ignoringErrors = false;
}

bool QtSerialPort::write(const QByteArray& bytes)
{
    if (!isOpen())
        return false;
    if (m_port.bytesToWrite() >= kTransmitBufferSize)
        raiseTransmitFull();
    return m_port.write(bytes) != -1;
}

// Delivered through the event loop: the writer goes on undisturbed, and the
// box the notification may bring opens after it.
void QtSerialPort::raiseTransmitFull()
{
    if (m_transmitFull)
        return;
    m_transmitFull = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (isOpen())
                emit notified(kTransmitFull);
        },
        Qt::QueuedConnection);
}

QByteArray QtSerialPort::readAll()
{
    QByteArray bytes = std::exchange(m_unreadAtLoss, QByteArray());
    if (isOpen())
        bytes += m_port.readAll();
    return bytes;
}

qint64 QtSerialPort::bytesWaiting() const
{
    return m_unreadAtLoss.size() + (isOpen() ? m_port.bytesAvailable() : 0);
}

void QtSerialPort::discardInput()
{
    m_unreadAtLoss.clear();
    if (!isOpen())
        return;
    m_port.clear(QSerialPort::Input);
    m_port.readAll();
}

// Called with every append of received text: nothing to do when the state
// stays, since the port's own reads cannot undo a pause.
void QtSerialPort::setReadingPaused(bool paused)
{
    if (paused == m_readingPaused)
        return;
    m_readingPaused = paused;
    applyReadingPause();
}

// QSerialPort reads through a socket notifier of its own, a child of the
// port, and turns it on again whenever its buffer is read. Paused, that
// notifier is parted from the descriptor, so that turning it on does
// nothing: every switch costs the event loop a wake-up call, and a read
// would otherwise switch it on and off again. Without that notifier
// (another platform) the port simply reads on.
void QtSerialPort::applyReadingPause()
{
    const auto notifiers = m_port.findChildren<QSocketNotifier*>(QString(), Qt::FindDirectChildrenOnly);
    for (QSocketNotifier* notifier : notifiers) {
        if (notifier->type() != QSocketNotifier::Read)
            continue;
        if (m_readingPaused) {
            notifier->setSocket(-1);
        } else {
            notifier->setSocket(m_port.handle());
            notifier->setEnabled(true);
        }
    }
}

// Qt reads for itself only when its notifier fires; here the count in the
// system says whether there is anything, so that an empty look is not
// reported as a timeout.
void QtSerialPort::readWhatWaits()
{
#ifdef Q_OS_UNIX
    int waiting = 0;
    if (isOpen() && ::ioctl(int(m_port.handle()), FIONREAD, &waiting) == 0 && waiting > 0)
        m_port.waitForReadyRead(0);
#endif
}

QString QtSerialPort::deviceFor(int portNumber) const
{
    if (portNumber < 1)
        return QString();
    if (!m_device.isEmpty())
        return m_device;
#ifdef Q_OS_WIN
    return QStringLiteral("COM%1").arg(portNumber);
#else
    const QString mapped = m_store
                               .read(QLatin1String(kApplication), QLatin1String(kSection),
                                     QString::number(portNumber), QString())
                               .trimmed();
    if (!mapped.isEmpty())
        return mapped;
    return QStringLiteral("/dev/ttyS%1").arg(portNumber - 1);
#endif
}

QStringList QtSerialPort::devicesPresent() const
{
    QStringList devices;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
#ifdef Q_OS_WIN
        devices << info.portName();
#else
        devices << info.systemLocation();
#endif
    }
    devices.sort();
    return devices;
}

void QtSerialPort::applySettings()
{
    m_port.setBaudRate(m_line.baudRate);
    m_port.setParity(m_line.parity);
    m_port.setDataBits(m_line.dataBits);
    m_port.setStopBits(m_line.stopBits);
    m_port.setFlowControl(m_handshaking == Handshaking::XonXoff ? QSerialPort::SoftwareControl
                                                                : QSerialPort::NoFlowControl);
    if (m_handshaking == Handshaking::XonXoff && isOpen())
        setXonXoffOnly(m_port.handle());
}

// DTR tells the panel a terminal is there. Devices without modem lines (a
// pseudo-terminal, some adapters) refuse the request; that is no fault.
void QtSerialPort::setModemLine(bool raised)
{
    const bool wasIgnoring = m_ignoringErrors;
    m_ignoringErrors = true;
    m_port.setDataTerminalReady(raised);
    m_port.clearError();
    m_ignoringErrors = wasIgnoring;
}

// The driver's error counts are looked at after each read: the data comes
// first, then the losses found with it.
void QtSerialPort::onReadyRead()
{
    emit notified(kDataReceived);
    if (!isOpen())
        return;
    for (int code : m_lineErrors.grownCodes(m_port.handle())) {
        if (!isOpen())
            return;   // closed from the box of an earlier code
        emit notified(code);
    }
}

// Qt reports every chunk handed to the driver; the program wants to hear when
// fewer than the threshold bytes wait (threshold 0: never).
void QtSerialPort::onBytesWritten()
{
    if (m_port.bytesToWrite() < kTransmitBufferSize)
        m_transmitFull = false;
    if (m_sendThreshold > 0 && m_port.bytesToWrite() < m_sendThreshold)
        emit notified(kSendBufferLow);
}

void QtSerialPort::onErrorOccurred(QSerialPort::SerialPortError error)
{
    if (m_ignoringErrors || m_lossPending || !isOpen() || !meansLineLost(error))
        return;
    // Closing inside Qt's own notifier call is unsafe: close on the next pass
    // of the event loop.
    m_lossPending = true;
    QMetaObject::invokeMethod(this, &QtSerialPort::dropLostLine, Qt::QueuedConnection);
}

void QtSerialPort::dropLostLine()
{
    if (!m_lossPending || !isOpen())
        return;   // closed (and maybe reopened) by the program meanwhile
    if (m_port.bytesAvailable() > 0)
        emit notified(kDataReceived);   // what arrived before the loss is still shown
    if (!isOpen())
        return;
    // A reader still busy with an earlier chunk (a box of its own is open)
    // takes the rest when it is done: closing would drop it.
    QByteArray unread = m_port.readAll();
    close();
    m_unreadAtLoss += unread;
    emit notified(kLineLost);
}
