// SPDX-License-Identifier: GPL-3.0-or-later
#include "faultrig.h"

#include "app/setform.h"
#include "link/connection.h"
#include "platform/inisettingsstore.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

// The settings files corrupt or not files at all: the program starts with
// what it can read, keeps what was saved before, and saves again where it can.
class TstSettingsFaults : public QObject {
    Q_OBJECT
private slots:
    void startsAndSaves_data();
    void startsAndSaves();
    void folderWhereTheFileShouldBe();
};

namespace {

QString fileOf(const QTemporaryDir& root, const QString& application)
{
    return IniSettingsStore::filePath(root.path(), application);
}

QByteArray garbage(int size)
{
    QByteArray bytes;
    for (int i = 0; i < size; ++i)
        bytes += char((i * 7919 + 13) % 256);
    return bytes;
}

// Chooses port 3 and a phone number, sets a modem string and a ByteCycle,
// closes the window.
void changeAndClose(Form1Rig& run)
{
    run.window->connection().Option_Click(3);
    run.window->ui().Text2->setText(QStringLiteral("5551234"));
    SetForm& form = run.window->setform().ensureLoaded();
    form.Text1->setText(QStringLiteral("ATZ"));
    form.Combo1->setCurrentIndex(form.Combo1->findText(QStringLiteral("15")));
    form.Command1_Click();
    run.window->close();
}

}   // namespace

void TstSettingsFaults::startsAndSaves_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("portRead");
    QTest::addColumn<QString>("phoneRead");
    QTest::addColumn<QString>("byteCycleRead");
    QTest::addRow("garbage") << garbage(4000) << 0 << ""
                             << "";
    QTest::addRow("empty") << QByteArray() << 0 << ""
                           << "";
    QTest::addRow("NUL bytes") << QByteArray(512, '\0') << 0 << ""
                               << "";
    QTest::addRow("values, then garbage")
        << QByteArray("[Properties]\r\nport=2\r\nph=0044 20\r\nsavea=10\r\n") + garbage(4000) << 2
        << "0044 20"
        << "10";
    QTest::addRow("values, then broken lines")
        << QByteArray("[Properties]\nsavea=5\nport=2\n[broken\n==\nph=\"open quote\n") << 2 << ""
        << "5";
}

void TstSettingsFaults::startsAndSaves()
{
    QFETCH(QByteArray, content);
    QFETCH(int, portRead);
    QFETCH(QString, phoneRead);
    QFETCH(QString, byteCycleRead);
    QTemporaryDir root;
    QVERIFY(QDir().mkpath(QFileInfo(fileOf(root, AppSettings::kMainTitle)).path()));
    writeFile(root, fileOf(root, AppSettings::kMainTitle).mid(root.path().size() + 1), content);
    writeFile(root, fileOf(root, AppSettings::kSettingTitle).mid(root.path().size() + 1), content);
    {
        Form1Rig first(RigOptions().settingsIn(root.path()).hidden());
        for (int n = 1; n <= 4; ++n)
            QCOMPARE(first.window->ui().option(n)->isChecked(), n == portRead);
        QCOMPARE(first.window->ui().Text2->text(), phoneRead);
        QCOMPARE(first.window->settings().byteCycle(), byteCycleRead);
        QVERIFY(first.fakes.prompter.boxes.isEmpty());
        changeAndClose(first);
    }
    const QByteArray saved = contentOf(fileOf(root, AppSettings::kMainTitle));
    QVERIFY2(saved.contains("port=3") && saved.contains("ph=5551234"), saved.constData());
    const QByteArray modem = contentOf(fileOf(root, AppSettings::kSettingTitle));
    QVERIFY2(modem.contains("sett=ATZ") && modem.contains("savea=15"), modem.constData());
}

// Nothing can be read or saved; the program runs on what it has, and the
// folder stays as it is.
void TstSettingsFaults::folderWhereTheFileShouldBe()
{
    QTemporaryDir root;
    const QString path = fileOf(root, AppSettings::kMainTitle);
    QVERIFY(QDir().mkpath(path));
    writeFile(root, path.mid(root.path().size() + 1) + QStringLiteral("/inside.txt"), "KEEP\r\n");
    {
        Form1Rig run(RigOptions().settingsIn(root.path()).hidden());
        QCOMPARE(run.window->ui().Text2->text(), QString());
        QVERIFY(!run.window->ui().option(2)->isChecked());
        QVERIFY(run.fakes.prompter.boxes.isEmpty());
        changeAndClose(run);
    }
    QVERIFY(QFileInfo(path).isDir());
    QCOMPARE(contentOf(path + QStringLiteral("/inside.txt")), QByteArray("KEEP\r\n"));
}

QTEST_MAIN(TstSettingsFaults)
#include "tst_settingsfaults.moc"
