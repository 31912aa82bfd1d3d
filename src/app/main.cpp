// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/programarguments.h"
#include "app/startup.h"
#include "platform/realplatform.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    // --help and --version answer before QApplication needs a display.
    const ProgramArguments arguments = readProgramArguments(argc, argv);
    if (arguments.action != ProgramArguments::Action::Run)
        return answerProgramArguments(arguments);

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velno 6100 Management System"));
    QApplication::setOrganizationName(QStringLiteral("Velno"));
    QApplication::setApplicationVersion(QStringLiteral(VELNO_VERSION));
    // Ties the windows to the desktop's menu entry (org.velno.Velno.desktop) and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.velno.Velno"));

    RealPlatform real;
    return runProgram(app, real);
}
