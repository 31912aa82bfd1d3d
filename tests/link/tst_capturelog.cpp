// SPDX-License-Identifier: GPL-3.0-or-later
#include "form1rig.h"
#include "link/capturelog.h"
#include "testfiles.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using Answer = MessageBox::Answer;

namespace {

void failDialog(ScriptedPrompter& prompter, const QString& error)
{
    prompter.dialogResults.enqueue({FileDialogResult::Outcome::Failed, QString(), error});
}

}   // namespace

class TstCaptureLog : public QObject {
    Q_OBJECT
private slots:
    void init();
    void newFileOpensWithoutAQuestion();
    void existingFile_data();
    void existingFile();
    void cancelToTheQuestionShowsTheDialogAgain();
    void failures_data();
    void failures();
    void onlyTextWhileOpenIsCaptured();
    void closeLogOnAnEmptySlotSetsTheMenus();
    void openingAgainClosesTheOldCapture();
    void unloadClosesTheCapture();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TstCaptureLog::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
}

void TstCaptureLog::newFileOpensWithoutAQuestion()
{
    Form1Rig rig;
    const QString path = m_dir->filePath(QStringLiteral("new.log"));

    rig.openCapture(path);

    QVERIFY(rig.fakes.prompter.boxes.isEmpty());
    QCOMPARE(rig.fakes.prompter.dialogs.size(), 1);
    const FileDialogRequest& dialog = rig.fakes.prompter.dialogs.first();
    QCOMPARE(dialog.title, QStringLiteral("Open Communications Log File"));
    QCOMPARE(dialog.filter, QStringLiteral("Log Files (*.LOG)|*.log|All Files (*.*)|*.*"));
    QCOMPARE(dialog.filterIndex, 1);
    QVERIFY(dialog.fileName.isEmpty());
    QVERIFY(dialog.hideReadOnly);
    QVERIFY(rig.ctx().capture.isOpen());
    QVERIFY(QFile::exists(path));
    QVERIFY(!rig.ui().mnuOpenLog->isEnabled());
    QVERIFY(rig.ui().mnuCloseLog->isEnabled());

    rig.window->captureLog().mnuCloseLog_Click();
    QVERIFY(!rig.ctx().capture.isOpen());
    QVERIFY(rig.ui().mnuOpenLog->isEnabled());
    QVERIFY(!rig.ui().mnuCloseLog->isEnabled());
}

void TstCaptureLog::existingFile_data()
{
    QTest::addColumn<Answer>("answer");
    QTest::addColumn<QByteArray>("content");
    QTest::addRow("Yes replaces") << Answer::Yes << QByteArray("two\r\n");
    QTest::addRow("No appends") << Answer::No << QByteArray("one\r\ntwo\r\n");
}

void TstCaptureLog::existingFile()
{
    QFETCH(Answer, answer);
    QFETCH(QByteArray, content);
    Form1Rig rig;
    const QString path = m_dir->filePath(QStringLiteral("old.log"));
    QVERIFY(writeFile(path, "one\r\n"));
    rig.fakes.prompter.choose(path);
    rig.fakes.prompter.answer(answer);

    QCOMPARE(rig.window->captureLog().open_capture_file(CaptureLog::kTitle, CaptureLog::kFilter),
             CaptureOpen::Opened);
    rig.fakes.port.receive("two\r\n");

    QCOMPARE(rig.fakes.prompter.boxes.size(), 1);
    const MessageBox& box = rig.fakes.prompter.boxes.first();
    QCOMPARE(box.prompt,
             QStringLiteral("Replace existing file - ") + QDir::toNativeSeparators(path)
                 + QStringLiteral("?"));
    QCOMPARE(box.buttons, MessageBox::Buttons::YesNoCancel);
    QCOMPARE(box.icon, MessageBox::Icon::Question);
    QCOMPARE(box.title, rig.ctx().settings.title());
    QCOMPARE(contentOf(path), content);
}

void TstCaptureLog::cancelToTheQuestionShowsTheDialogAgain()
{
    Form1Rig rig;
    const QString path = m_dir->filePath(QStringLiteral("keep.log"));
    QVERIFY(writeFile(path, "keep"));
    rig.fakes.prompter.choose(path);
    rig.fakes.prompter.answer(Answer::Cancel);
    rig.fakes.prompter.cancelDialog();

    rig.window->captureLog().mnuOpenLog_Click();

    QCOMPARE(rig.fakes.prompter.dialogs.size(), 2);
    QVERIFY(rig.fakes.prompter.dialogs.at(1).fileName.isEmpty());
    QCOMPARE(rig.fakes.prompter.boxes.size(), 1);
    QVERIFY(!rig.ctx().capture.isOpen());
    QCOMPARE(contentOf(path), QByteArray("keep"));
    QVERIFY(!rig.ui().mnuOpenLog->isEnabled());   // as at start: nothing changed
    QVERIFY(!rig.ui().mnuCloseLog->isEnabled());
}

