// SPDX-License-Identifier: GPL-3.0-or-later
#include "tabchain.h"

#include <QWidget>

void setTabChain(std::initializer_list<QWidget*> order)
{
    QWidget* previous = nullptr;
    for (QWidget* control : order) {
        if (previous)
            QWidget::setTabOrder(previous, control);
        previous = control;
    }
}
