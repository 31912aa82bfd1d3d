// SPDX-License-Identifier: GPL-3.0-or-later
// The windows at 100% and 200% scaling: sizes are in device-independent
// pixels, so a window fits a Full HD screen at 200% when its least size fits
// 960 x 540 less a desktop panel and a title bar, and scaling never cuts a
// caption when the layout, not a fixed size, sets the least size. A window
// that grows gives every pixel to its pane. The run on a 1024 x 768 screen at
// 200% (512 x 384 to lay out in) checks that every control can be reached.
#include "app/mainwindow.h"
#include "app/setform.h"
#include "core/appsettings.h"
#include "files/journalview.h"
#include "files/pendingtenantfile.h"
#include "files/tenanteditor.h"
#include "files/tenantlist.h"
#include "form/statuspanels.h"
#include "form1rig.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScreen>
#include <QScrollArea>
#include <QStatusBar>
#include <QTest>

namespace {

// A Full HD screen at 200% less a desktop panel and a title bar of 40 each.
constexpr QSize kRoomAt200Percent(960, 540 - 2 * 40);

enum class Window { Main, Setting, Editor2, Editor3, Editor4, Journal };

// One window of the program, built on fakes and laid out.
struct WindowRig {
    explicit WindowRig(Window which) : settings(rig.fakes.store)
    {
        switch (which) {
        case Window::Main: window = rig.window.get(); break;
        case Window::Setting: window = &rig.window->setform().ensureLoaded(); break;
        case Window::Editor2: editor = makeEditor(2); break;
        case Window::Editor3: editor = makeEditor(3); break;
        case Window::Editor4: editor = makeEditor(4); break;
        case Window::Journal:
            rig.ui().journal->trigger();
            window = rig.window->journalView();
            break;
        }
        if (editor)
            window = editor.get();
        window->show();
        window->layout()->activate();
        QApplication::setActiveWindow(window);
        if (!QTest::qWaitForWindowActive(window))
            qWarning("window did not become active");
    }

    // The least size at which the window shows every control whole.
    QSize leastSize() const
    {
        if (window == rig.window.get()) {
            const Form1Ui& ui = rig.window->ui();
            return ui.client->minimumSizeHint()
                + QSize(0, rig.window->menuBar()->height() + ui.bar->height());
        }
        return window->minimumSize().expandedTo(window->minimumSizeHint());
    }

    // The control that takes the room the window gains, if the window has one.
    QWidget* pane()
    {
        if (editor)
            return editor->ui().Text1;
        return window == rig.window.get() ? rig.ui().Text1 : nullptr;
    }

    std::unique_ptr<TenantEditor> makeEditor(int digits)
    {
        auto e = std::make_unique<TenantEditor>(digits, rig.fakes.platform, settings, pending);
        e->Form_Load();
        return e;
    }

    Form1Rig rig;
    AppSettings settings;
    PendingTenantFile pending;
    std::unique_ptr<TenantEditor> editor;
    QWidget* window = nullptr;
};

// The text a control shows as its caption, empty for one without.
QString captionOf(const QWidget* w)
{
    if (auto* b = qobject_cast<const QAbstractButton*>(w))
        return b->text();
    if (auto* l = qobject_cast<const QLabel*>(w))
        return l->text();
    return QString();
}

// The controls the operator sees on the window, its frames and in them, but
// the pane, the menu and status bars that span the window's edges, and the
// main window's scrolled client area.
QList<QWidget*> controlsOf(QWidget* window, QWidget* pane)
{
    const auto isForm = [](QObject* o) { return o->objectName() == QLatin1String("form1_client"); };
    QList<QWidget*> controls;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        QWidget* on = w->parentWidget();
        const bool placed = on == window || isForm(on) || qobject_cast<QGroupBox*>(on);
        if (placed && w != pane && !qobject_cast<QScrollArea*>(w) && !qobject_cast<QStatusBar*>(w)
            && !qobject_cast<QMenuBar*>(w) && w->isVisibleTo(window))
            controls << w;
    }
    return controls;
}

QRect rectIn(QWidget* window, QWidget* w)
{
    return QRect(w->mapTo(window, QPoint(0, 0)), w->size());
}

// What of the screen shows the control, in global coordinates: its window,
// within that the scrolled area it lies in, within the screen's free area.
QRect shownArea(QWidget* control)
{
    QWidget* window = control->window();
    QRect area = window->geometry() & window->screen()->availableGeometry();
    for (QWidget* up = control->parentWidget(); up; up = up->parentWidget()) {
        if (auto* scroller = qobject_cast<QScrollArea*>(up))
            area &= QRect(scroller->viewport()->mapToGlobal(QPoint(0, 0)), scroller->viewport()->size());
    }
    return area;
}

void addWindows()
{
    QTest::addColumn<Window>("which");
    QTest::addRow("main window") << Window::Main;
    QTest::addRow("Setting dialog") << Window::Setting;
    QTest::addRow("2-digit tenant editor") << Window::Editor2;
    QTest::addRow("3-digit tenant editor") << Window::Editor3;
    QTest::addRow("4-digit tenant editor") << Window::Editor4;
    QTest::addRow("journal") << Window::Journal;
}

}   // namespace

class TstScaling : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void paneTakesEveryPixelGained_data();
    void paneTakesEveryPixelGained();
    void everyControlReachable_data();
    void everyControlReachable();
    void leastSizeFitsFullHdAt200Percent_data();
    void leastSizeFitsFullHdAt200Percent();
    void captionsWholeAtLeastSize_data();
    void captionsWholeAtLeastSize();
};

void TstScaling::leastSizeFitsFullHdAt200Percent_data()
{
    addWindows();
}

