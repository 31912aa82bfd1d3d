// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStatusBar>
#include <array>

class QLabel;

// The main window's status bar: five permanent panels, numbered from 1.
class StatusPanels : public QStatusBar {
    Q_OBJECT
public:
    static constexpr int kCount = 5;

    explicit StatusPanels(QWidget* parent = nullptr);

    void setPanel(int number, const QString& text);
    QString panel(int number) const;
    QLabel* panelLabel(int number) const;

private:
    void fixClockSize();

    std::array<QLabel*, kCount> m_panels{};
};
