// SPDX-License-Identifier: GPL-3.0-or-later
#include "faultrig.h"

#include "desktop/maskedfield.h"
#include "files/parametermenu.h"
#include "files/tenanteditor.h"
#include "files/tenantlist.h"
#include "files/tenantmenu.h"
#include "files/textfile.h"
#include "link/connection.h"
#include "platform/eightbit.h"
#include "transfer/filesender.h"

#include <QDir>
#include <QLineEdit>
#include <QProgressBar>
#include <QTest>

// A file of 100,000 lines, a binary file and an empty file, each chosen as
// tenant file, parameter file and file to send: nothing crashes or hangs,
// every byte that is not a line end is kept, and an empty file does nothing.
class TstOddFiles : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void asTenantFile_data();
    void asTenantFile();
    void asParameterFile_data();
    void asParameterFile();
    void asFileToSend_data();
    void asFileToSend();
    void overTheSizeLimit_data();
    void overTheSizeLimit();

private:
    void addFiles();
    QByteArray m_manyTenants;
};

namespace {

constexpr int kManyLines = 100000;
const QByteArray kRecord("TNTDIR:01TEL:5551234 CODE:1234 DOOR:1 NAME:SMITH\r\n");

// Every byte value but the blank, which a tenant line loses at its start, and
// NUL runs; after a tenant record, so an editor opens.
QByteArray binary()
{
    QByteArray bytes = kRecord;
    for (int round = 0; round < 4; ++round) {
        for (int b = 0; b < 256; ++b) {
            if (b != ' ')
                bytes += char(b);
        }
        bytes += QByteArray(100, '\0');
    }
    return bytes;
}

QByteArray withoutLineEnds(QByteArray bytes)
{
    return bytes.replace('\r', QByteArray()).replace('\n', QByteArray());
}

// The main window on fakes; tenant editors are looked at instead of shown.
struct FileRig : Form1Rig {
    FileRig() : Form1Rig(RigOptions().hidden())
    {
        window->tenantMenu().runModal = [this](TenantEditor& editor) {
            editors.append(editor.objectName());
            list = editor.ui().Text1->text();
        };
    }
    QString file(const QByteArray& bytes) { return writeFile(dir, QStringLiteral("chosen"), bytes); }

    QStringList editors;
    QString list;
};

}   // namespace

void TstOddFiles::initTestCase()
{
    m_manyTenants.reserve(kManyLines * kRecord.size());
    for (int i = 0; i < kManyLines; ++i)
        m_manyTenants += kRecord;
}

void TstOddFiles::addFiles()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addRow("100,000 lines") << m_manyTenants;
    QTest::addRow("binary") << binary();
    QTest::addRow("empty") << QByteArray();
}

void TstOddFiles::asTenantFile_data()
{
    addFiles();
}

void TstOddFiles::asTenantFile()
{
    QFETCH(QByteArray, bytes);
    FileRig rig;
    const QString path = rig.file(bytes);
    rig.fakes.prompter.choose(path);

    rig.window->tenantMenu().open_send_Click();

    QVERIFY(rig.fakes.prompter.boxes.isEmpty());
    if (bytes.isEmpty()) {
        QVERIFY(rig.editors.isEmpty());   // an empty file opens no editor
        QCOMPARE(rig.window->tenantMenu().pending().name(), path);
        return;
    }
    QCOMPARE(rig.editors, QStringList{TenantEditor::windowName(2)});
    QVERIFY(EightBit::encode(rig.list).startsWith(kRecord));
    QVERIFY(withoutLineEnds(EightBit::encode(rig.list)) == withoutLineEnds(bytes));
}

void TstOddFiles::asParameterFile_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("door1");
    QByteArray many;
    for (int i = 0; i < kManyLines; ++i)
        many += "PARDOT1 " + QByteArray::number(i % 100) + "\r\n";
    QTest::addRow("100,000 lines, the last one counts") << many << "99";
    QTest::addRow("binary, no tag in it") << binary().mid(kRecord.size()) << "15";
    QTest::addRow("empty") << QByteArray() << "15";
}

