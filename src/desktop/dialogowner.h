// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QApplication>
#include <QWidget>

// The window a box or dialog belongs to: the modal window in front when there
// is one (a tenant editor asks while it is open), else the program's window.
// Without a parent a dialog opens centred on the screen, and some desktops
// give it a taskbar entry of its own.
inline QWidget* dialogOwner(QWidget* programWindow)
{
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    return programWindow ? programWindow : QApplication::activeWindow();
}
