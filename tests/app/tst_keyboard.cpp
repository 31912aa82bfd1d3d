// SPDX-License-Identifier: GPL-3.0-or-later
// The program without a mouse: the Tab key's path through each window, the
// menus' access keys reaching the commands, and a spoken name on every control.
#include "app/setform.h"
#include "core/appsettings.h"
#include "desktop/maskedfield.h"
#include "files/pendingtenantfile.h"
#include "files/tenanteditor.h"
#include "files/tenantmenu.h"
#include "form/statuspanels.h"
#include "form1rig.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSet>
#include <QTest>
#include <QTimer>

namespace {

// Presses Tab from the start control until the focus comes back to it and
// returns the names of the controls it went through, the start first.
QStringList tabWalk(QWidget* start)
{
    start->setFocus();
    QStringList names{start->objectName()};
    for (int presses = 0; presses < 100; ++presses) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget* now = QApplication::focusWidget();
        if (!now || now == start)
            break;
        names << now->objectName();
    }
    return names;
}

// The main window with every command control usable and every button shown.
void enableEverything(Form1Rig& rig)
{
    for (QWidget* control : rig.ui().commandControls())
        control->setEnabled(true);
    rig.ui().Command1->show();
    rig.ui().Command3->show();
}

bool showActive(QWidget* window)
{
    window->show();
    QApplication::setActiveWindow(window);
    return QTest::qWaitForWindowActive(window);
}

bool takesTabFocus(const QWidget* w)
{
    return w->focusPolicy() & Qt::TabFocus;
}

// The controls an operator works with: every shown widget that takes the
// focus from the keyboard or is a button, but not the parts of such a
// control (a combo box's text field), which speak through it.
QList<QWidget*> operableControls(QWidget* window)
{
    QList<QWidget*> controls;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        const bool operable = takesTabFocus(w) || qobject_cast<QAbstractButton*>(w);
        if (operable && w->isVisibleTo(window) && !takesTabFocus(w->parentWidget()))
            controls << w;
    }
    return controls;
}

QString spokenName(QWidget* w)
{
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(w);
    return face ? face->text(QAccessible::Name) : QString();
}

// Every operable control has a spoken name; a push button's is its caption.
void checkSpokenNames(QWidget* window)
{
    for (QWidget* w : operableControls(window)) {
        const QString name = spokenName(w);
        QVERIFY2(!name.trimmed().isEmpty(), qPrintable(w->objectName()));
        if (auto* b = qobject_cast<QPushButton*>(w))
            QCOMPARE(name, QString(b->text()).remove(QLatin1Char('&')));
    }
}

// Every label reads as the text it shows (a name set on a label would hide it).
void checkLabelsReadTheirText(QWidget* window)
{
    for (QLabel* label : window->findChildren<QLabel*>())
        QCOMPARE(spokenName(label), label->text());
}

// Presses the keys one after the other: Alt with the first, then each to the
// open menu, or to the focus when no menu is open.
void pressAccessKeys(const QStringList& keys)
{
    Qt::KeyboardModifiers modifiers = Qt::AltModifier;
    for (const QString& key : keys) {
        QWidget* target = QApplication::activePopupWidget();
        if (!target)
            target = QApplication::focusWidget();
        QTest::keyClick(target, QKeySequence(key)[0].key(), modifiers);
        QCoreApplication::processEvents();   // a submenu opens on the next pass
        modifiers = Qt::NoModifier;
    }
}

// Every item of the menu and its submenus has an access key, and the shown
// items of one menu never share one: the menu opens an item on its key only
// when no other shown item has that key, greyed ones included.
void checkAccessKeys(const QList<QAction*>& actions, const QString& where)
{
    QSet<QKeySequence> keys;
    for (QAction* a : actions) {
        if (a->isSeparator() || !a->isVisible())
            continue;
        const QKeySequence key = QKeySequence::mnemonic(a->text());
        const QString item = where + QStringLiteral(": ") + a->text();
        QVERIFY2(!key.isEmpty(), qPrintable(item));
        QVERIFY2(!keys.contains(key), qPrintable(item));
        keys.insert(key);
        if (a->menu())
            checkAccessKeys(a->menu()->actions(), a->text());
    }
}

}   // namespace

class TstKeyboard : public QObject {
    Q_OBJECT
private slots:
    void mainWindowTabOrderFollowsLayout_data();
    void mainWindowTabOrderFollowsLayout();
    void portOptionsAreOneStopWithArrowKeys();
    void settingDialogTabOrder();
    void tenantEditorTabOrderLeavesTheList();
    void everyMenuItemHasAnAccessKey();
    void accessKeysReachTheCommands_data();
    void accessKeysReachTheCommands();
    void everyControlHasASpokenName();
};

void TstKeyboard::mainWindowTabOrderFollowsLayout_data()
{
    QTest::addColumn<bool>("everythingUsable");
    QTest::addColumn<QStringList>("order");
    QTest::addRow("after load") << false << QStringList{"Option1", "connect", "close1", "Text2",
                                                        "Text3",   "Text1",   "OLE2",   "MsgWel"};
    QTest::addRow("everything usable")
        << true << QStringList{"Option1",     "upload",  "download",    "connect",
                               "close1",      "Text2",   "Text3",       "Mastercode",
                               "rtrtc",       "Text1",   "Command1",    "OLE2",
                               "up_all",      "up_par",  "up_tnt",      "up_evr",
                               "uptalktime",  "medit1",  "cleartnt",    "MEDITTNT",
                               "opentime1",   "medit2",  "opendtmf",    "dtmf",
                               "opentime2",   "medit3",  "Newmastcode", "Medit_New_mastercode",
                               "manualdoor1", "medit7",  "clearevr",    "Date",
                               "manualdoor2", "medit8",  "um",          "up",
                               "MsgWel",      "message", "sendfileg",   "Command3"};
}