void TstOddFiles::asParameterFile()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, door1);
    FileRig rig;
    Form1Ui& ui = rig.window->ui();
    ui.Text2->setText(QStringLiteral("5551234"));
    ui.medit2->setFullText(QStringLiteral("15"));
    ui.MsgWel->setText(QStringLiteral("WELCOME"));
    rig.fakes.prompter.choose(rig.file(bytes));

    rig.window->parameterMenu().OpenPar_Click();

    QVERIFY(rig.fakes.prompter.boxes.isEmpty());
    QCOMPARE(ui.medit2->typedValue(), door1);
    QCOMPARE(ui.Text2->text(), QStringLiteral("5551234"));
    QCOMPARE(ui.MsgWel->text(), QStringLiteral("WELCOME"));
}

void TstOddFiles::asFileToSend_data()
{
    addFiles();
}

// A long file is stopped by Disconnect after three lines; a binary file goes
// out line by line with every byte; an empty one sends nothing.
void TstOddFiles::asFileToSend()
{
    QFETCH(QByteArray, bytes);
    FileRig rig;
    rig.window->ui().Text2->clear();
    rig.window->connection().connect_Click();
    rig.fakes.prompter.boxes.clear();
    constexpr int kStopAfter = 3;
    int barMaximum = 0;
    rig.fakes.port.onWrite = [&](const QByteArray&) {
        barMaximum = rig.window->ui().Progress->maximum();
        if (rig.fakes.port.writes.size() == kStopAfter && bytes == m_manyTenants)
            rig.window->connection().close1_Click();
    };
    rig.fakes.prompter.choose(rig.file(bytes));

    rig.window->fileSender().sendfileg_Click();

    QVERIFY(rig.fakes.prompter.boxes.isEmpty());
    QVERIFY(rig.window->ui().Progress->isHidden());
    if (bytes == m_manyTenants) {
        QCOMPARE(barMaximum, kManyLines);
        QCOMPARE(rig.fakes.port.writes, (QByteArrayList{kRecord, kRecord, kRecord, "END\r\n"}));
        return;
    }
    QByteArrayList expected;
    for (const QString& line : TextFile::splitLines(EightBit::decode(bytes))) {
        if (!line.isEmpty())
            expected.append(EightBit::encode(line) + "\r\n");
    }
    QVERIFY(rig.fakes.port.writes == expected);
}

void TstOddFiles::overTheSizeLimit_data()
{
    QTest::addColumn<QString>("command");
    QTest::addRow("Open Tenant File") << "open_send";
    QTest::addRow("the tenant editor's load") << "di";
    QTest::addRow("Open Parameter") << "OpenPar";
}

// Refused before it is read, with a box that names the file and its size; no
// editor opens, no field changes, and the file is not kept for the next editor.
void TstOddFiles::overTheSizeLimit()
{
    QFETCH(QString, command);
    FileRig rig;
    const QString path = rig.file("PARDOT1 42\r\n" + kRecord);
    QFile file(path);
    QVERIFY(file.resize(20 * 1024 * 1024));   // sparse: no room taken on the disk
    Form1Ui& ui = rig.window->ui();
    ui.medit2->setFullText(QStringLiteral("15"));
    TenantMenu& menu = rig.window->tenantMenu();
    rig.fakes.prompter.choose(path);
    if (command == QStringLiteral("open_send")) {
        menu.open_send_Click();
    } else if (command == QStringLiteral("di")) {
        menu.pending().set(path);
        menu.di_Click();
    } else {
        rig.window->parameterMenu().OpenPar_Click();
    }

    QCOMPARE(rig.fakes.prompter.boxes.size(), 1);
    const MessageBox& box = rig.fakes.prompter.boxes.first();
    QVERIFY2(box.prompt.contains(QDir::toNativeSeparators(path)), qPrintable(box.prompt));
    QVERIFY2(box.prompt.contains(QStringLiteral("20.0 MB")), qPrintable(box.prompt));
    QCOMPARE(box.icon, MessageBox::Icon::Exclamation);
    QCOMPARE(ui.medit2->typedValue(), QStringLiteral("15"));
    QVERIFY(rig.list.isEmpty());
    if (command == QStringLiteral("open_send")) {
        QVERIFY(rig.editors.isEmpty());
        QVERIFY(menu.pending().name().isEmpty());
    }
}

QTEST_MAIN(TstOddFiles)
#include "tst_oddfiles.moc"
