// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/journalcommand.h"
#include "app/programarguments.h"
#include "app/startup.h"
#include "app/teamsetupcommand.h"
#include "core/appsettings.h"
#include "desktop/realplatform.h"
#include "platform/inisettingsstore.h"

#include <QApplication>
#include <QFile>

namespace {

const char kNoSharedImages[] = "QT_XCB_NO_MITSHM";

// On an X display Qt hands window images over in shared memory, and waits
// for the server (a round trip) before it paints again over what it showed
// last: that is every update of a line of text growing at 120 bytes a
// second. Through the connection itself such small updates cost less, and
// a whole window is still quick on a local display. A choice already in the
// environment stands. Returns whether this one was made here.
bool sendImagesThroughTheConnection()
{
    if (qEnvironmentVariableIsSet(kNoSharedImages))
        return false;
    qputenv(kNoSharedImages, "1");
    return true;
}

}   // namespace

int main(int argc, char* argv[])
{
    // --help, --version, --journal and --team-setup answer before QApplication needs a display.
    const ProgramArguments arguments = readProgramArguments(argc, argv);
    if (arguments.action == ProgramArguments::Action::ExportJournal) {
        QCoreApplication app(argc, argv);
        QFile out;
        if (!out.open(stdout, QIODevice::WriteOnly))
            return 1;
        IniSettingsStore settings;
        return printJournal(arguments.journal, QString(), AppSettings(settings).teamDatabase(), out);
    }
    if (arguments.action == ProgramArguments::Action::SetUpTeam) {
        QCoreApplication app(argc, argv);
        return setUpTeamDatabase(*arguments.teamUri);
    }
    if (arguments.action != ProgramArguments::Action::Run)
        return answerProgramArguments(arguments);

    const bool imagesChoiceMadeHere = sendImagesThroughTheConnection();
    QApplication app(argc, argv);
    if (imagesChoiceMadeHere)
        qunsetenv(kNoSharedImages);   // not for the programs started from here
    QApplication::setApplicationName(QStringLiteral("Velno 6100 Management System"));
    QApplication::setOrganizationName(QStringLiteral("Velno"));
    QApplication::setApplicationVersion(QStringLiteral(VELNO_VERSION));
    // Ties the windows to the desktop's menu entry (org.velno.Velno.desktop) and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.velno.Velno"));

    RealPlatform real;
    return runProgram(app, real);
}
