// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/maskedfield.h"
#include "files/parametermenu.h"
#include "form1rig.h"

#include <QAction>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString kTitle = QStringLiteral("Velno 6100 Management System");

struct ParRig : Form1Rig {
    ParameterMenu& menu() { return window->parameterMenu(); }

    void open(const QString& p)
    {
        fakes.prompter.choose(p);
        ui().OpenPar->trigger();
    }
};

}   // namespace

class TstParameterMenu : public QObject {
    Q_OBJECT
private slots:
    void saveWithPhoneOnly();
    void savedFieldsReadBack();
    void oneDoorReleaseDigitNotReadBack();
    void replaceQuestion_data();
    void replaceQuestion();
    void unwritableFileReported();
    void cancelWritesNothing();
    void openDialogAndCancel();
    void readingStopsAtItsErrorLine();
    void loadedPhoneIsStored();
};

void TstParameterMenu::saveWithPhoneOnly()
{
    ParRig r;
    r.ui().Text2->setText(QStringLiteral("5551234"));
    const QString p = r.dir.filePath(QStringLiteral("phone.par"));
    r.fakes.prompter.choose(p);
    r.ui().mnuopenpar->trigger();

    QCOMPARE(contentOf(p), QByteArray("PHO5551234\r\n\r\n"));
    QCOMPARE(r.fakes.prompter.dialogs.size(), 1);
    const FileDialogRequest request = r.fakes.prompter.dialogs.first();
    QCOMPARE(request.mode, FileDialogRequest::Mode::Save);
    QCOMPARE(request.filter, QStringLiteral("Parameter Files (*.par)|*.par"));
    QCOMPARE(request.fileName, QString());
    QVERIFY(r.fakes.prompter.boxes.isEmpty());
    QCOMPARE(focus(), r.ui().Text3);
}

void TstParameterMenu::savedFieldsReadBack()
{
    ParRig r;
    Form1Ui& ui = r.ui();
    ui.Text2->setText(QStringLiteral("0123"));
    ui.Text3->setText(QStringLiteral("12345"));
    ui.medit1->setFullText(QStringLiteral("45 "));
    ui.medit2->setFullText(QStringLiteral("7 "));
    ui.medit3->setFullText(QStringLiteral("12"));
    ui.dtmf->setFullText(QStringLiteral("4/5"));
    ui.MsgWel->setText(QStringLiteral("  Hi  there "));
    const QString p = r.dir.filePath(QStringLiteral("all.par"));
    r.fakes.prompter.choose(p);
    r.menu().mnuopenpar_Click();
    QCOMPARE(contentOf(p),
             QByteArray("PHO0123\r\nPGM12345\r\nPARTKT 45\r\nPARDOT1 7\r\nPARDOT2 12\r\n"
                        "PARDTM 45\r\nPARMSG   Hi  there \r\n\r\n"));

    ui.Text2->clear();
    ui.Text3->clear();
    for (MaskedField* field : {ui.medit1, ui.medit2, ui.medit3, ui.dtmf})
        field->clear();
    ui.MsgWel->clear();
    r.open(p);
    QCOMPARE(ui.Text2->text(), QStringLiteral("0123"));
    QCOMPARE(ui.Text3->text(), QString());   // 5 characters are not read back
    QCOMPARE(ui.medit1->typedValue(), QStringLiteral("045"));
    QCOMPARE(ui.medit2->typedValue(), QStringLiteral("07"));
    QCOMPARE(ui.medit3->typedValue(), QStringLiteral("12"));
    QCOMPARE(ui.dtmf->displayText(), QStringLiteral("4/5"));
    QCOMPARE(ui.MsgWel->text(), QStringLiteral("Hi  there"));
    QVERIFY(!ui.medit1->isEnabled());   // loading enables nothing
}

void TstParameterMenu::oneDoorReleaseDigitNotReadBack()
{
    ParRig r;
    r.ui().dtmf->setFullText(QStringLiteral("4/ "));
    r.ui().Text3->setText(QStringLiteral("1234"));
    const QString p = r.dir.filePath(QStringLiteral("dtmf.par"));
    r.fakes.prompter.choose(p);
    r.menu().mnuopenpar_Click();
    QCOMPARE(contentOf(p), QByteArray("PGM1234\r\nPARDTM 4\r\n\r\n"));

    r.ui().dtmf->setFullText(QStringLiteral("9/9"));
    r.ui().Text3->clear();
    r.open(p);
    QCOMPARE(r.ui().dtmf->displayText(), QStringLiteral("9/9"));
    QCOMPARE(r.ui().Text3->text(), QStringLiteral("1234"));
}

void TstParameterMenu::replaceQuestion_data()
{
    QTest::addColumn<MessageBox::Answer>("answer");
    QTest::addColumn<int>("dialogs");
    QTest::addColumn<QByteArray>("existingAfter");
    QTest::addRow("Yes replaces") << MessageBox::Answer::Yes << 1 << QByteArray("PHO1\r\n\r\n");
    QTest::addRow("No asks again") << MessageBox::Answer::No << 2 << QByteArray("old");
    QTest::addRow("Cancel asks again") << MessageBox::Answer::Cancel << 2 << QByteArray("old");
}

