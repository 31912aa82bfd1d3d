// SPDX-License-Identifier: GPL-3.0-or-later
// The windows at 100% and 200% scaling: sizes are in device-independent
// pixels, so a window fits a Full HD screen at 200% when its least size fits
// 960 x 540 less a desktop panel and a title bar, and scaling never cuts a
// caption when the layout, not a fixed size, sets the least size.
#include "app/setform.h"
#include "files/pendingtenantfile.h"
#include "files/tenanteditor.h"
#include "form/appsettings.h"
#include "form1rig.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QTest>

namespace {

// A Full HD screen at 200% less a desktop panel and a title bar of 40 each.
constexpr QSize kRoomAt200Percent(960, 540 - 2 * 40);

enum class Window { Main, Setting, Editor2, Editor3, Editor4 };

// One window of the program, built on fakes and laid out.
struct WindowRig {
    explicit WindowRig(Window which)
        : settings(rig.fakes.store)
    {
        switch (which) {
        case Window::Main: window = rig.window.get(); break;
        case Window::Setting: window = &rig.window->setform().ensureLoaded(); break;
        case Window::Editor2: editor = makeEditor(2); break;
        case Window::Editor3: editor = makeEditor(3); break;
        case Window::Editor4: editor = makeEditor(4); break;
        }
        if (editor)
            window = editor.get();
        window->show();
        window->layout()->activate();
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

void addWindows()
{
    QTest::addColumn<Window>("which");
    QTest::addRow("main window") << Window::Main;
    QTest::addRow("Setting dialog") << Window::Setting;
    QTest::addRow("2-digit tenant editor") << Window::Editor2;
    QTest::addRow("3-digit tenant editor") << Window::Editor3;
    QTest::addRow("4-digit tenant editor") << Window::Editor4;
}

} // namespace

class TstScaling : public QObject {
    Q_OBJECT
private slots:
    void leastSizeFitsFullHdAt200Percent_data();
    void leastSizeFitsFullHdAt200Percent();
    void captionsWholeAtLeastSize_data();
    void captionsWholeAtLeastSize();
};

void TstScaling::leastSizeFitsFullHdAt200Percent_data() { addWindows(); }

void TstScaling::leastSizeFitsFullHdAt200Percent()
{
    QFETCH(Window, which);
    WindowRig r(which);
    const QSize least = r.window->minimumSize().expandedTo(r.window->minimumSizeHint());
    QVERIFY2(least.width() <= kRoomAt200Percent.width() && least.height() <= kRoomAt200Percent.height(),
             qPrintable(QStringLiteral("%1 x %2").arg(least.width()).arg(least.height())));
}

void TstScaling::captionsWholeAtLeastSize_data() { addWindows(); }

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
        QVERIFY2(w->width() >= w->sizeHint().width(),
                 qPrintable(QStringLiteral("%1: %2 < %3").arg(captionOf(w)).arg(w->width()).arg(
                     w->sizeHint().width())));
    }
}

QTEST_MAIN(TstScaling)
#include "tst_scaling.moc"
