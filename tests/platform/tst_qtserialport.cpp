// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qtserialport.h"
#include "platform/settingsstore.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QMap>
#include <QProcess>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <fcntl.h>
#include <grp.h>
#include <poll.h>
#include <pty.h>
#include <pwd.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

namespace {

const QString kApp = QStringLiteral("Velno 6100 Management System");

class MemoryStore : public SettingsStore {
public:
    QString read(const QString& application, const QString& section, const QString& key,
                 const QString& fallback) const override
    {
        return m_values.value(path(application, section, key), fallback);
    }
    void store(const QString& application, const QString& section, const QString& key,
               const QString& value) override
    {
        m_values.insert(path(application, section, key), value);
    }

private:
    static QString path(const QString& application, const QString& section, const QString& key)
    {
        return application + '\n' + section + '\n' + key.toLower();
    }
    QMap<QString, QString> m_values;
};

// A pseudo-terminal: the port opens the slave, the test plays the panel at the
// master end.
class Pty {
public:
    ~Pty()
    {
        closeMaster();
        closeSlave();
    }

    bool open()
    {
        char name[256] = {};
        if (openpty(&m_master, &m_slave, name, nullptr, nullptr) != 0)
            return false;
        termios raw{};
        tcgetattr(m_slave, &raw);
        cfmakeraw(&raw);
        tcsetattr(m_slave, TCSANOW, &raw);
        fcntl(m_master, F_SETFL, fcntl(m_master, F_GETFL) | O_NONBLOCK);
        m_slavePath = QString::fromLocal8Bit(name);
        return true;
    }

    QString slavePath() const { return m_slavePath; }
    int slave() const { return m_slave; }

    termios slaveSettings() const
    {
        termios t{};
        tcgetattr(m_slave, &t);
        return t;
    }

    void setSlaveSettings(const termios& t) const { tcsetattr(m_slave, TCSANOW, &t); }

    bool send(const QByteArray& bytes) const
    {
        return ::write(m_master, bytes.constData(), size_t(bytes.size())) == bytes.size();
    }

    // Reads at the master end while the event loop runs until count bytes came
    // or the time ran out.
    QByteArray receive(int count, int timeoutMs = 5000) const
    {
        QByteArray got;
        QElapsedTimer timer;
        timer.start();
        while (got.size() < count && timer.elapsed() < timeoutMs) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
            pollfd p{m_master, POLLIN, 0};
            if (poll(&p, 1, 10) <= 0)
                continue;
            char buffer[512];
            const ssize_t n = ::read(m_master, buffer, sizeof buffer);
            if (n > 0)
                got.append(buffer, int(n));
        }
        return got;
    }

    void closeMaster()
    {
        if (m_master >= 0)
            ::close(m_master);
        m_master = -1;
    }

    void closeSlave()
    {
        if (m_slave >= 0)
            ::close(m_slave);
        m_slave = -1;
    }

private:
    int m_master = -1;
    int m_slave = -1;
    QString m_slavePath;
};

QList<int> codes(const QSignalSpy& spy)
{
    QList<int> result;
    for (const QList<QVariant>& call : spy)
        result << call.at(0).toInt();
    return result;
}

// A user without privileges for the opens that root would get through: the
// one running the tests, or nobody when that is root. Nothing when there is
// no nobody.
struct Unprivileged {
    uid_t uid;
    gid_t gid;
};

std::optional<Unprivileged> unprivilegedUser()
{
    if (getuid() != 0)
        return Unprivileged{getuid(), getgid()};
    const passwd* nobody = getpwnam("nobody");
    if (!nobody)
        return std::nullopt;
    return Unprivileged{nobody->pw_uid, nobody->pw_gid};
}

// Opens port 1 on the device in a child process that runs as the user; the
// child's exit status is the error it met. Nothing when it could not become
// that user.
std::optional<OpenResult::Error> openAs(const Unprivileged& user, const QString& device)
{
    constexpr int kNoUser = 100;
    const pid_t child = fork();
    if (child == 0) {
        if (getuid() != user.uid
            && (setgroups(0, nullptr) != 0 || setgid(user.gid) != 0 || setuid(user.uid) != 0))
            _exit(kNoUser);
        MemoryStore store;
        store.store(kApp, "Ports", "1", device);
        QtSerialPort port(store);
        _exit(int(port.open().error));
    }
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status)
        || WEXITSTATUS(status) == kNoUser)
        return std::nullopt;
    return OpenResult::Error(WEXITSTATUS(status));
}

