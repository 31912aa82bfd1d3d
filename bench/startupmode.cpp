// SPDX-License-Identifier: GPL-3.0-or-later
#include "programmodes.h"

#include "monotonic.h"
#include "usagesnapshot.h"

#include "app/mainwindow.h"
#include "app/startup.h"
#include "desktop/realplatform.h"

#include <QApplication>
#include <QTimer>

namespace {

// Watches the program's start-up from outside: once the main window has
// painted itself and the event loop has come round again, the window is
// usable; then it closes the window as the operator would.
class UsableWatch : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (m_seen || event->type() != QEvent::Paint || !watched->isWidgetType())
            return false;
        auto* window = qobject_cast<MainWindow*>(static_cast<QWidget*>(watched)->window());
        if (!window)
            return false;
        m_seen = true;
        QTimer::singleShot(0, window, [window] {
            report("usable_ns", double(monotonicNs()));
            report("close_ns", double(monotonicNs()));
            window->close();
        });
        return false;
    }

private:
    bool m_seen = false;
};

}   // namespace

// As the program's main() does, with the settings in a folder of their own.
int runStartup(QApplication& app, const QString& settingsRoot)
{
    QApplication::setApplicationName(QStringLiteral("Velno 6100 Management System"));
    QApplication::setOrganizationName(QStringLiteral("Velno"));
    QApplication::setApplicationVersion(QStringLiteral(VELNO_VERSION));
    RealPlatform real(settingsRoot);
    UsableWatch watch;
    app.installEventFilter(&watch);
    return runProgram(app, real);
}