void TstParameterMenu::replaceQuestion()
{
    QFETCH(MessageBox::Answer, answer);
    QFETCH(int, dialogs);
    QFETCH(QByteArray, existingAfter);
    ParRig r;
    r.ui().Text2->setText(QStringLiteral("1"));
    const QString existing = writeFile(r.dir, QStringLiteral("old.par"), "old");
    const QString fresh = r.dir.filePath(QStringLiteral("new.par"));
    r.fakes.prompter.choose(existing);
    r.fakes.prompter.answer(answer);
    r.fakes.prompter.choose(fresh);
    r.menu().mnuopenpar_Click();

    QCOMPARE(r.fakes.prompter.boxes.size(), 1);
    const MessageBox box = r.fakes.prompter.boxes.first();
    QCOMPARE(box.prompt, QStringLiteral("Replace existing file - ") + existing + QStringLiteral("?"));
    QCOMPARE(box.title, kTitle);
    QCOMPARE(box.buttons, MessageBox::Buttons::YesNoCancel);
    QCOMPARE(box.icon, MessageBox::Icon::Question);
    QCOMPARE(r.fakes.prompter.dialogs.size(), dialogs);
    QCOMPARE(r.fakes.prompter.dialogs.last().fileName, QString());
    QCOMPARE(contentOf(existing), existingAfter);
    QCOMPARE(contentOf(fresh), dialogs == 2 ? QByteArray("PHO1\r\n\r\n") : QByteArray("<unreadable>"));
}

void TstParameterMenu::unwritableFileReported()
{
    ParRig r;
    r.ui().MsgWel->setText(QStringLiteral("Hello"));
    r.fakes.prompter.choose(r.dir.filePath(QStringLiteral("no/folder/x.par")));
    r.menu().mnuopenpar_Click();
    QCOMPARE(r.fakes.prompter.boxes.size(), 1);
    const MessageBox box = r.fakes.prompter.boxes.first();
    QVERIFY(!box.prompt.isEmpty());
    QCOMPARE(box.title, kTitle);
    QCOMPARE(box.buttons, MessageBox::Buttons::Ok);
    QCOMPARE(box.icon, MessageBox::Icon::Exclamation);
    QCOMPARE(r.ui().MsgWel->text(), QStringLiteral("Hello"));

    // a message the 8-bit file cannot hold is reported, not replaced
    const QString p = r.dir.filePath(QStringLiteral("euro.par"));
    r.ui().MsgWel->setText(QStringLiteral("5 \u20AC"));
    r.fakes.prompter.choose(p);
    r.menu().mnuopenpar_Click();
    QCOMPARE(r.fakes.prompter.boxes.size(), 2);
    QCOMPARE(contentOf(p), QByteArray("<unreadable>"));
}

void TstParameterMenu::cancelWritesNothing()
{
    ParRig r;
    r.ui().Text2->setText(QStringLiteral("1"));
    r.fakes.prompter.cancelDialog();
    r.menu().mnuopenpar_Click();
    QCOMPARE(QDir(r.dir.path()).entryList(QDir::Files), QStringList());
    QVERIFY(r.fakes.prompter.boxes.isEmpty());
}

void TstParameterMenu::openDialogAndCancel()
{
    ParRig r;
    r.ui().Text2->setText(QStringLiteral("keep"));
    r.fakes.prompter.cancelDialog();
    r.menu().OpenPar_Click();
    QCOMPARE(r.fakes.prompter.dialogs.size(), 1);
    const FileDialogRequest request = r.fakes.prompter.dialogs.first();
    QCOMPARE(request.mode, FileDialogRequest::Mode::Open);
    QCOMPARE(request.filter, QStringLiteral("PAR Files (*.par)|*.par"));
    QCOMPARE(request.filterIndex, 1);
    QCOMPARE(request.fileName, QString());
    QCOMPARE(r.ui().Text2->text(), QStringLiteral("keep"));

    r.open(r.dir.filePath(QStringLiteral("missing.par")));
    QCOMPARE(r.ui().Text2->text(), QStringLiteral("keep"));
    QVERIFY(r.fakes.prompter.boxes.isEmpty());
}

void TstParameterMenu::readingStopsAtItsErrorLine()
{
    ParRig r;
    r.ui().medit1->setFullText(QStringLiteral("999"));
    r.ui().MsgWel->setText(QStringLiteral("old"));
    const QString p =
        writeFile(r.dir, QStringLiteral("stop.par"), "PARDOT2 3\r\nPARMSG\r\nPARTKT 5\r\nPHO7\r\n");
    r.open(p);
    QCOMPARE(r.ui().medit3->typedValue(), QStringLiteral("03"));
    QCOMPARE(r.ui().medit1->typedValue(), QStringLiteral("999"));
    QCOMPARE(r.ui().MsgWel->text(), QStringLiteral("old"));
    QVERIFY(r.fakes.prompter.boxes.isEmpty());
}

void TstParameterMenu::loadedPhoneIsStored()
{
    ParRig r;
    r.open(writeFile(r.dir, QStringLiteral("ph.par"), "  PHO0301234  \r\n"));
    QCOMPARE(r.ui().Text2->text(), QStringLiteral("0301234"));
    QCOMPARE(r.window->settings().phone(), QStringLiteral("0301234"));
}

QTEST_MAIN(TstParameterMenu)
#include "tst_parametermenu.moc"
