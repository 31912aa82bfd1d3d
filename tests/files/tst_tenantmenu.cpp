// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/tenanteditor.h"
#include "files/tenantlist.h"
#include "files/tenantmenu.h"
#include "form1rig.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

const QString kRecord2 = QStringLiteral("TNTDIR:12TEL:555 CODE: DOOR: NAME:A");
const QString kRecord3 = QStringLiteral("TNTDIR:123TEL:555 CODE: DOOR: NAME:B");
const QString kRecord4 = QStringLiteral("TNTDIR:1234TEL:555 CODE: DOOR: NAME:C");

// What the modal editor showed while it was open.
struct Shown {
    QString window;
    QString list;
};

struct MenuRig : Form1Rig {
    MenuRig()
    {
        menu().runModal = [this](TenantEditor& editor) {
            shown.append({editor.objectName(), editor.ui().Text1->text()});
        };
    }

    TenantMenu& menu() { return window->tenantMenu(); }

    QList<Shown> shown;
};

}   // namespace

class TstTenantMenu : public QObject {
    Q_OBJECT
private slots:
    void newDatabaseShowsEmptyEditor_data();
    void newDatabaseShowsEmptyEditor();
    void openDialogAsked();
    void openChoosesEditorFromLayout_data();
    void openChoosesEditorFromLayout();
    void pendingNamePickedUpByNewDatabase();
    void cancelLeavesNoPendingFile();
    void editorShownModally();
};

void TstTenantMenu::newDatabaseShowsEmptyEditor_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("window");
    QTest::addRow("2 digits") << "di"
                              << "tntform";
    QTest::addRow("3 digits") << "dig"
                              << "tntform1";
    QTest::addRow("4 digits") << "digi"
                              << "tntform2";
}

void TstTenantMenu::newDatabaseShowsEmptyEditor()
{
    QFETCH(QString, item);
    QFETCH(QString, window);
    MenuRig m;
    m.control<QAction>(item)->trigger();
    QCOMPARE(m.shown.size(), 1);
    QCOMPARE(m.shown[0].window, window);
    QCOMPARE(m.shown[0].list, QString());
    QVERIFY(m.fakes.prompter.dialogs.isEmpty());
}

void TstTenantMenu::openDialogAsked()
{
    MenuRig m;
    m.fakes.prompter.cancelDialog();
    m.ui().open_send->trigger();
    QCOMPARE(m.fakes.prompter.dialogs.size(), 1);
    const FileDialogRequest request = m.fakes.prompter.dialogs.first();
    QCOMPARE(request.mode, FileDialogRequest::Mode::Open);
    QCOMPARE(request.filter, QStringLiteral("All Files (*.*)|*.*|TNT Files(*.TNT)|*.TNT"));
    QCOMPARE(request.filterIndex, 2);
    QCOMPARE(request.fileName, QString());
    QVERIFY(m.shown.isEmpty());
}

void TstTenantMenu::openChoosesEditorFromLayout_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("window");   // empty: none shown
    QTest::addRow("first line, 2 digits") << (kRecord2 + "\r\n").toLatin1() << "tntform";
    QTest::addRow("first line, 3 digits") << (kRecord3 + "\r\n" + kRecord2 + "\r\n").toLatin1() << "tntform1";
    QTest::addRow("first line, 4 digits") << (kRecord4 + "\r\n").toLatin1() << "tntform2";
    QTest::addRow("later line, column 12")
        << ("Tenants\r\n\r\n  " + kRecord2 + "\r\n").toLatin1() << "tntform";
    QTest::addRow("later line, column 13") << ("x\r\n  " + kRecord3 + "\r\n").toLatin1() << "tntform1";
    QTest::addRow("later line, column 14") << ("x\r\n  " + kRecord4 + "\r\n").toLatin1() << "tntform2";
    QTest::addRow("column 9") << QByteArray("TNTDIR:1TEL:5 CODE: DOOR: NAME:\r\n") << "";
    QTest::addRow("later line, column 10") << ("x\r\n" + kRecord2).toLatin1() << "";
    QTest::addRow("empty file") << QByteArray() << "";
    QTest::addRow("no TEL: at all") << QByteArray("TNTDIR:12\r\nNAME:A\r\n") << "";
}

void TstTenantMenu::openChoosesEditorFromLayout()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, window);
    MenuRig m;
    const QString path = writeFile(m.dir, QStringLiteral("open.TNT"), bytes);
    m.fakes.prompter.choose(path);
    m.menu().open_send_Click();

    QVERIFY(m.fakes.prompter.boxes.isEmpty());
    if (window.isEmpty()) {
        QVERIFY(m.shown.isEmpty());
        QCOMPARE(m.menu().pending().name(), path);
        return;
    }
    QCOMPARE(m.shown.size(), 1);
    QCOMPARE(m.shown[0].window, window);
    QCOMPARE(m.shown[0].list,
             QString::fromLatin1(bytes).replace(QStringLiteral("\r\n  "), QStringLiteral("\r\n")));
    QCOMPARE(m.menu().pending().name(), QString());   // the editor took it
}

void TstTenantMenu::pendingNamePickedUpByNewDatabase()
{
    MenuRig m;
    const QString path = writeFile(m.dir, QStringLiteral("col9.TNT"), "TNTDIR:1TEL:5 CODE: DOOR: NAME:\r\n");
    m.fakes.prompter.choose(path);
    m.menu().open_send_Click();
    QVERIFY(m.shown.isEmpty());

    m.menu().di_Click();
    QCOMPARE(m.shown.size(), 1);
    QCOMPARE(m.shown[0].window, QStringLiteral("tntform"));
    QCOMPARE(m.shown[0].list, QStringLiteral("TNTDIR:1TEL:5 CODE: DOOR: NAME:\r\n"));

    m.menu().dig_Click();   // loaded once only
    QCOMPARE(m.shown[1].list, QString());
}

void TstTenantMenu::cancelLeavesNoPendingFile()
{
    MenuRig m;
    const QString path = writeFile(m.dir, QStringLiteral("none.TNT"), "no tenants\r\n");
    m.fakes.prompter.choose(path);
    m.menu().open_send_Click();
    QCOMPARE(m.menu().pending().name(), path);

    m.fakes.prompter.cancelDialog();
    m.menu().open_send_Click();
    QCOMPARE(m.menu().pending().name(), QString());
    m.menu().digi_Click();
    QCOMPARE(m.shown.size(), 1);
    QCOMPARE(m.shown[0].list, QString());
}

void TstTenantMenu::editorShownModally()
{
    Form1Rig rig;
    QString shownWindow;
    bool modal = false;
    QTimer::singleShot(0, [&] {
        auto* editor = qobject_cast<TenantEditor*>(QApplication::activeModalWidget());
        if (!editor)
            return;
        shownWindow = editor->objectName();
        modal = editor->isModal();
        editor->ui().qui->click();
    });
    rig.window->tenantMenu().digi_Click();
    QCOMPARE(shownWindow, QStringLiteral("tntform2"));
    QVERIFY(modal);
}

QTEST_MAIN(TstTenantMenu)
#include "tst_tenantmenu.moc"
