// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

// A pseudo-terminal pair: the program opens the slave path as its serial
// device, the test plays the far end on the master side.
class PtyPair {
public:
    PtyPair();
    ~PtyPair();
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    bool isValid() const { return m_master >= 0; }
    const QString& slavePath() const { return m_slavePath; }

    // Writes at the far end; true when every byte went out.
    bool send(const QByteArray& bytes);
    // Collects what the program wrote until `count` bytes arrived or
    // timeoutMs passed, keeping the event loop running meanwhile.
    QByteArray receive(int count, int timeoutMs = 3000);
    // Everything that has arrived so far, without waiting.
    QByteArray drain();
    // Unplugs the far end.
    void closeMaster();

private:
    int m_master = -1;
    int m_slave = -1;   // kept open so the line stays up between the program's opens
    QString m_slavePath;
};
