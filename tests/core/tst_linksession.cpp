// SPDX-License-Identifier: GPL-3.0-or-later
// The link session's states through sequences of what happens to a port:
// each step's state, and the signals that announce it.
#include "core/linksession.h"
#include "fakeserialport.h"

#include <QSignalSpy>
#include <QTest>

namespace {

QString nameOf(LinkSession::State state)
{
    switch (state) {
    case LinkSession::State::Closed: return QStringLiteral("Closed");
    case LinkSession::State::Open: return QStringLiteral("Open");
    case LinkSession::State::Programming: return QStringLiteral("Programming");
    case LinkSession::State::Sending: return QStringLiteral("Sending");
    case LinkSession::State::Closing: return QStringLiteral("Closing");
    }
    return QString();
}

}   // namespace

class TstLinkSession : public QObject {
    Q_OBJECT
private slots:
    void states_data();
    void states();
    void writesAnnounceOnlyWhatThePortTook();
};

void TstLinkSession::states_data()
{
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QString>("states");   // after each step
    QTest::addColumn<int>("closedSignals");

    QTest::newRow("open, program, disconnect") << "open pgm close"
                                               << "Open Programming Closed" << 1;
    QTest::newRow("programming before the port opened does nothing") << "pgm open"
                                                                     << "Closed Open" << 0;
    QTest::newRow("a send returns to programming mode") << "open pgm send sent"
                                                        << "Open Programming Sending Programming" << 0;
    QTest::newRow("a lost line during a send: armed, and back to Open on a new connection")
        << "open pgm send lost open sent"
        << "Open Programming Sending Closed+send Sending Open" << 1;
    QTest::newRow("Cancel on a line error keeps the send armed") << "open send error errorclose"
                                                                 << "Open Sending Sending Closed+send" << 1;
    QTest::newRow("Disconnect disarms the send") << "open send close open sent"
                                                 << "Open Sending Closed Open Open" << 1;
    QTest::newRow("a send armed while closed waits for the port")
        << "send open pgm sent"
        << "Closed+send Sending Sending Programming" << 0;
    QTest::newRow("a send that ended on a closed port") << "open send lost sent"
                                                        << "Open Sending Closed+send Closed" << 1;
    QTest::newRow("the window closing stays Closing")
        << "open pgm closing close open send"
        << "Open Programming Closing Closing Closing Closing" << 1;
    QTest::newRow("a lost line, then a new connection, is not in programming mode")
        << "open pgm lost open"
        << "Open Programming Closed Open" << 1;
    QTest::newRow("closing a closed port says nothing") << "close errorclose"
                                                        << "Closed Closed" << 0;
}

void TstLinkSession::states()
{
    QFETCH(QString, steps);
    QFETCH(QString, states);
    QFETCH(int, closedSignals);
    FakeSerialPort port;
    LinkSession session(port);
    QSignalSpy closed(&session, &LinkSession::closed);
    QSignalSpy lost(&session, &LinkSession::lineLost);
    QSignalSpy errors(&session, &LinkSession::lineError);
    QStringList seen;
    for (const QString& step : steps.split(u' ')) {
        if (step == QLatin1String("open")) {
            QVERIFY(session.open().ok());
        } else if (step == QLatin1String("close")) {
            session.close();
        } else if (step == QLatin1String("errorclose")) {
            session.closeAfterLineError();
        } else if (step == QLatin1String("pgm")) {
            session.programmingEntered();
        } else if (step == QLatin1String("send")) {
            session.sendingStarted();
        } else if (step == QLatin1String("sent")) {
            session.sendingEnded();
        } else if (step == QLatin1String("closing")) {
            session.beginClosing();
        } else if (step == QLatin1String("lost")) {
            port.close();
            port.raise(SerialPort::kLineLost);
        } else if (step == QLatin1String("error")) {
            port.raise(SerialPort::kOverrun);
        }
        // A send stays armed while the port is closed: "+send".
        const bool armedOnly = session.isSendArmed() && session.state() != LinkSession::State::Sending;
        seen << nameOf(session.state()) + (armedOnly ? QStringLiteral("+send") : QString());
    }
    QCOMPARE(seen.join(u' '), states);
    QCOMPARE(closed.size(), closedSignals);
    QCOMPARE(lost.size(), int(steps.count(QStringLiteral("lost"))));
    QCOMPARE(errors.size(), int(steps.split(u' ').count(QStringLiteral("error"))));
}

void TstLinkSession::writesAnnounceOnlyWhatThePortTook()
{
    FakeSerialPort port;
    LinkSession session(port);
    QSignalSpy written(&session, &LinkSession::lineWritten);
    QVERIFY(!session.write(QByteArray("PGM1234\r\n")));   // closed
    QVERIFY(session.open().ok());
    QVERIFY(session.write(QByteArray("PGM1234\r\n")));
    QVERIFY(session.write(QByteArrayList{"PARMSG", " Welcome \r\n"}));
    port.refuseWrites = true;
    QVERIFY(!session.write(QByteArrayList{"PARMSG", " Hi \r\n"}));
    QCOMPARE(written.size(), 2);
    QCOMPARE(written.at(1).at(0).toByteArray(), QByteArray("PARMSG Welcome \r\n"));
}

QTEST_GUILESS_MAIN(TstLinkSession)
#include "tst_linksession.moc"
