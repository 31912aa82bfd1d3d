// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/setform.h"
#include "form1rig.h"
#include "link/connection.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

namespace {
const QString kMain = QStringLiteral("Velno 6100 Management System");
const QString kSecond = QStringLiteral("Velno 6300 Managemant System");
const QString kProps = QStringLiteral("Properties");
}   // namespace

class TstSetForm : public QObject {
    Q_OBJECT
private slots:
    void firstRunShowsEmptyAndOkStoresOnlySetup();
    void okStoresBothUnderSecondTitle_data();
    void okStoresBothUnderSecondTitle();
    void emptiedSetupKeepsByteCycle();
    void cancelStoresNothing();
    void typingIntoByteCycleChangesNothing();
    void settingShowsDialogModally();
    void readersLoadDialogInvisibly();
    void portAfterDialogVisitSurvivesRestart();
};

void TstSetForm::firstRunShowsEmptyAndOkStoresOnlySetup()
{
    Form1Rig rig;
    SetForm& form = rig.window->setform().ensureLoaded();
    QCOMPARE(form.windowTitle(), kMain);
    QCOMPARE(form.Text1->text(), QString());
    QCOMPARE(form.Combo1->currentText(), QString());
    QCOMPARE(form.Combo1->count(), 4);
    QCOMPARE(form.Combo1->itemText(0), QStringLiteral("1"));
    QCOMPARE(form.Combo1->itemText(3), QStringLiteral("15"));
    QCOMPARE(rig.window->settings().title(), kSecond);
    form.Command1_Click();
    QVERIFY(rig.fakes.store.contains(kSecond, kProps, QStringLiteral("sett")));
    QCOMPARE(rig.fakes.store.read(kSecond, kProps, QStringLiteral("sett"), QStringLiteral("x")), QString());
    QVERIFY(!rig.fakes.store.contains(kSecond, kProps, QStringLiteral("savea")));
    QVERIFY(!rig.window->setform().loaded());
    QCOMPARE(rig.window->settings().title(), kSecond);   // never changes back
}

void TstSetForm::okStoresBothUnderSecondTitle_data()
{
    QTest::addColumn<bool>("byAssistiveTool");
    QTest::addRow("ByteCycle chosen") << false;
    // What a screen reader does: it selects the item in the list.
    QTest::addRow("ByteCycle selected by an assistive tool") << true;
}

void TstSetForm::okStoresBothUnderSecondTitle()
{
    QFETCH(bool, byAssistiveTool);
    Form1Rig rig;
    SetForm* form = &rig.window->setform().ensureLoaded();
    form->Text1->setText(QStringLiteral("AT&F E0"));
    if (byAssistiveTool) {
        QAccessibleInterface* list = QAccessible::queryAccessibleInterface(form->Combo1->view());
        QVERIFY(list && list->childCount() == 4);
        QAccessibleInterface* item = list->child(2);
        QCOMPARE(item->text(QAccessible::Name), QStringLiteral("10"));
        QVERIFY(item->actionInterface());
        item->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    } else {
        form->Combo1->setCurrentIndex(form->Combo1->findText(QStringLiteral("10")));
    }
    QCOMPARE(form->Combo1->currentText(), QStringLiteral("10"));
    QTest::mouseClick(form->Command1, Qt::LeftButton);
    QCOMPARE(rig.fakes.store.read(kSecond, kProps, QStringLiteral("sett"), QString()),
             QStringLiteral("AT&F E0"));
    QCOMPARE(rig.fakes.store.read(kSecond, kProps, QStringLiteral("savea"), QString()), QStringLiteral("10"));
    QVERIFY(!rig.fakes.store.contains(kMain, kProps, QStringLiteral("sett")));

    form = &rig.window->setform().ensureLoaded();   // opened again: the stored values
    QCOMPARE(form->Text1->text(), QStringLiteral("AT&F E0"));
    QCOMPARE(form->Combo1->currentText(), QStringLiteral("10"));
}