void TstCaptureLog::failures_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<CaptureOpen>("outcome");
    QTest::addRow("the dialog fails") << QStringLiteral("dialog") << CaptureOpen::Aborted;
    QTest::addRow("the existence test fails on a name too long")
        << QStringLiteral("long name") << CaptureOpen::Aborted;
    QTest::addRow("an existing file that cannot be deleted")
        << QStringLiteral("undeletable") << CaptureOpen::Aborted;
    QTest::addRow("a folder that does not exist")
        << QStringLiteral("missing folder") << CaptureOpen::OpenFailed;
    QTest::addRow("a regular file used as a folder")
        << QStringLiteral("file as folder") << CaptureOpen::OpenFailed;
}

void TstCaptureLog::failures()
{
    QFETCH(QString, kind);
    QFETCH(CaptureOpen, outcome);
    Form1Rig rig;
    ScriptedPrompter& prompter = rig.fakes.prompter;
    if (kind == QStringLiteral("dialog")) {
        failDialog(prompter, QStringLiteral("the dialog could not be shown"));
    } else if (kind == QStringLiteral("long name")) {
        prompter.choose(m_dir->filePath(QString(300, u'n') + QStringLiteral(".log")));
    } else if (kind == QStringLiteral("undeletable")) {
        // A folder stands for a file that unlinking refuses, also for root.
        QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("busy.log")));
        prompter.choose(m_dir->filePath(QStringLiteral("busy.log")));
        prompter.answer(Answer::Yes);
    } else if (kind == QStringLiteral("missing folder")) {
        prompter.choose(m_dir->filePath(QStringLiteral("no/such/folder/x.log")));
    } else {
        QVERIFY(writeFile(m_dir->filePath(QStringLiteral("plain")), "x"));
        prompter.choose(m_dir->filePath(QStringLiteral("plain/x.log")));
    }

    QCOMPARE(rig.window->captureLog().open_capture_file(CaptureLog::kTitle, CaptureLog::kFilter), outcome);

    const MessageBox& warning = prompter.boxes.last();
    QVERIFY(!warning.prompt.isEmpty());
    QCOMPARE(warning.buttons, MessageBox::Buttons::Ok);
    QCOMPARE(warning.icon, MessageBox::Icon::Exclamation);
    QCOMPARE(warning.title, rig.ctx().settings.title());
    QVERIFY(!rig.ctx().capture.isOpen());
    QVERIFY(!rig.ui().mnuOpenLog->isEnabled());
    QVERIFY(!rig.ui().mnuCloseLog->isEnabled());
}

void TstCaptureLog::onlyTextWhileOpenIsCaptured()
{
    Form1Rig rig;
    const QString path = m_dir->filePath(QStringLiteral("twice.log"));
    rig.fakes.port.receive("before ");
    rig.openCapture(path);
    rig.fakes.port.receive("first\r");
    rig.window->captureLog().mnuCloseLog_Click();
    rig.fakes.port.receive("between ");
    rig.fakes.prompter.answer(Answer::No);
    rig.openCapture(path);
    rig.fakes.port.receive("\nsecond");
    rig.window->captureLog().mnuCloseLog_Click();
    rig.fakes.port.receive(" after");

    QCOMPARE(contentOf(path), QByteArray("first\r\nsecond"));
    QTRY_COMPARE(rig.ui().Text1->text(), QStringLiteral("before first\r\nbetween second after"));
}

void TstCaptureLog::closeLogOnAnEmptySlotSetsTheMenus()
{
    Form1Rig rig;
    rig.window->captureLog().mnuCloseLog_Click();
    QVERIFY(!rig.ctx().capture.isOpen());
    QVERIFY(rig.ui().mnuOpenLog->isEnabled());
    QVERIFY(!rig.ui().mnuCloseLog->isEnabled());
}

void TstCaptureLog::openingAgainClosesTheOldCapture()
{
    Form1Rig rig;
    const QString first = m_dir->filePath(QStringLiteral("first.EVR"));
    const QString second = m_dir->filePath(QStringLiteral("second.log"));
    QVERIFY(rig.ctx().capture.open(first));   // left open by an upload

    rig.openCapture(second);
    rig.fakes.port.receive("to the second");

    QCOMPARE(rig.ctx().capture.path(), second);
    QCOMPARE(contentOf(first), QByteArray());
    QCOMPARE(contentOf(second), QByteArray("to the second"));
}

void TstCaptureLog::unloadClosesTheCapture()
{
    Form1Rig rig;
    rig.openCapture(m_dir->filePath(QStringLiteral("end.log")));
    QVERIFY(rig.ctx().capture.isOpen());

    rig.window->close();

    QVERIFY(!rig.ctx().capture.isOpen());
    QVERIFY(rig.ui().mnuOpenLog->isEnabled());
    QVERIFY(!rig.ui().mnuCloseLog->isEnabled());
}

QTEST_MAIN(TstCaptureLog)
#include "tst_capturelog.moc"