void TstKeyboard::mainWindowTabOrderFollowsLayout()
{
    QFETCH(bool, everythingUsable);
    QFETCH(QStringList, order);
    Form1Rig rig;
    if (everythingUsable)
        enableEverything(rig);
    QCOMPARE(tabWalk(rig.ui().Option1), order);
}

// The four port buttons are one stop of the Tab key; the arrow keys move
// between them and select the port, as a click does.
void TstKeyboard::portOptionsAreOneStopWithArrowKeys()
{
    Form1Rig rig;
    Form1Ui& ui = rig.ui();
    ui.Option1->setFocus();
    QTest::keyClick(ui.Option1, Qt::Key_Space);
    QVERIFY(ui.Option1->isChecked());
    QTest::keyClick(ui.Option1, Qt::Key_Right);
    QCOMPARE(focus(), ui.Option2);
    QVERIFY(ui.Option2->isChecked());
    QCOMPARE(ui.bar->panel(2), QStringLiteral("Comm Number:  2"));
    QTest::keyClick(ui.Option2, Qt::Key_Tab);
    QCOMPARE(focus(), ui.connectButton);
}

void TstKeyboard::settingDialogTabOrder()
{
    Form1Rig rig;
    SetForm& form = rig.window->setform().ensureLoaded();
    QVERIFY(showActive(&form));
    QCOMPARE(tabWalk(form.Text1), (QStringList{"Text1", "Combo1", "Command1", "Command2"}));
    form.Command2_Click();
}

// The tenant list takes no Tab character: Tab goes on to the first field.
void TstKeyboard::tenantEditorTabOrderLeavesTheList()
{
    TestPlatform fakes;
    AppSettings settings(fakes.store);
    PendingTenantFile pending;
    TenantEditor editor(2, fakes.platform, settings, pending);
    editor.Form_Load();
    QVERIFY(showActive(&editor));
    QCOMPARE(tabWalk(editor.ui().dirtenant),
             (QStringList{"dirtenant", "teltenant", "adtenant", "doortnt", "Text2", "ent", "tntsave",
                          "tntsaveas", "Command1", "qui", "Text1"}));
}

void TstKeyboard::everyMenuItemHasAnAccessKey()
{
    Form1Rig rig;
    checkAccessKeys(rig.window->menuBar()->actions(), QStringLiteral("menu bar"));
}

void TstKeyboard::accessKeysReachTheCommands_data()
{
    QTest::addColumn<QStringList>("keys");
    QTest::addColumn<QString>("outcome");
    QTest::addRow("Setting") << QStringList{"S"} << "dialog setform";
    QTest::addRow("2-digit editor") << QStringList{"F", "N", "D"} << "editor tntform";
    QTest::addRow("3-digit editor") << QStringList{"F", "N", "I"} << "editor tntform1";
    QTest::addRow("4-digit editor") << QStringList{"F", "N", "G"} << "editor tntform2";
    QTest::addRow("help page") << QStringList{"H", "A"} << "opened velno6100.hlp.htm";
    QTest::addRow("close") << QStringList{"F", "C"} << "ended";
}

void TstKeyboard::accessKeysReachTheCommands()
{
    QFETCH(QStringList, keys);
    QFETCH(QString, outcome);
    Form1Rig rig;
    QStringList outcomes;
    rig.window->tenantMenu().runModal = [&outcomes](TenantEditor& editor) {
        outcomes << QStringLiteral("editor ") + editor.objectName();
    };
    connect(rig.window.get(), &MainWindow::ended, this, [&outcomes] { outcomes << QStringLiteral("ended"); });
    // A modal dialog runs its own event loop: note it there and close it.
    QTimer::singleShot(0, this, [&outcomes] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            outcomes << QStringLiteral("dialog ") + dialog->objectName();
            dialog->reject();
        }
    });
    rig.ui().Text2->setFocus();
    pressAccessKeys(keys);
    QTest::qWait(0);
    for (const QString& path : rig.fakes.opener.opened)
        outcomes << QStringLiteral("opened ") + QFileInfo(path).fileName();
    QCOMPARE(outcomes, QStringList{outcome});
}

void TstKeyboard::everyControlHasASpokenName()
{
    Form1Rig rig;
    enableEverything(rig);
    checkSpokenNames(rig.window.get());
    checkSpokenNames(&rig.window->setform().ensureLoaded());
    TenantEditor editor(3, rig.fakes.platform, rig.window->settings(), rig.window->tenantMenu().pending());
    editor.Form_Load();
    checkSpokenNames(&editor);

    // The status panels read their current text; their role is the description.
    StatusPanels* bar = rig.ui().bar;
    bar->setPanel(3, QStringLiteral("Send Record:  12"));
    checkLabelsReadTheirText(rig.window.get());   // the setting dialog's labels too
    checkLabelsReadTheirText(&editor);
    QCOMPARE(spokenName(bar->panelLabel(3)), QStringLiteral("Send Record:  12"));
    QCOMPARE(spokenName(bar->panelLabel(2)), QStringLiteral("Comm Number:  0"));
    for (int n = 1; n <= StatusPanels::kCount; ++n) {
        QAccessibleInterface* panel = QAccessible::queryAccessibleInterface(bar->panelLabel(n));
        QCOMPARE(panel->text(QAccessible::Description), QStringLiteral("Status panel %1").arg(n));
    }
}

QTEST_MAIN(TstKeyboard)
#include "tst_keyboard.moc"
