// SPDX-License-Identifier: GPL-3.0-or-later
#include "form1rig.h"

#include "form/receivepane.h"
#include "form/statuspanels.h"
#include "link/capturelog.h"
#include "link/connection.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>

namespace {

TestPlatform::Options platformFor(const RigOptions& options)
{
    return TestPlatform::Options{options.tickMs, options.line != RigOptions::Line::Fake,
                                 options.settingsFolder, options.dataFolder};
}

}   // namespace

Form1Rig::Form1Rig(const RigOptions& options)
    : pty(options.line == RigOptions::Line::Pty ? std::make_unique<PtyPair>() : nullptr),
      fakes(platformFor(options)),
      m_realPort(options.line != RigOptions::Line::Fake)
{
    if (pty)
        fakes.mapPort(1, pty->slavePath());
    window = std::make_unique<MainWindow>(fakes.platform);
    if (options.load)
        load(options.show);
}

void Form1Rig::load(bool show)
{
    window->Form_Load();
    if (m_realPort)
        window->connection().Option_Click(1);
    if (!show)
        return;
    window->show();
    window->activateWindow();
    QApplication::setActiveWindow(window.get());
    active = QTest::qWaitForWindowActive(window.get());
    if (!active)
        qWarning("main window did not become active");
}

QStringList Form1Rig::connectDirect()
{
    ui().Text2->clear();
    window->connection().connect_Click();
    const QStringList prompts = fakes.prompter.prompts();   // "Please input the phone number"
    fakes.prompter.boxes.clear();
    return prompts;
}

void Form1Rig::makeCommandsUsable()
{
    for (QWidget* usable : ui().commandControls())
        usable->setEnabled(true);
}

void Form1Rig::openCapture(const QString& path)
{
    fakes.prompter.choose(path);
    window->captureLog().mnuOpenLog_Click();
}

QString Form1Rig::paneText() const
{
    return window->ui().Text1->text();
}

QString Form1Rig::statusText() const
{
    return window->ui().bar->panel(1);
}