// Where Qt looks for a device's lock file: the first lock folder it may write.
QString lockFileFor(const QString& device)
{
    QString name = device.mid(int(qstrlen("/dev/")));
    name.replace(u'/', u'_');
    for (const char* folder : {"/var/lock", "/run/lock", "/tmp"}) {
        if (QFileInfo(QString::fromLatin1(folder)).isWritable())
            return QStringLiteral("%1/LCK..%2").arg(QString::fromLatin1(folder), name);
    }
    return QString();
}

QByteArray allByteValues()
{
    QByteArray bytes;
    for (int i = 0; i < 256; ++i)
        bytes.append(char(i));
    return bytes;
}

}   // namespace

class TestQtSerialPort : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    // port numbers and devices
    void deviceForDefaults_data();
    void deviceForDefaults();
    void deviceForMapped();
    void mappingIsReadAtEachOpen();
    void portNumberRange();
    void portNumberFixedWhileOpen();

    // opening
    void openMissingDevice();
    void openTwice();
    void openRefusedSaysWhy_data();
    void openRefusedSaysWhy();
    void refusedModemLinesKeepPortOpen();
    void lineSettingsReachTheDevice_data();
    void lineSettingsReachTheDevice();
    void flowCharactersAreSet();
    void invalidLineSettingsAreIgnored();

    // data
    void sendsEveryByteValue();
    void receivesWithNotification();
    void sendNotification();
    void sendThresholdZeroIsSilent();
    void xoffHoldsOutput();
    void transmitFullIsRaisedOnce();
    void lineErrorCountsRaiseErrors_data();
    void lineErrorCountsRaiseErrors();
    void discardInputDropsWaitingBytes();
    void pausedReadingWaitsInTheSystem();
    void writeWhenClosedFails();
    void closeSendsWhatWasWritten();

    // the far end going away
    void farEndGone_data();
    void farEndGone();
    void reopensAfterLineLost();

private:
    bool openOnPty(QtSerialPort& port);

    std::unique_ptr<MemoryStore> m_store;
    std::unique_ptr<Pty> m_pty;
};

void TestQtSerialPort::init()
{
    m_store = std::make_unique<MemoryStore>();
    m_pty = std::make_unique<Pty>();
    QVERIFY(m_pty->open());
}

void TestQtSerialPort::cleanup()
{
    m_pty.reset();
    m_store.reset();
}

bool TestQtSerialPort::openOnPty(QtSerialPort& port)
{
    m_store->store(kApp, "Ports", QString::number(port.portNumber()), m_pty->slavePath());
    const OpenResult result = port.open();
    if (!result.ok())
        qWarning() << "open failed:" << result.device << result.reason;
    return result.ok();
}

void TestQtSerialPort::deviceForDefaults_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("device");
    QTest::newRow("1") << 1 << "/dev/ttyS0";
    QTest::newRow("2") << 2 << "/dev/ttyS1";
    QTest::newRow("3") << 3 << "/dev/ttyS2";
    QTest::newRow("4") << 4 << "/dev/ttyS3";
}

void TestQtSerialPort::deviceForDefaults()
{
    QFETCH(int, number);
    QFETCH(QString, device);
    QtSerialPort port(*m_store);
    QCOMPARE(port.deviceFor(number), device);
    m_store->store(kApp, "Ports", QString::number(number), QString());
    QCOMPARE(port.deviceFor(number), device);
}

void TestQtSerialPort::deviceForMapped()
{
    QtSerialPort port(*m_store);
    m_store->store(kApp, "Ports", "1", "/dev/ttyUSB0");
    m_store->store(kApp, "Ports", "3", " /dev/ttyACM1 ");
    QCOMPARE(port.deviceFor(1), QString("/dev/ttyUSB0"));
    QCOMPARE(port.deviceFor(2), QString("/dev/ttyS1"));
    QCOMPARE(port.deviceFor(3), QString("/dev/ttyACM1"));
}

