// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/mainwindow.h"
#include "app/programarguments.h"
#include "app/splash.h"
#include "app/startup.h"
#include "desktop/realplatform.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

class TstStartup : public QObject {
    Q_OBJECT
private slots:
    void splashHasPictureAndFourBars();
    void splashLoopMakesExactly20001Passes();
    void commandLine_data();
    void commandLine();
    void programWindowOwnsTheBoxes();
};

void TstStartup::splashHasPictureAndFourBars()
{
    Splash splash;
    QCOMPARE(splash.objectName(), QStringLiteral("Form2"));
    QVERIFY(splash.windowFlags() & Qt::FramelessWindowHint);
    QCOMPARE(splash.size(), QSize(400, 316));   // 6012 x 4740 twips
    const QImage picture = Splash::picture();
    QCOMPARE(picture.size(), QSize(168, 136));
    QCOMPARE(picture.format(), QImage::Format_Indexed8);
    QVERIFY(picture.colorCount() <= 256);
    QVERIFY(picture.colorCount() > 8);   // a picture, not a blank
    for (int i = 1; i <= 4; ++i)
        QVERIFY(splash.findChild<QProgressBar*>(QStringLiteral("ProgressBar%1").arg(i)));
}

void TstStartup::splashLoopMakesExactly20001Passes()
{
    // A counted loop from 0 to 20000 inclusive, not a time: the same on any machine.
    bool ranDuring = false;
    QTimer::singleShot(0, [&] { ranDuring = true; });
    QCOMPARE(yieldToEventLoop(), 20001);
    QVERIFY(ranDuring);   // pending events are processed while it runs
}

void TstStartup::commandLine_data()
{
    using Action = ProgramArguments::Action;
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<Action>("action");
    QTest::addColumn<QString>("error");
    QTest::addRow("none") << QStringList() << Action::Run << QString();
    QTest::addRow("help") << QStringList{"--help"} << Action::ShowHelp << QString();
    QTest::addRow("-h after -v") << QStringList{"-v", "-h"} << Action::ShowHelp << QString();
    QTest::addRow("version") << QStringList{"--version"} << Action::ShowVersion << QString();
    QTest::addRow("Qt's options taken by QApplication")
        << QStringList{"-platform", "xcb", "--display", ":1", "-style=fusion", "-reverse", "-session", "s1"}
        << Action::Run << QString();
    QTest::addRow("-v among Qt's options")
        << QStringList{"-qwindowtitle", "-v", "-v"} << Action::ShowVersion << QString();
    QTest::addRow("unknown option") << QStringList{"--port", "2"} << Action::Refuse
                                    << QStringLiteral("Unknown option '--port'.");
    QTest::addRow("-help is not --help")
        << QStringList{"-help"} << Action::Refuse << QStringLiteral("Unknown option '-help'.");
    QTest::addRow("flag with a value")
        << QStringList{"-reverse=1"} << Action::Refuse << QStringLiteral("Unknown option '-reverse=1'.");
    QTest::addRow("value missing") << QStringList{"-style"} << Action::Refuse
                                   << QStringLiteral("Missing value after '-style'.");
    QTest::addRow("file argument") << QStringList{"tenants.TNT"} << Action::Refuse
                                   << QStringLiteral("unexpected argument tenants.TNT");
    QTest::addRow("lone dash") << QStringList{"-"} << Action::Refuse
                               << QStringLiteral("unexpected argument -");
    QTest::addRow("team set-up") << QStringList{"--team-setup", "postgresql://owner@db/velno"}
                                 << Action::SetUpTeam << QString();
    QTest::addRow("team set-up with =")
        << QStringList{"--team-setup=postgresql://owner@db/velno"} << Action::SetUpTeam << QString();
    QTest::addRow("team set-up after Qt's options")
        << QStringList{"-platform", "offscreen", "--team-setup", "postgresql:///velno"} << Action::SetUpTeam
        << QString();
    QTest::addRow("--help before team set-up")
        << QStringList{"--team-setup", "postgresql:///velno", "-h"} << Action::ShowHelp << QString();
    QTest::addRow("team set-up without URI") << QStringList{"--team-setup"} << Action::Refuse
                                             << QStringLiteral("Missing value after '--team-setup'.");
    QTest::addRow("team set-up with the journal")
        << QStringList{"--journal", "--team-setup", "postgresql:///velno"} << Action::Refuse
        << QStringLiteral("--journal and --team-setup go one at a time.");
    QTest::addRow("journal's option with team set-up")
        << QStringList{"--team-setup", "postgresql:///velno", "--csv"} << Action::Refuse
        << QStringLiteral("--site, --operator, --since, --until, --csv and --local go with --journal.");
    QTest::addRow("team's journal") << QStringList{"--journal", "--operator", "anna"} << Action::ExportJournal
                                    << QString();
    QTest::addRow("this computer's journal, in a team")
        << QStringList{"--local", "--journal", "--csv"} << Action::ExportJournal << QString();
    QTest::addRow("--local without --journal")
        << QStringList{"--local"} << Action::Refuse
        << QStringLiteral("--site, --operator, --since, --until, --csv and --local go with --journal.");
    QTest::addRow("team set-up with one dash")
        << QStringList{"-team-setup", "postgresql:///velno"} << Action::Refuse
        << QStringLiteral("Unknown option '-team-setup'.");
}

void TstStartup::commandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(ProgramArguments::Action, action);
    QFETCH(QString, error);
    std::vector<QByteArray> storage{QByteArrayLiteral("velno")};
    for (const QString& argument : arguments)
        storage.push_back(argument.toUtf8());
    std::vector<const char*> argv;
    for (const QByteArray& argument : storage)
        argv.push_back(argument.constData());
    const ProgramArguments result = readProgramArguments(int(argv.size()), argv.data());
    QCOMPARE(result.action, action);
    QCOMPARE(QString::fromStdString(result.error), error);
    if (action == ProgramArguments::Action::ExportJournal)
        QCOMPARE(result.journal.local, arguments.contains(QStringLiteral("--local")));
    if (action == ProgramArguments::Action::SetUpTeam)
        QVERIFY(result.teamUri
                && QString::fromStdString(*result.teamUri).startsWith(QStringLiteral("postgresql://")));
}

// The real program's boxes and dialogs open over its main window.
void TstStartup::programWindowOwnsTheBoxes()
{
    QTemporaryDir settings;
    QTemporaryDir data;
    RealPlatform real(settings.path());
    real.platform().dataFolder = data.path();   // not the user's journal
    QWidget* shown = nullptr;
    QWidget* owner = nullptr;
    QTimer timer;
    timer.setInterval(10);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (qobject_cast<MainWindow*>(window) && window->isVisible()) {
                timer.stop();
                shown = window;
                owner = dynamic_cast<WidgetPrompter&>(real.platform().prompter).dialogParent();
                window->close();
            }
        }
    });
    timer.start();
    QCOMPARE(runProgram(*qApp, real), 0);
    QVERIFY(shown);
    QCOMPARE(owner, shown);
}

QTEST_MAIN(TstStartup)
#include "tst_startup.moc"
