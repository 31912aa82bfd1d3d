// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLabel>

// The status bar's lasting sign that journal entries wait to be written:
// how many and why, hidden while none wait. Its name is what a screen
// reader says.
class JournalBacklog : public QLabel {
    Q_OBJECT
public:
    explicit JournalBacklog(QWidget* parent = nullptr);

    void showBacklog(int waiting, const QString& reason);
    int waiting() const { return m_waiting; }

private:
    int m_waiting = 0;
};