void TestQtSerialPort::mappingIsReadAtEachOpen()
{
    QTemporaryDir dir;
    QtSerialPort port(*m_store);
    m_store->store(kApp, "Ports", "1", dir.filePath("first"));
    QCOMPARE(port.open().device, dir.filePath("first"));
    m_store->store(kApp, "Ports", "1", dir.filePath("second"));
    QCOMPARE(port.open().device, dir.filePath("second"));
    QVERIFY(openOnPty(port));
    QVERIFY(port.isOpen());
}

void TestQtSerialPort::portNumberRange()
{
    QtSerialPort port(*m_store);
    QCOMPARE(port.portNumber(), 1);
    QVERIFY(!port.setPortNumber(0));
    QVERIFY(!port.setPortNumber(5));
    QCOMPARE(port.portNumber(), 1);
    QVERIFY(port.setPortNumber(4));
    QCOMPARE(port.portNumber(), 4);
}

void TestQtSerialPort::portNumberFixedWhileOpen()
{
    QtSerialPort port(*m_store);
    QVERIFY(port.setPortNumber(2));
    QVERIFY(openOnPty(port));
    QVERIFY(!port.setPortNumber(3));
    QCOMPARE(port.portNumber(), 2);
    port.close();
    QVERIFY(port.setPortNumber(3));
}

void TestQtSerialPort::openMissingDevice()
{
    QTemporaryDir dir;
    const QString missing = dir.filePath("ttyMissing");
    m_store->store(kApp, "Ports", "2", missing);
    QtSerialPort port(*m_store);
    QVERIFY(port.setPortNumber(2));
    QSignalSpy spy(&port, &SerialPort::notified);

    const OpenResult result = port.open();
    QCOMPARE(result.error, OpenResult::Error::NotFound);
    QCOMPARE(result.device, missing);
    QVERIFY(!result.reason.isEmpty());
    QVERIFY(!port.isOpen());
    QTest::qWait(50);
    QCOMPARE(spy.count(), 0);
}

void TestQtSerialPort::openTwice()
{
    QtSerialPort port(*m_store);
    QVERIFY(openOnPty(port));
    const OpenResult again = port.open();
    QCOMPARE(again.error, OpenResult::Error::AlreadyOpen);
    QCOMPARE(again.device, m_pty->slavePath());
    QVERIFY(port.isOpen());
}

// Qt reports a device that another program holds as a permission error; only
// a device the user may not open is one. Neither permissions nor exclusive
// use stop root, so those rows open as an unprivileged user.
void TestQtSerialPort::openRefusedSaysWhy_data()
{
    QTest::addColumn<QString>("hold");
    QTest::addColumn<int>("error");
    QTest::newRow("lock file") << "lock file" << int(OpenResult::Error::Busy);
    QTest::newRow("exclusive use") << "exclusive" << int(OpenResult::Error::Busy);
    QTest::newRow("no permission") << "no permission" << int(OpenResult::Error::Permission);
}

void TestQtSerialPort::openRefusedSaysWhy()
{
    QFETCH(QString, hold);
    QFETCH(int, error);
    const QString device = m_pty->slavePath();
    if (hold == "lock file") {
        const QString lockFile = lockFileFor(device);
        if (lockFile.isEmpty())
            QSKIP("no lock folder can be written");
        QProcess holder;
        holder.start("sleep", {"30"});
        QVERIFY(holder.waitForStarted());
        const auto cleanup = qScopeGuard([&] {
            QFile::remove(lockFile);
            holder.kill();
            holder.waitForFinished();
        });
        QFile lock(lockFile);
        QVERIFY(lock.open(QIODevice::WriteOnly));
        // As another Qt program writes it: Qt takes over lock files that name no
        // running program with that name.
        lock.write(QByteArray::number(holder.processId()) + "\nsleep\n"
                   + QSysInfo::machineHostName().toLocal8Bit() + '\n');
        lock.close();

        QtSerialPort port(*m_store);
        m_store->store(kApp, "Ports", "1", device);
        const OpenResult result = port.open();
        QCOMPARE(int(result.error), error);
        QCOMPARE(result.holderPid, holder.processId());
        QCOMPARE(result.holderName, QStringLiteral("sleep"));
        return;
    }
    const std::optional<Unprivileged> user = unprivilegedUser();
    if (!user)
        QSKIP("no unprivileged user to open the device as");
    const QByteArray path = QFile::encodeName(device);
    if (hold == "exclusive") {
        QCOMPARE(chown(path.constData(), user->uid, gid_t(-1)), 0);
        QCOMPARE(ioctl(m_pty->slave(), TIOCEXCL), 0);
    } else {
        QCOMPARE(chmod(path.constData(), 0), 0);
    }
    const std::optional<OpenResult::Error> met = openAs(*user, device);
    if (!met)
        QSKIP("cannot become an unprivileged user here");
    QCOMPARE(int(*met), error);
}

