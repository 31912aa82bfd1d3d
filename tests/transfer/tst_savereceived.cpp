// SPDX-License-Identifier: GPL-3.0-or-later
#include "form1rig.h"
#include "testfiles.h"
#include "transfer/savereceived.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

namespace {

QString allCharacters()
{
    QString all;
    for (int c = 0; c < 256; ++c)
        all.append(QChar(c));
    return all;
}

QByteArray allBytes()
{
    QByteArray all;
    for (int c = 0; c < 256; ++c)
        all.append(char(c));
    return all;
}

}   // namespace

class TstSaveReceived : public QObject {
    Q_OBJECT
private slots:
    void emptyPaneSaysInvalidFile();
    void savesThePaneAndOneLineEnd_data();
    void savesThePaneAndOneLineEnd();
    void overwritesWithoutAQuestion();
    void cancelEndsQuietly();
    void theDialogKeepsTheLastName();
    void failureIsToldAndWritesNothing_data();
    void failureIsToldAndWritesNothing();
};

void TstSaveReceived::emptyPaneSaysInvalidFile()
{
    Form1Rig rig;
    rig.window->saveReceived().save_received_Click();
    QVERIFY(rig.fakes.prompter.dialogs.isEmpty());
    QCOMPARE(rig.fakes.prompter.boxes.size(), 1);
    const MessageBox& box = rig.fakes.prompter.boxes.first();
    QCOMPARE(box.prompt, QStringLiteral("Invalid file"));
    QCOMPARE(box.title, QStringLiteral("Save file"));
    QCOMPARE(box.buttons, MessageBox::Buttons::Ok);
    QCOMPARE(box.icon, MessageBox::Icon::None);
}

void TstSaveReceived::savesThePaneAndOneLineEnd_data()
{
    QTest::addColumn<QString>("pane");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("file");
    QTest::addRow("two received lines")
        << QStringLiteral("L1\r\nL2\r\n") << QStringLiteral("two.txt") << QByteArray("L1\r\nL2\r\n\r\n");
    QTest::addRow("a name without extension stays as typed")
        << QStringLiteral("x") << QStringLiteral("noext") << QByteArray("x\r\n");
    QTest::addRow("every byte value")
        << allCharacters() << QStringLiteral("all.txt") << allBytes() + QByteArray("\r\n");
}

void TstSaveReceived::savesThePaneAndOneLineEnd()
{
    QFETCH(QString, pane);
    QFETCH(QString, name);
    QFETCH(QByteArray, file);
    Form1Rig rig;
    QTemporaryDir dir;
    rig.ui().Text1->replaceSelection(pane);
    rig.ui().Text2->setFocus();
    const QString path = dir.filePath(name);
    rig.fakes.prompter.choose(path);

    rig.window->saveReceived().save_received_Click();

    QCOMPARE(contentOf(path), file);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{name});
    QVERIFY(rig.fakes.prompter.boxes.isEmpty());
    QCOMPARE(focus(), rig.ui().Text1);
    const FileDialogRequest& dialog = rig.fakes.prompter.dialogs.first();
    QCOMPARE(dialog.mode, FileDialogRequest::Mode::Save);
    QCOMPARE(dialog.filter, QStringLiteral("txt Files (*.txt)|*.txt"));
    QVERIFY(dialog.hideReadOnly);
}

void TstSaveReceived::overwritesWithoutAQuestion()
{
    Form1Rig rig;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("old.txt"));
    QVERIFY(writeFile(path, "a much longer text that was there before"));
    rig.ui().Text1->replaceSelection(QStringLiteral("new"));
    rig.fakes.prompter.choose(path);

    rig.window->saveReceived().save_received_Click();

    QCOMPARE(contentOf(path), QByteArray("new\r\n"));
    QVERIFY(rig.fakes.prompter.boxes.isEmpty());
}

void TstSaveReceived::cancelEndsQuietly()
{
    Form1Rig rig;
    rig.ui().Text1->replaceSelection(QStringLiteral("kept in the pane"));
    rig.ui().Text2->setFocus();
    rig.fakes.prompter.cancelDialog();

    rig.window->saveReceived().save_received_Click();

    QCOMPARE(rig.fakes.prompter.dialogs.size(), 1);
    QVERIFY(rig.fakes.prompter.boxes.isEmpty());
    QCOMPARE(focus(), rig.ui().Text2);
}

void TstSaveReceived::theDialogKeepsTheLastName()
{
    Form1Rig rig;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("first.txt"));
    rig.ui().Text1->replaceSelection(QStringLiteral("t"));
    rig.fakes.prompter.choose(path);
    rig.window->saveReceived().save_received_Click();
    rig.fakes.prompter.cancelDialog();
    rig.window->saveReceived().save_received_Click();

    QCOMPARE(rig.fakes.prompter.dialogs.size(), 2);
    QVERIFY(rig.fakes.prompter.dialogs.at(0).fileName.isEmpty());
    QCOMPARE(rig.fakes.prompter.dialogs.at(1).fileName, path);
}

void TstSaveReceived::failureIsToldAndWritesNothing_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addRow("a folder that does not exist") << QStringLiteral("missing");
    QTest::addRow("a regular file used as a folder") << QStringLiteral("file as folder");
    QTest::addRow("a folder that cannot be written") << QStringLiteral("read-only");
}

void TstSaveReceived::failureIsToldAndWritesNothing()
{
    QFETCH(QString, kind);
    Form1Rig rig;
    QTemporaryDir dir;
    QString path;
    if (kind == QStringLiteral("missing")) {
        path = dir.filePath(QStringLiteral("no/such/folder/r.txt"));
    } else if (kind == QStringLiteral("file as folder")) {
        QVERIFY(writeFile(dir.filePath(QStringLiteral("plain")), "untouched"));
        path = dir.filePath(QStringLiteral("plain/r.txt"));
    } else {
        if (geteuid() == 0)
            QSKIP("permission bits do not stop root");
        const QString folder = dir.filePath(QStringLiteral("locked"));
        QVERIFY(QDir().mkdir(folder));
        QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
        path = QDir(folder).filePath(QStringLiteral("r.txt"));
    }
    rig.ui().Text1->replaceSelection(QStringLiteral("text"));
    rig.fakes.prompter.choose(path);

    rig.window->saveReceived().save_received_Click();

    QCOMPARE(rig.fakes.prompter.boxes.size(), 1);
    const MessageBox& box = rig.fakes.prompter.boxes.first();
    QVERIFY(!box.prompt.isEmpty());
    QVERIFY(box.detail.contains(QDir::toNativeSeparators(path)));
    QCOMPARE(box.buttons, MessageBox::Buttons::Ok);
    QCOMPARE(box.icon, MessageBox::Icon::Exclamation);
    QCOMPARE(box.title, rig.ctx().settings.title());
    QVERIFY(!QFile::exists(path));
    if (kind == QStringLiteral("file as folder"))
        QCOMPARE(contentOf(dir.filePath(QStringLiteral("plain"))), QByteArray("untouched"));
}

QTEST_MAIN(TstSaveReceived)
#include "tst_savereceived.moc"
