// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTimer>

class QSocketNotifier;

// The simulator's end of the line: a pseudo-terminal master or a serial
// device, read without blocking. It also notices when the far end goes
// away: on a pty by watching opens and closes of the slave (inotify),
// on a device by the carrier detect line dropping.
class SerialLine : public QObject {
    Q_OBJECT

public:
    explicit SerialLine(QObject* parent = nullptr);
    ~SerialLine() override;

    bool openPty(QString* error);
    bool openDevice(const QString& path, QString* error);

    int fd() const { return m_fd; }
    QString path() const { return m_path; }
    bool isPty() const { return m_slaveFd >= 0; }

    // Throws away what we wrote that no client has read (pty only), so a
    // client that opens the line later does not get stale answers.
    void discardUnread();
    bool hasClient() const { return !isPty() || m_inotifyFd < 0 || m_clients > 0; }

signals:
    void received(const QByteArray& bytes);
    void hungUp();
    void failed(const QString& message);

private:
    void service();
    qint64 bytesWaiting() const;
    void readData(qint64 count);
    QList<int> readClientChanges();
    void watchClients();
    void checkCarrier();
    void listen();

    int m_fd = -1;
    int m_slaveFd = -1;   // held open so the pty survives clients closing it
    int m_inotifyFd = -1;
    int m_clients = 0;
    bool m_carrier = false;
    QString m_path;
    QSocketNotifier* m_dataNotifier = nullptr;
    QSocketNotifier* m_clientNotifier = nullptr;
    QTimer m_carrierTimer;
};
