// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

// The splash window Form2: a picture and four progress bars, no behaviour.
class Splash : public QWidget {
    Q_OBJECT
public:
    explicit Splash(QWidget* parent = nullptr);

    // The 256-colour picture of 168 x 136 pixels.
    static QImage picture();
};