// A pseudo-terminal has no modem lines: raising DTR on open and dropping it
// on close fail there, which must go unnoticed.
void TestQtSerialPort::refusedModemLinesKeepPortOpen()
{
    QtSerialPort port(*m_store);
    QSignalSpy spy(&port, &SerialPort::notified);
    QVERIFY(openOnPty(port));
    QTest::qWait(200);
    QVERIFY(port.isOpen());
    QVERIFY(port.write("ping"));
    QCOMPARE(m_pty->receive(4), QByteArray("ping"));
    QTest::qWait(50);
    for (int code : codes(spy))
        QVERIFY2(code == SerialPort::kSendBufferLow || code == SerialPort::kDataReceived,
                 qPrintable(QString::number(code)));
    port.close();
    QVERIFY(!port.isOpen());
    QTest::qWait(50);
    for (int code : codes(spy))
        QVERIFY(code == SerialPort::kSendBufferLow || code == SerialPort::kDataReceived);
}

// A pseudo-terminal keeps the speed, stop bits, odd parity flag and
// handshaking it is given but always reports 8 data bits and no parity.
void TestQtSerialPort::lineSettingsReachTheDevice_data()
{
    QTest::addColumn<QString>("settings");
    QTest::addColumn<bool>("xonXoff");
    QTest::addColumn<int>("speed");
    QTest::addColumn<bool>("odd");
    QTest::addColumn<bool>("twoStop");

    QTest::newRow("panel") << "1200,N,8,1" << true << int(B1200) << false << false;
    QTest::newRow("even 7 2") << "9600,E,7,2" << false << int(B9600) << false << true;
    QTest::newRow("odd 8 1") << "2400,O,8,1" << true << int(B2400) << true << false;
    QTest::newRow("space 8 1") << "300,S,8,1" << false << int(B300) << false << false;
}

void TestQtSerialPort::lineSettingsReachTheDevice()
{
    QFETCH(QString, settings);
    QFETCH(bool, xonXoff);
    QFETCH(int, speed);
    QFETCH(bool, odd);
    QFETCH(bool, twoStop);

    QtSerialPort port(*m_store);
    port.setLineSettings(settings);
    port.setHandshaking(xonXoff ? SerialPort::Handshaking::XonXoff : SerialPort::Handshaking::None);
    QVERIFY(openOnPty(port));

    const termios t = m_pty->slaveSettings();
    QCOMPARE(int(cfgetospeed(&t)), speed);
    QCOMPARE(int(cfgetispeed(&t)), speed);
    QCOMPARE(bool(t.c_cflag & PARODD), odd);
    QCOMPARE(bool(t.c_cflag & CSTOPB), twoStop);
    QCOMPARE(bool(t.c_iflag & IXON), xonXoff);
    QCOMPARE(bool(t.c_iflag & IXOFF), xonXoff);
    QVERIFY(!(t.c_iflag & IXANY));
    QVERIFY(!(t.c_lflag & (ICANON | ECHO)));
    QVERIFY(!(t.c_oflag & OPOST));

    // Changing them while open applies them at once.
    port.setLineSettings("4800,O,7,2");
    const termios changed = m_pty->slaveSettings();
    QCOMPARE(int(cfgetospeed(&changed)), int(B4800));
    QVERIFY(changed.c_cflag & PARODD);
    QVERIFY(changed.c_cflag & CSTOPB);
    port.setHandshaking(xonXoff ? SerialPort::Handshaking::None : SerialPort::Handshaking::XonXoff);
    QCOMPARE(bool(m_pty->slaveSettings().c_iflag & IXON), !xonXoff);
}

// A device left with the XON/XOFF characters disabled gets them back.
void TestQtSerialPort::flowCharactersAreSet()
{
    termios t = m_pty->slaveSettings();
    t.c_cc[VSTART] = _POSIX_VDISABLE;
    t.c_cc[VSTOP] = _POSIX_VDISABLE;
    m_pty->setSlaveSettings(t);

    QtSerialPort port(*m_store);
    port.setHandshaking(SerialPort::Handshaking::XonXoff);
    QVERIFY(openOnPty(port));
    const termios opened = m_pty->slaveSettings();
    QCOMPARE(int(opened.c_cc[VSTART]), 0x11);
    QCOMPARE(int(opened.c_cc[VSTOP]), 0x13);
}

