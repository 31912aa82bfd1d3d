// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/teamjoin.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class Store;
struct Form1Context;

// Sites > Team...: the team database's URI, with Test, Join, Leave team and
// Close. The work is TeamJoin's; the dialog shows its progress and outcome,
// and stays usable while the server is tried.
class TeamDialog : public QDialog {
    Q_OBJECT
public:
    TeamDialog(Form1Context& ctx, Store& local, QWidget* parent = nullptr);

    TeamJoin& teamJoin() { return m_join; }

    void test();
    void join();
    void leave();

    QLineEdit* uri = nullptr;
    QLabel* note = nullptr;
    QLabel* status = nullptr;
    QPushButton* testButton = nullptr;
    QPushButton* joinButton = nullptr;
    QPushButton* leaveButton = nullptr;
    QPushButton* closeButton = nullptr;

private:
    void build();
    void showTeam();
    void showOutcome(bool ok, const QString& text);
    void enableButtons();

    TeamJoin m_join;
};
