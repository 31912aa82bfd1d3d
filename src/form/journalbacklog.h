// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLabel>
#include <QTimer>

// The status bar's lasting sign that journal entries wait: to be written
// here, and to be shipped to the team's database. How many and why, hidden
// while none wait. Entries to ship are shown at once when the server cannot
// take them, otherwise only once some have waited for kShipQuietSeconds,
// so that shipping as usual does not flicker. Its name is what a screen
// reader says.
class JournalBacklog : public QLabel {
    Q_OBJECT
public:
    static constexpr int kShipQuietSeconds = 5;

    // msPerSecond: the length of a second (shortened in tests).
    explicit JournalBacklog(QWidget* parent = nullptr, int msPerSecond = 1000);

    void showBacklog(int waiting, const QString& reason);
    void showShipping(qint64 waiting, const QString& reason);
    int waiting() const { return m_waiting; }
    qint64 toShip() const { return m_toShip; }

private:
    void showAll();

    int m_waiting = 0;
    QString m_reason;
    qint64 m_toShip = 0;
    QString m_shipReason;
    bool m_shipShown = false;
    QTimer m_shipQuiet;
};
