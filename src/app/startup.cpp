// SPDX-License-Identifier: GPL-3.0-or-later
#include "startup.h"

#include "app/mainwindow.h"
#include "app/splash.h"
#include "desktop/realplatform.h"

#include <QApplication>
#include <cstdint>

int yieldToEventLoop()
{
    int passes = 0;
    for (std::uint16_t i = 0; i <= 20000; ++i) {
        QCoreApplication::processEvents();
        ++passes;
    }
    return passes;
}

int runProgram(QApplication& app, RealPlatform& real)
{
    {
        Splash splash;
        splash.setCursor(Qt::WaitCursor);
        splash.show();
        splash.lower();
        yieldToEventLoop();
        splash.unsetCursor();
    }

    MainWindow window(real.platform());
    real.setDialogParent(&window);
    QObject::connect(&window, &MainWindow::ended, &app, [] { QCoreApplication::exit(0); });
    window.Form_Load();
    window.show();
    window.raise();
    window.activateWindow();
    return app.exec();
}
