// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

class QWidget;

// Counts the paint events a widget receives, to show how often the pane
// was painted during a measurement.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget* widget);

    int paints() const { return m_paints; }
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int m_paints = 0;
};