void TestQtSerialPort::invalidLineSettingsAreIgnored()
{
    QtSerialPort port(*m_store);
    port.setLineSettings("9600,N,8,1");
    port.setLineSettings("fast please");
    QVERIFY(openOnPty(port));
    const termios t = m_pty->slaveSettings();
    QCOMPARE(int(cfgetospeed(&t)), int(B9600));
}

void TestQtSerialPort::sendsEveryByteValue()
{
    QtSerialPort port(*m_store);
    port.setLineSettings("1200,N,8,1");
    port.setHandshaking(SerialPort::Handshaking::XonXoff);
    QVERIFY(openOnPty(port));

    const QByteArray expected = allByteValues() + "END\r\n";
    QVERIFY(port.write(allByteValues()));
    QVERIFY(port.write("END\r\n"));
    QCOMPARE(m_pty->receive(expected.size()), expected);
    QCOMPARE(m_pty->receive(1, 100), QByteArray());
}

void TestQtSerialPort::receivesWithNotification()
{
    QtSerialPort port(*m_store);
    QVERIFY(openOnPty(port));
    QSignalSpy spy(&port, &SerialPort::notified);

    QByteArray received;
    connect(&port, &SerialPort::notified, this, [&](int code) {
        if (code == SerialPort::kDataReceived)
            received += port.readAll();
    });
    // Every byte value but XON/XOFF, which the port's handshaking may take.
    QByteArray bytes = allByteValues();
    bytes.remove(0x13, 1);
    bytes.remove(0x11, 1);
    bytes += "R\r\n";
    QVERIFY(m_pty->send(bytes));
    QTRY_COMPARE(received, bytes);
    QVERIFY(codes(spy).contains(SerialPort::kDataReceived));
    for (int code : codes(spy))
        QCOMPARE(code, SerialPort::kDataReceived);
    QCOMPARE(port.readAll(), QByteArray());
}

void TestQtSerialPort::sendNotification()
{
    QtSerialPort port(*m_store);
    port.setSendThreshold(1);
    QVERIFY(openOnPty(port));
    QSignalSpy spy(&port, &SerialPort::notified);
    QVERIFY(port.write("ABC"));
    QTRY_VERIFY(codes(spy).contains(SerialPort::kSendBufferLow));
    QCOMPARE(m_pty->receive(3), QByteArray("ABC"));
}

void TestQtSerialPort::sendThresholdZeroIsSilent()
{
    QtSerialPort port(*m_store);
    port.setSendThreshold(0);
    QVERIFY(openOnPty(port));
    QSignalSpy spy(&port, &SerialPort::notified);
    QVERIFY(port.write("ABC"));
    QCOMPARE(m_pty->receive(3), QByteArray("ABC"));
    QTest::qWait(50);
    QVERIFY(!codes(spy).contains(SerialPort::kSendBufferLow));
}

// With XON/XOFF handshaking an XOFF from the panel holds the output until XON;
// any other character from the panel (an echo) leaves it held.
void TestQtSerialPort::xoffHoldsOutput()
{
    QtSerialPort port(*m_store);
    port.setHandshaking(SerialPort::Handshaking::XonXoff);
    QVERIFY(openOnPty(port));

    QVERIFY(m_pty->send(QByteArray(1, '\x13')));
    QTest::qWait(50);
    QVERIFY(port.write("HELD"));
    QCOMPARE(m_pty->receive(4, 300), QByteArray());
    QVERIFY(m_pty->send("A"));
    QCOMPARE(m_pty->receive(4, 300), QByteArray());
    QVERIFY(m_pty->send(QByteArray(1, '\x11')));
    QCOMPARE(m_pty->receive(4), QByteArray("HELD"));
    QCOMPARE(port.readAll(), QByteArray("A"));
}

