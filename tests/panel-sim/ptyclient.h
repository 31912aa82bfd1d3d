// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

// The far end of the line as a test sees it: opens a tty path raw, as the
// program's serial port would, writes bytes and collects what comes back.
class PtyClient {
public:
    ~PtyClient();

    bool open(const QString& path);
    void close();
    bool write(const QByteArray& bytes);

    // Reads until `expected` has arrived or the time is up; returns all read.
    QByteArray readUntil(const QByteArray& expected, int timeoutMs);

    // Reads whatever arrives within the time.
    QByteArray readFor(int timeoutMs) { return readUntil(QByteArray(), timeoutMs); }

private:
    int m_fd = -1;
};
