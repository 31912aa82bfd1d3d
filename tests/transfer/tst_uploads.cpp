// SPDX-License-Identifier: GPL-3.0-or-later
#include "form1rig.h"
#include "link/capturelog.h"
#include "testfiles.h"
#include "transfer/uploads.h"

#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace {

// The main window connected, with the upload buttons enabled as "RECEIVE" does.
struct UploadRig : Form1Rig {
    UploadRig()
    {
        connectDirect();
        window->upload_Click();
    }
};

enum class Dialog { Chosen, Cancelled, UnopenablePath, Failed };

}   // namespace

Q_DECLARE_METATYPE(Dialog)

class TstUploads : public QObject {
    Q_OBJECT
private slots:
    void requestLine_data();
    void requestLine();
    void captureOutcome_data();
    void captureOutcome();
    void portClosed_data();
    void portClosed();
    void allKeepsAnOpenCapture();
};

void TstUploads::requestLine_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<bool>("enablesSend");
    QTest::addRow("ALL") << QStringLiteral("up_all") << QByteArray("PRIALL\r\n") << true;
    QTest::addRow("Parameters") << QStringLiteral("up_par") << QByteArray("PRIPAR\r\n") << false;
}

void TstUploads::requestLine()
{
    QFETCH(QString, button);
    QFETCH(QByteArray, line);
    QFETCH(bool, enablesSend);
    UploadRig u;
    u.ui().Command3->show();
    QVERIFY(!u.ui().download->isEnabled());

    click(u.control(button));

    QCOMPARE(u.fakes.port.writes, QByteArrayList{line});
    QCOMPARE(u.ui().download->isEnabled(), enablesSend);
    QVERIFY(!u.ui().Command3->isVisible());
    QVERIFY(u.fakes.prompter.dialogs.isEmpty());
    QVERIFY(u.fakes.prompter.boxes.isEmpty());
}

void TstUploads::captureOutcome_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<Dialog>("dialog");
    QTest::addColumn<bool>("sent");
    QTest::addColumn<int>("boxes");

    const struct {
        const char* name;
        const char* button;
        QString title;
        QString filter;
        QByteArray line;
    } uploads[] = {
        {"Events", "up_evr", QStringLiteral("Open Communications Log Event File"),
         QStringLiteral("EVR Files (*.EVR)|*.EVR"), "PRIEVR\r\n"},
        {"Tenants", "up_tnt", QStringLiteral("Open Communications Log Tenant File"),
         QStringLiteral("TNT Files (*.TNT)|*.TNT"), "PRITNT\r\n"},
    };
    const struct {
        const char* name;
        Dialog dialog;
        bool sent;
        int boxes;
    } outcomes[] = {
        {"opened", Dialog::Chosen, true, 0},
        {"cancelled", Dialog::Cancelled, true, 0},
        {"open failed", Dialog::UnopenablePath, true, 1},
        {"aborted", Dialog::Failed, false, 1},
    };
    for (const auto& upload : uploads) {
        for (const auto& outcome : outcomes) {
            QTest::addRow("%s, %s", upload.name, outcome.name)
                << QString::fromLatin1(upload.button) << upload.title << upload.filter << upload.line
                << outcome.dialog << outcome.sent << outcome.boxes;
        }
    }
}

void TstUploads::captureOutcome()
{
    QFETCH(QString, button);
    QFETCH(QString, title);
    QFETCH(QString, filter);
    QFETCH(QByteArray, line);
    QFETCH(Dialog, dialog);
    QFETCH(bool, sent);
    QFETCH(int, boxes);
    UploadRig u;
    const QString capture = u.dir.filePath(QStringLiteral("upload.cap"));
    switch (dialog) {
    case Dialog::Chosen: u.fakes.prompter.choose(capture); break;
    case Dialog::Cancelled: u.fakes.prompter.cancelDialog(); break;
    case Dialog::UnopenablePath:
        u.fakes.prompter.choose(u.dir.filePath(QStringLiteral("no such folder/upload.cap")));
        break;
    case Dialog::Failed:
        u.fakes.prompter.dialogResults.enqueue(
            {FileDialogResult::Outcome::Failed, QString(), QStringLiteral("The dialog failed")});
        break;
    }

    click(u.control(button));

    QCOMPARE(u.fakes.prompter.dialogs.size(), 1);
    QCOMPARE(u.fakes.prompter.dialogs.first().title, title);
    QCOMPARE(u.fakes.prompter.dialogs.first().filter, filter);
    QCOMPARE(u.fakes.port.writes, sent ? QByteArrayList{line} : QByteArrayList{});
    QCOMPARE(u.fakes.prompter.boxes.size(), boxes);
    QVERIFY(u.ui().download->isEnabled());
    const bool opened = dialog == Dialog::Chosen;
    QCOMPARE(u.ctx().capture.isOpen(), opened);
    QCOMPARE(u.ui().Command3->isVisible(), opened);
    if (opened) {
        QCOMPARE(focus(), u.ui().Command3);
        QVERIFY(u.ui().Command3->isEnabled());
        u.fakes.port.receive("0101 SMITH\r\n");
        QCOMPARE(contentOf(capture), QByteArray("0101 SMITH\r\n"));
    }
}

void TstUploads::portClosed_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<bool>("closesCapture");
    QTest::addRow("ALL") << QStringLiteral("up_all") << false;
    QTest::addRow("Parameters") << QStringLiteral("up_par") << false;
    QTest::addRow("Events") << QStringLiteral("up_evr") << true;
    QTest::addRow("Tenants") << QStringLiteral("up_tnt") << true;
}

void TstUploads::portClosed()
{
    QFETCH(QString, button);
    QFETCH(bool, closesCapture);
    UploadRig u;
    u.fakes.port.close();   // as a lost line leaves it: the buttons stay enabled
    QVERIFY(u.ctx().capture.open(u.dir.filePath(QStringLiteral("menu.log"))));
    u.ui().Command3->show();

    click(u.control(button));

    QVERIFY(u.fakes.port.writes.isEmpty());
    QVERIFY(u.fakes.prompter.dialogs.isEmpty());
    QCOMPARE(u.fakes.prompter.boxes.size(), 1);
    QCOMPARE(u.fakes.prompter.boxes.first(), guardBox());
    QVERIFY(!u.ui().download->isEnabled());
    QVERIFY(!u.ui().Command3->isVisible());
    QCOMPARE(u.ctx().capture.isOpen(), !closesCapture);
}

void TstUploads::allKeepsAnOpenCapture()
{
    UploadRig u;
    const QString capture = u.dir.filePath(QStringLiteral("events.EVR"));
    u.fakes.prompter.choose(capture);
    click(u.control(QStringLiteral("up_evr")));
    u.fakes.port.receive("EVR 0001\r\n");

    click(u.control(QStringLiteral("up_all")));
    u.fakes.port.receive("PAR DOT1 05\r\n");

    QCOMPARE(u.fakes.port.writes, (QByteArrayList{"PRIEVR\r\n", "PRIALL\r\n"}));
    QVERIFY(!u.ui().Command3->isVisible());
    QVERIFY(u.ctx().capture.isOpen());
    QTRY_COMPARE(contentOf(capture), QByteArray("EVR 0001\r\nPAR DOT1 05\r\n"));
}

QTEST_MAIN(TstUploads)
#include "tst_uploads.moc"