// While the panel holds the line with XOFF the queue grows: the write that
// finds it full raises kTransmitFull once, through the event loop, and
// nothing written is lost.
void TestQtSerialPort::transmitFullIsRaisedOnce()
{
    QtSerialPort port(*m_store);
    port.setHandshaking(SerialPort::Handshaking::XonXoff);
    QVERIFY(openOnPty(port));
    QSignalSpy spy(&port, &SerialPort::notified);
    QVERIFY(m_pty->send(QByteArray(1, '\x13')));
    QTest::qWait(50);

    const QByteArray queued(int(QtSerialPort::kTransmitBufferSize), 'Q');
    QVERIFY(port.write(queued));
    QVERIFY(port.write("A"));
    QVERIFY(port.write("B"));
    QVERIFY(!codes(spy).contains(SerialPort::kTransmitFull));
    QTRY_COMPARE(codes(spy).count(SerialPort::kTransmitFull), 1);

    QVERIFY(m_pty->send(QByteArray(1, '\x11')));
    QCOMPARE(m_pty->receive(int(queued.size()) + 2), queued + "AB");
    QCOMPARE(codes(spy).count(SerialPort::kTransmitFull), 1);
}

// The driver's receive error counts, fed by the test: a counter that grew
// raises its code once, after the data read with it; losses from before the
// opening are not reported; a device without counts (as a pseudo-terminal's
// own driver) raises nothing.
void TestQtSerialPort::lineErrorCountsRaiseErrors_data()
{
    QTest::addColumn<bool>("counted");
    QTest::addColumn<int>("overruns");   // growth between the first and the second read
    QTest::addColumn<int>("overflows");
    QTest::addColumn<QList<int>>("errors");
    QTest::newRow("no counts") << false << 1 << 1 << QList<int>();
    QTest::newRow("unchanged") << true << 0 << 0 << QList<int>();
    QTest::newRow("overrun") << true << 2 << 0 << QList<int>{SerialPort::kOverrun};
    QTest::newRow("buffer overflow") << true << 0 << 1 << QList<int>{SerialPort::kReceiveOverflow};
    QTest::newRow("both") << true << 1 << 3 << QList<int>{SerialPort::kOverrun, SerialPort::kReceiveOverflow};
}

void TestQtSerialPort::lineErrorCountsRaiseErrors()
{
    QFETCH(bool, counted);
    QFETCH(int, overruns);
    QFETCH(int, overflows);
    QFETCH(QList<int>, errors);
    LineErrorCounts counts{5, 7};
    int looked = 0;
    QtSerialPort port(*m_store);
    port.setLineErrorReader([&](qintptr) {
        ++looked;
        return counted ? std::optional<LineErrorCounts>(counts) : std::nullopt;
    });
    QVERIFY(openOnPty(port));
    QSignalSpy spy(&port, &SerialPort::notified);
    const QList<int> dataOnly{SerialPort::kDataReceived};

    QVERIFY(m_pty->send("first"));
    QTRY_COMPARE(codes(spy), dataOnly);
    counts.overrun += quint32(overruns);
    counts.bufferOverrun += quint32(overflows);
    spy.clear();
    QVERIFY(m_pty->send("second"));
    QTRY_VERIFY(!spy.isEmpty());
    QCOMPARE(codes(spy), dataOnly + errors);
    spy.clear();
    QVERIFY(m_pty->send("third"));
    QTRY_VERIFY(!spy.isEmpty());
    QCOMPARE(codes(spy), dataOnly);
    QCOMPARE(port.readAll(), QByteArray("firstsecondthird"));
    QCOMPARE(looked > 1, counted);   // a device without counts at opening is not asked again
}

void TestQtSerialPort::discardInputDropsWaitingBytes()
{
    QtSerialPort port(*m_store);
    QVERIFY(openOnPty(port));
    QSignalSpy spy(&port, &SerialPort::notified);
    QVERIFY(m_pty->send("junk"));
    QTRY_VERIFY(codes(spy).contains(SerialPort::kDataReceived));
    port.discardInput();
    QCOMPARE(port.readAll(), QByteArray());

    spy.clear();
    QVERIFY(m_pty->send("fresh"));
    QTRY_VERIFY(codes(spy).contains(SerialPort::kDataReceived));
    QCOMPARE(port.readAll(), QByteArray("fresh"));
}