void TstSetForm::emptiedSetupKeepsByteCycle()
{
    Form1Rig rig;
    rig.fakes.store.store(kSecond, kProps, QStringLiteral("sett"), QStringLiteral("ATZ"));
    rig.fakes.store.store(kSecond, kProps, QStringLiteral("savea"), QStringLiteral("3"));
    SetForm& form = rig.window->setform().ensureLoaded();
    QCOMPARE(form.Combo1->currentText(), QStringLiteral("3"));
    form.Text1->clear();
    form.Combo1->setCurrentIndex(form.Combo1->findText(QStringLiteral("15")));
    form.Command1_Click();
    QCOMPARE(rig.fakes.store.read(kSecond, kProps, QStringLiteral("sett"), QStringLiteral("x")), QString());
    QCOMPARE(rig.fakes.store.read(kSecond, kProps, QStringLiteral("savea"), QString()), QStringLiteral("3"));
}

void TstSetForm::cancelStoresNothing()
{
    Form1Rig rig;
    rig.fakes.store.store(kSecond, kProps, QStringLiteral("savea"), QStringLiteral("7"));   // not a list item
    SetForm* form = &rig.window->setform().ensureLoaded();
    QCOMPARE(form->Combo1->currentText(), QStringLiteral("7"));
    const int stores = rig.fakes.store.stores;
    form->Text1->setText(QStringLiteral("changed"));
    QTest::mouseClick(form->Command2, Qt::LeftButton);
    QCOMPARE(rig.fakes.store.stores, stores);
    form = &rig.window->setform().ensureLoaded();
    QCOMPARE(form->Text1->text(), QString());
    QCOMPARE(form->Combo1->currentText(), QStringLiteral("7"));
}

void TstSetForm::typingIntoByteCycleChangesNothing()
{
    Form1Rig rig;
    SetForm& form = rig.window->setform().ensureLoaded();
    form.Combo1->setCurrentIndex(1);
    form.show();
    form.Combo1->setFocus();
    QTest::keyClicks(form.Combo1, QStringLiteral("15"));
    QCOMPARE(form.Combo1->currentText(), QStringLiteral("3"));
}

void TstSetForm::settingShowsDialogModally()
{
    Form1Rig rig;
    bool wasVisibleAndModal = false;
    QTimer::singleShot(0, [&] {
        SetForm* form = rig.window->setform().loaded();
        wasVisibleAndModal = form && form->isVisible() && form->isModal();
        if (form) {
            form->Text1->setText(QStringLiteral("ATE1"));
            form->Command1->click();
        }
    });
    rig.ui().Setting->trigger();   // returns when the dialog is closed
    QVERIFY(wasVisibleAndModal);
    QCOMPARE(rig.fakes.store.read(kSecond, kProps, QStringLiteral("sett"), QString()),
             QStringLiteral("ATE1"));
}

void TstSetForm::readersLoadDialogInvisibly()
{
    Form1Rig rig;
    rig.fakes.store.store(kSecond, kProps, QStringLiteral("sett"), QStringLiteral("ATM0"));
    rig.fakes.store.store(kSecond, kProps, QStringLiteral("savea"), QStringLiteral("15"));
    QCOMPARE(rig.window->setform().byteCycle(), QStringLiteral("15"));
    QVERIFY(rig.window->setform().loaded());
    QVERIFY(!rig.window->setform().loaded()->isVisible());
    QCOMPARE(rig.window->settings().title(), kSecond);
    // It keeps what it read until it is unloaded.
    rig.fakes.store.store(kSecond, kProps, QStringLiteral("sett"), QStringLiteral("other"));
    QCOMPARE(rig.window->setform().setupString(), QStringLiteral("ATM0"));
}

void TstSetForm::portAfterDialogVisitSurvivesRestart()
{
    TestPlatform fakes;
    {
        MainWindow first(fakes.platform);
        first.Form_Load();
        first.connection().Option_Click(1);
        first.setform().ensureLoaded().Command2_Click();   // a visit to the dialog
        first.connection().Option_Click(3);
        first.ui().Text2->setText(QStringLiteral("0555"));
        first.close();
    }
    MainWindow second(fakes.platform);
    second.Form_Load();
    QVERIFY(second.ui().Option3->isChecked());
    QCOMPARE(second.ui().Text2->text(), QStringLiteral("0555"));
    QVERIFY(!fakes.store.contains(kSecond, kProps, QStringLiteral("port")));
}

QTEST_MAIN(TstSetForm)
#include "tst_setform.moc"
