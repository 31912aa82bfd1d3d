// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/mainwindow.h"
#include "app/setform.h"
#include "form1rig.h"
#include "link/connection.h"
#include "platform/inisettingsstore.h"

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QRadioButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

// Two runs of the program, one after the other, on one settings folder.
class TstRestart : public QObject {
    Q_OBJECT
private slots:
    void valuesSurviveARestart();
    void portChosenAfterSettingDialogIsNotLost();
};

namespace {
const QRect kPlaced(30, 20, 800, 560);   // where the operator left the window
}   // namespace

void TstRestart::valuesSurviveARestart()
{
    QTemporaryDir root;
    {
        Form1Rig first(RigOptions().settingsIn(root.path()).hidden());
        first.window->connection().Option_Click(2);
        first.window->ui().Text2->setText(QStringLiteral("0044 20 7946"));
        SetForm& form = first.window->setform().ensureLoaded();
        form.Text1->setText(QStringLiteral("ATZ"));
        form.Combo1->setCurrentIndex(form.Combo1->findText(QStringLiteral("15")));
        form.Command1_Click();
        first.window->setGeometry(kPlaced);
        first.window->close();
    }
    Form1Rig second(RigOptions().settingsIn(root.path()).hidden());
    QCOMPARE(second.window->geometry(), kPlaced);
    QVERIFY(second.window->ui().Option2->isChecked());
    QCOMPARE(second.window->ui().Text2->text(), QStringLiteral("0044 20 7946"));
    SetForm& form = second.window->setform().ensureLoaded();
    QCOMPARE(form.Text1->text(), QStringLiteral("ATZ"));
    QCOMPARE(form.Combo1->currentText(), QStringLiteral("15"));

    const QString mainFile = root.path() + QStringLiteral("/Velno/Velno 6100 Management System.ini");
    QVERIFY(QFile::exists(mainFile));
    QSettings ini(mainFile, QSettings::IniFormat);
    QCOMPARE(ini.value(QStringLiteral("Properties/port")).toString(), QStringLiteral("2"));
    const QByteArray geometry = ini.value(QStringLiteral("Window/geometry")).toString().toLatin1();
    QVERIFY(second.window->restoreGeometry(QByteArray::fromBase64(geometry)));
}

void TstRestart::portChosenAfterSettingDialogIsNotLost()
{
    QTemporaryDir root;
    {
        Form1Rig first(RigOptions().settingsIn(root.path()).hidden());
        first.window->connection().Option_Click(1);
        first.window->setform().ensureLoaded().Command2_Click();   // visit the dialog
        first.window->connection().Option_Click(4);
        first.window->ui().Text2->setText(QStringLiteral("777"));
        first.window->close();
    }
    Form1Rig second(RigOptions().settingsIn(root.path()).hidden());
    QVERIFY(second.window->ui().Option4->isChecked());
    QCOMPARE(second.window->ui().Text2->text(), QStringLiteral("777"));
}

QTEST_MAIN(TstRestart)
#include "tst_restart.moc"