void TstScaling::leastSizeFitsFullHdAt200Percent()
{
    QFETCH(Window, which);
    WindowRig r(which);
    const QSize least = r.leastSize();
    QVERIFY2(least.width() <= kRoomAt200Percent.width() && least.height() <= kRoomAt200Percent.height(),
             qPrintable(QStringLiteral("%1 x %2").arg(least.width()).arg(least.height())));
}

void TstScaling::captionsWholeAtLeastSize_data()
{
    addWindows();
}

// At its least size every button and label is as wide as its caption needs.
void TstScaling::captionsWholeAtLeastSize()
{
    QFETCH(Window, which);
    WindowRig r(which);
    r.window->resize(0, 0);   // clamped to the least size
    r.window->layout()->activate();
    for (QWidget* w : r.window->findChildren<QWidget*>()) {
        if (captionOf(w).isEmpty() || !w->isVisibleTo(r.window))
            continue;
        QVERIFY2(
            w->width() >= w->sizeHint().width(),
            qPrintable(
                QStringLiteral("%1: %2 < %3").arg(captionOf(w)).arg(w->width()).arg(w->sizeHint().width())));
    }
}

// The screen this run was given (see the tests' CMakeLists.txt), if it names one.
void TstScaling::initTestCase()
{
    const QByteArray expected = qgetenv("VELNO_TEST_SCREEN");
    if (expected.isEmpty())
        return;
    const QSize size = QGuiApplication::primaryScreen()->availableGeometry().size();
    QCOMPARE(QStringLiteral("%1x%2").arg(size.width()).arg(size.height()), QString::fromLatin1(expected));
}

void TstScaling::paneTakesEveryPixelGained_data()
{
    QTest::addColumn<Window>("which");
    QTest::addColumn<QSize>("gain");   // invalid: maximised
    QTest::addRow("main window, wider") << Window::Main << QSize(120, 0);
    QTest::addRow("main window, taller") << Window::Main << QSize(0, 90);
    QTest::addRow("main window, both") << Window::Main << QSize(7, 13);
    QTest::addRow("main window, maximised") << Window::Main << QSize();
    QTest::addRow("2-digit tenant editor, both") << Window::Editor2 << QSize(150, 100);
    QTest::addRow("3-digit tenant editor, wider") << Window::Editor3 << QSize(31, 0);
    QTest::addRow("4-digit tenant editor, maximised") << Window::Editor4 << QSize();
}

// The pane grows by exactly the size gained; every other control keeps its
// size and its distance to the window's left or right edge and to its top or
// bottom edge, clear of the pane.
void TstScaling::paneTakesEveryPixelGained()
{
    QFETCH(Window, which);
    QFETCH(QSize, gain);
    WindowRig r(which);
    QWidget* pane = r.pane();
    const QList<QWidget*> controls = controlsOf(r.window, pane);
    QVERIFY(controls.size() > 10);
    QHash<QWidget*, QRect> before;
    for (QWidget* w : controls)
        before.insert(w, rectIn(r.window, w));
    const QRect paneBefore = rectIn(r.window, pane);
    const QSize sizeBefore = r.window->size();
    QCOMPARE(sizeBefore, r.window->minimumSize());   // the first size is the least

    if (!gain.isValid())
        r.window->showMaximized();
    else
        r.window->resize(sizeBefore + gain);
    QTRY_VERIFY(r.window->size() != sizeBefore);
    const QSize gained = r.window->size() - sizeBefore;
    QVERIFY(gained.width() >= 0 && gained.height() >= 0);
    QTRY_COMPARE(rectIn(r.window, pane), QRect(paneBefore.topLeft(), paneBefore.size() + gained));
    for (QWidget* w : controls) {
        const QRect now = rectIn(r.window, w);
        const QPoint moved = now.topLeft() - before.value(w).topLeft();
        const QString name = w->objectName();
        QVERIFY2(now.size() == before.value(w).size(), qPrintable(name));
        QVERIFY2(moved.x() == 0 || moved.x() == gained.width(), qPrintable(name));
        QVERIFY2(moved.y() == 0 || moved.y() == gained.height(), qPrintable(name));
        QVERIFY2(!now.intersects(rectIn(r.window, pane)), qPrintable(name));
    }
}

void TstScaling::everyControlReachable_data()
{
    addWindows();
}

// The window lies inside the screen's free area, and every control, once
// focused or scrolled to, is shown whole, or as much of it as the window can.
void TstScaling::everyControlReachable()
{
    QFETCH(Window, which);
    WindowRig r(which);
    const QRect room = r.window->screen()->availableGeometry();
    QVERIFY2(room.contains(r.window->frameGeometry()),
             qPrintable(QStringLiteral("%1 x %2")
                            .arg(r.window->frameGeometry().width())
                            .arg(r.window->frameGeometry().height())));
    QList<QWidget*> controls = controlsOf(r.window, r.pane());
    if (r.pane())
        controls << r.pane();
    for (QWidget* w : controls) {
        if (w->focusPolicy() & Qt::TabFocus) {
            w->setEnabled(true);
            w->setFocus(Qt::TabFocusReason);
        } else if (auto* scroller = r.window->findChild<QScrollArea*>()) {
            scroller->ensureWidgetVisible(w, 0, 0);
        }
        const QRect control(w->mapToGlobal(QPoint(0, 0)), w->size());
        const QRect area = shownArea(w);
        QVERIFY2((control & area).size() == control.size().boundedTo(area.size()),
                 qPrintable(w->objectName()));
    }
}

QTEST_MAIN(TstScaling)
#include "tst_scaling.moc"
