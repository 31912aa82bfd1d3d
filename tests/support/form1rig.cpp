// SPDX-License-Identifier: GPL-3.0-or-later
#include "form1rig.h"

#include "link/connection.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>

Form1Rig::Form1Rig(bool load) : window(std::make_unique<MainWindow>(fakes.platform))
{
    if (!load)
        return;
    window->Form_Load();
    window->show();
    window->activateWindow();
    QApplication::setActiveWindow(window.get());
    if (!QTest::qWaitForWindowActive(window.get()))
        qWarning("main window did not become active");
}

QWidget* Form1Rig::focus() { return QApplication::focusWidget(); }

void Form1Rig::connectDirect()
{
    window->ui().Text2->clear();
    window->connection().connect_Click();
    fakes.prompter.boxes.clear();
}