// While reading is paused, bytes that arrive raise no notification, even
// after a read of what came before, and wait in the system; a look at the
// system reads and announces them, all of them, at once, and the pause
// holds; resuming announces what came after. A fresh opening reads again.
void TestQtSerialPort::pausedReadingWaitsInTheSystem()
{
    QtSerialPort port(*m_store);
    QVERIFY(openOnPty(port));
    QSignalSpy spy(&port, &SerialPort::notified);
    const QList<int> dataOnly{SerialPort::kDataReceived};
    QVERIFY(m_pty->send("before "));
    QTRY_COMPARE(codes(spy), dataOnly);

    port.setReadingPaused(true);
    QCOMPARE(port.readAll(), QByteArray("before "));
    spy.clear();
    for (const char* piece : {"held ", "back ", "a while"}) {
        QVERIFY(m_pty->send(piece));
        QTest::qWait(30);
    }
    QCOMPARE(port.readAll(), QByteArray());
    QTest::qWait(50);
    QVERIFY(spy.isEmpty());

    port.readWhatWaits();
    QCOMPARE(codes(spy), dataOnly);
    QCOMPARE(port.readAll(), QByteArray("held back a while"));
    port.readWhatWaits();   // nothing there: no notification, no error
    QVERIFY(m_pty->send("then more"));
    QTest::qWait(50);
    QCOMPARE(codes(spy), dataOnly);
    QVERIFY(port.isOpen());

    port.setReadingPaused(false);
    QTRY_COMPARE(codes(spy), dataOnly + dataOnly);
    QCOMPARE(port.readAll(), QByteArray("then more"));

    port.setReadingPaused(true);
    port.close();
    QVERIFY(openOnPty(port));
    spy.clear();
    QVERIFY(m_pty->send("again"));
    QTRY_COMPARE(codes(spy), dataOnly);
    QCOMPARE(port.readAll(), QByteArray("again"));
}

void TestQtSerialPort::writeWhenClosedFails()
{
    QtSerialPort port(*m_store);
    QVERIFY(!port.write("x"));
    QCOMPARE(port.readAll(), QByteArray());
    port.discardInput();
    port.close();
    QVERIFY(openOnPty(port));
    port.close();
    QVERIFY(!port.write("x"));
}

void TestQtSerialPort::closeSendsWhatWasWritten()
{
    QtSerialPort port(*m_store);
    QVERIFY(openOnPty(port));
    QVERIFY(port.write("END\r\n"));
    port.close();
    QCOMPARE(m_pty->receive(5), QByteArray("END\r\n"));
}

// Closing the master end hangs up the pseudo-terminal as an unplugged adapter
// would. Qt 6.4 on Linux then reports ReadError (or ResourceError, by the
// errno it happens to find) for every pass of the event loop; the port closes
// once and says so with kLineLost.
void TestQtSerialPort::farEndGone_data()
{
    QTest::addColumn<bool>("writeAfter");
    QTest::newRow("idle") << false;
    QTest::newRow("writing") << true;
}

void TestQtSerialPort::farEndGone()
{
    QFETCH(bool, writeAfter);
    QtSerialPort port(*m_store);
    QVERIFY(openOnPty(port));
    m_pty->closeSlave();
    QSignalSpy spy(&port, &SerialPort::notified);

    m_pty->closeMaster();
    if (writeAfter)
        port.write("lost?");
    QTRY_VERIFY(codes(spy).contains(SerialPort::kLineLost));
    QVERIFY(!port.isOpen());
    QTest::qWait(100);
    QCOMPARE(codes(spy).count(SerialPort::kLineLost), 1);
    QVERIFY(!port.write("x"));
    QCOMPARE(port.readAll(), QByteArray());
}

void TestQtSerialPort::reopensAfterLineLost()
{
    QtSerialPort port(*m_store);
    QVERIFY(openOnPty(port));
    QSignalSpy spy(&port, &SerialPort::notified);
    m_pty->closeMaster();
    QTRY_VERIFY(!port.isOpen());

    m_pty = std::make_unique<Pty>();
    QVERIFY(m_pty->open());
    QVERIFY(openOnPty(port));
    QVERIFY(port.write("again"));
    QCOMPARE(m_pty->receive(5), QByteArray("again"));
    QTest::qWait(100);
    QVERIFY(port.isOpen());
    QCOMPARE(codes(spy).count(SerialPort::kLineLost), 1);
}

QTEST_GUILESS_MAIN(TestQtSerialPort)
#include "tst_qtserialport.moc"
