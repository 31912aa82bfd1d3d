// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/appsettings.h"
#include "desktop/maskedfield.h"
#include "files/pendingtenantfile.h"
#include "files/tenanteditor.h"
#include "files/tenantlist.h"
#include "operator.h"
#include "testfiles.h"
#include "testplatform.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString kTitle = QStringLiteral("Velno 6100 Management System");
const QString kRecord12 = QStringLiteral("TNTDIR:12TEL:5551234 CODE:4321 DOOR:1 NAME:Ann Lee\r\n");

// An editor on fakes, shown and active so that focus is real.
struct EditorRig {
    explicit EditorRig(int digits = 2)
        : settings(fakes.store), editor(digits, fakes.platform, settings, pending)
    {
        settings.setTitle(kTitle);
    }

    bool open()
    {
        editor.Form_Load();
        editor.show();
        QApplication::setActiveWindow(&editor);
        return QTest::qWaitForWindowActive(&editor);
    }

    TenantEditorUi& ui() { return editor.ui(); }
    QString list() { return ui().Text1->text(); }

    void typeRecord(const QString& dir, const QString& tel, const QString& code, const QString& door,
                    const QString& name)
    {
        type(ui().dirtenant, dir);
        type(ui().teltenant, tel);
        type(ui().adtenant, code);
        type(ui().doortnt, door);
        ui().Text2->clear();
        type(ui().Text2, name);
    }

    QTemporaryDir dir;
    TestPlatform fakes;
    AppSettings settings;
    PendingTenantFile pending;
    TenantEditor editor;
};

QString labelOf(QWidget* field)
{
    for (QLabel* label : field->window()->findChildren<QLabel*>()) {
        if (label->buddy() == field)
            return label->text();
    }
    return QStringLiteral("<none>");
}

}   // namespace

class TstTenantEditor : public QObject {
    Q_OBJECT
private slots:
    // the window
    void variants_data();
    void variants();
    void controlsLabelsAndLimits();
    void tabOrderAndFirstFocus();

    // adding records
    void incompleteDirectory_data();
    void incompleteDirectory();
    void addedRecordAndEmptiedFields();
    void recordJoinsLastLineWithoutBreak();
    void shiftEnterEndsALineInTheList();
    void nameRefusesCharactersFilesCannotHold();

    // keyboard
    void enterMovesFocusOn();
    void focusPutsCaretAtStart_data();
    void focusPutsCaretAtStart();
    void escapeKeepsWindowOpen();

    // loading
    void loadsPendingFile();
    void failedLoadOpensEmpty();

    // saving
    void threeRecordsSaved();
    void secondSaveWithoutDialog();
    void saveAsAlwaysAsks();
    void emptyListIsNotSaved();
    void cancelWritesNothing();
    void unwritableFileReportedAndListKept();
    void loadAndSaveAddsEmptyLine();

    // print and quit
    void printsListUnderSendTitle();
    void quitEmptiesAndCloses();
};

void TstTenantEditor::variants_data()
{
    QTest::addColumn<int>("digits");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("mask");
    QTest::addRow("2 digits") << 2 << "tntform"
                              << "##";
    QTest::addRow("3 digits") << 3 << "tntform1"
                              << "###";
    QTest::addRow("4 digits") << 4 << "tntform2"
                              << "####";
}

void TstTenantEditor::variants()
{
    QFETCH(int, digits);
    QFETCH(QString, name);
    QFETCH(QString, mask);
    EditorRig rig(digits);
    QCOMPARE(rig.editor.objectName(), name);
    QCOMPARE(rig.editor.windowTitle(), kTitle);
    QCOMPARE(rig.ui().dirtenant->mask(), mask);
    QCOMPARE(rig.ui().dirtenant->maxLength(), digits);
    QCOMPARE(TenantEditor::incompleteDirectoryPrompt(digits),
             QStringLiteral("Directory must be %1 digits").arg(digits));
}

void TstTenantEditor::controlsLabelsAndLimits()
{
    EditorRig rig;
    TenantEditorUi& ui = rig.ui();
    const QList<QPair<QWidget*, QString>> names = {
        {ui.dirtenant, "dirtenant"}, {ui.teltenant, "teltenant"},
        {ui.adtenant, "adtenant"},   {ui.doortnt, "doortnt"},
        {ui.Text2, "Text2"},         {ui.ent, "ent"},
        {ui.tntsave, "tntsave"},     {ui.tntsaveas, "tntsaveas"},
        {ui.Command1, "Command1"},   {ui.qui, "qui"},
        {ui.Text1, "Text1"},         {ui.StatusBar1, "StatusBar1"}};
    for (const auto& [widget, name] : names)
        QCOMPARE(widget->objectName(), name);

    QCOMPARE(labelOf(ui.dirtenant), QStringLiteral("TenantDir"));
    QCOMPARE(labelOf(ui.teltenant), QStringLiteral("Tel.No"));
    QCOMPARE(labelOf(ui.adtenant), QStringLiteral("Code"));
    QCOMPARE(labelOf(ui.doortnt), QStringLiteral("Door"));
    QCOMPARE(labelOf(ui.Text2), QStringLiteral(" Name"));
    QCOMPARE(ui.teltenant->mask(), QStringLiteral("###########"));
    QCOMPARE(ui.adtenant->mask(), QStringLiteral("####"));
    QCOMPARE(ui.doortnt->mask(), QStringLiteral("#"));
    QCOMPARE(ui.Text2->maxLength(), 17);
    QCOMPARE(ui.Text2->text(), QStringLiteral(" "));
    QCOMPARE(ui.tntsave->text(), QStringLiteral("Save"));
    QCOMPARE(ui.tntsaveas->text(), QStringLiteral("Save As"));
    QCOMPARE(ui.Command1->text(), QStringLiteral("Print"));
    QCOMPARE(ui.qui->text(), QStringLiteral("Quit"));
    QVERIFY(!ui.Text1->isReadOnly());
    QCOMPARE(ui.Text1->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QCOMPARE(ui.Text1->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QVERIFY(QFontInfo(ui.Text1->font()).fixedPitch());

    QVERIFY(rig.open());
    QCOMPARE(ui.ent->text(), QStringLiteral("Enter "));
    QCOMPARE(rig.list(), QString());
}

void TstTenantEditor::tabOrderAndFirstFocus()
{
    EditorRig rig;
    QVERIFY(rig.open());
    QCOMPARE(QApplication::focusWidget(), rig.ui().dirtenant);
    QStringList order;
    QWidget* w = rig.ui().dirtenant;
    do {
        if (w->focusPolicy() & Qt::TabFocus && w->isVisible())
            order << w->objectName();
        w = w->nextInFocusChain();
    } while (w != rig.ui().dirtenant);
    QCOMPARE(order,
             (QStringList{"dirtenant", "teltenant", "adtenant", "doortnt", "Text2", "ent", "tntsave",
                          "tntsaveas", "Command1", "qui", "Text1"}));
}

void TstTenantEditor::incompleteDirectory_data()
{
    QTest::addColumn<int>("digits");
    QTest::addColumn<QString>("typed");
    QTest::addRow("2 digits, none") << 2 << "";
    QTest::addRow("2 digits, one") << 2 << "1";
    QTest::addRow("3 digits, two") << 3 << "12";
    QTest::addRow("4 digits, three") << 4 << "123";
}

void TstTenantEditor::incompleteDirectory()
{
    QFETCH(int, digits);
    QFETCH(QString, typed);
    EditorRig rig(digits);
    QVERIFY(rig.open());
    rig.typeRecord(typed, QStringLiteral("555"), QStringLiteral("12"), QStringLiteral("2"),
                   QStringLiteral("Bo"));
    rig.ui().ent->click();

    QCOMPARE(rig.fakes.prompter.boxes.size(), 1);
    const MessageBox box = rig.fakes.prompter.boxes.first();
    QCOMPARE(box.prompt, QStringLiteral("Directory must be %1 digits").arg(digits));
    QCOMPARE(box.title, kTitle);
    QCOMPARE(box.buttons, MessageBox::Buttons::Ok);
    QCOMPARE(rig.list(), QString());
    QCOMPARE(rig.ui().dirtenant->typedValue(), typed);
    QCOMPARE(rig.ui().teltenant->typedValue(), QStringLiteral("555"));
    QCOMPARE(rig.ui().Text2->text(), QStringLiteral("Bo"));
    QCOMPARE(QApplication::focusWidget(), rig.ui().dirtenant);
}

void TstTenantEditor::addedRecordAndEmptiedFields()
{
    EditorRig rig(4);
    QVERIFY(rig.open());
    rig.typeRecord(QStringLiteral("0815"), QStringLiteral("01234567890"), QStringLiteral("9876"),
                   QStringLiteral("2"), QStringLiteral("  Jo  Ann  "));
    rig.ui().ent->click();
    QCOMPARE(rig.list(), QStringLiteral("TNTDIR:0815TEL:01234567890 CODE:9876 DOOR:2 NAME:Jo  Ann\r\n"));
    QVERIFY(rig.fakes.prompter.boxes.isEmpty());
    for (MaskedField* field : {rig.ui().dirtenant, rig.ui().teltenant, rig.ui().adtenant, rig.ui().doortnt}) {
        QCOMPARE(field->displayText(), QString(field->mask().size(), u' '));
        QCOMPARE(field->typedValue(), QString());
    }
    QCOMPARE(rig.ui().Text2->text(), QString());
    QCOMPARE(QApplication::focusWidget(), rig.ui().dirtenant);

    rig.typeRecord(QStringLiteral("0815"), {}, {}, {}, {});   // duplicates are accepted
    rig.ui().ent->click();
    QCOMPARE(rig.list().count(QStringLiteral("TNTDIR:0815")), 2);
}

void TstTenantEditor::recordJoinsLastLineWithoutBreak()
{
    EditorRig rig;
    QVERIFY(rig.open());
    rig.ui().Text1->setText(QStringLiteral("TNTDIR:11TEL: CODE: DOOR: NAME:\r\nhand typed"));
    rig.typeRecord(QStringLiteral("12"), QStringLiteral("5551234"), QStringLiteral("4321"),
                   QStringLiteral("1"), QStringLiteral("Ann Lee"));
    rig.ui().ent->click();
    QCOMPARE(rig.list(), QStringLiteral("TNTDIR:11TEL: CODE: DOOR: NAME:\r\nhand typed") + kRecord12);
}

void TstTenantEditor::shiftEnterEndsALineInTheList()
{
    EditorRig rig;
    QVERIFY(rig.open());
    type(rig.ui().Text1, QStringLiteral("a"));
    QTest::keyClick(rig.ui().Text1, Qt::Key_Return, Qt::ShiftModifier);
    QTest::keyClicks(rig.ui().Text1, QStringLiteral("b"));
    QCOMPARE(rig.list(), QStringLiteral("a\r\nb"));
}

void TstTenantEditor::nameRefusesCharactersFilesCannotHold()
{
    EditorRig rig;
    QVERIFY(rig.open());
    QLineEdit* name = rig.ui().Text2;
    name->clear();
    name->setFocus();
    typeText(name, QStringLiteral("Zoë\u20ACs\U0001F600"));
    QCOMPARE(name->text(), QStringLiteral("Zoës"));
    QCOMPARE(name->cursorPosition(), 4);

    name->setCursorPosition(1);
    name->insert(QStringLiteral("\u0160a\U0001F600b"));   // a paste
    QCOMPARE(name->text(), QStringLiteral("Zaboës"));
    QCOMPARE(name->cursorPosition(), 3);

    name->insert(QStringLiteral("0123456789abcdef"));   // beyond 17 characters
    QCOMPARE(name->text().size(), 17);
}

void TstTenantEditor::enterMovesFocusOn()
{
    EditorRig rig;
    QVERIFY(rig.open());
    TenantEditorUi& ui = rig.ui();
    ui.Text2->clear();
    QTest::keyClicks(ui.dirtenant, QStringLiteral("12"));
    const QList<QWidget*> chain = {ui.dirtenant, ui.teltenant, ui.adtenant, ui.doortnt, ui.Text2, ui.ent};
    for (int i = 0; i + 1 < chain.size(); ++i) {
        QCOMPARE(QApplication::focusWidget(), chain[i]);
        QTest::keyClick(chain[i], Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), chain[i + 1]);
    }
    QCOMPARE(rig.list(), QString());   // reaching the button does not press it

    QTest::keyClick(ui.ent, Qt::Key_Return);   // Enter on the button does
    QCOMPARE(rig.list(), QStringLiteral("TNTDIR:12TEL: CODE: DOOR: NAME:\r\n"));
    QCOMPARE(QApplication::focusWidget(), ui.dirtenant);

    // Held on the button, it adds one record: the repeats neither add the
    // emptied fields nor answer the box that that would bring.
    QTest::keyClicks(ui.dirtenant, QStringLiteral("34"));
    holdEnter(ui.ent);
    QCOMPARE(rig.list(),
             QStringLiteral("TNTDIR:12TEL: CODE: DOOR: NAME:\r\nTNTDIR:34TEL: CODE: DOOR: NAME:\r\n"));
    QVERIFY(rig.fakes.prompter.boxes.isEmpty());
    QCOMPARE(QApplication::focusWidget(), ui.dirtenant);
}

void TstTenantEditor::focusPutsCaretAtStart_data()
{
    QTest::addColumn<QString>("focused");
    QTest::addColumn<QString>("caretField");
    QTest::addRow("directory") << "dirtenant"
                               << "dirtenant";
    QTest::addRow("telephone moves the code's caret") << "teltenant"
                                                      << "adtenant";
    QTest::addRow("code moves the door's caret") << "adtenant"
                                                 << "doortnt";
    QTest::addRow("door moves the name's caret") << "doortnt"
                                                 << "Text2";
}

void TstTenantEditor::focusPutsCaretAtStart()
{
    QFETCH(QString, focused);
    QFETCH(QString, caretField);
    EditorRig rig;
    QVERIFY(rig.open());
    auto* caret = control<QLineEdit>(&rig.editor, caretField);
    auto* target = control(&rig.editor, focused);
    rig.ui().qui->setFocus();
    caret->setText(QStringLiteral("1"));
    caret->setCursorPosition(1);
    QCOMPARE(caret->cursorPosition(), 1);
    target->setFocus();
    QCOMPARE(caret->cursorPosition(), 0);
}

void TstTenantEditor::escapeKeepsWindowOpen()
{
    EditorRig rig;
    QVERIFY(rig.open());
    rig.ui().Text1->setText(QStringLiteral("x\r\n"));
    QTest::keyClick(rig.ui().Text1, Qt::Key_Escape);
    QTest::keyClick(rig.ui().tntsave, Qt::Key_Escape);
    QVERIFY(rig.editor.isVisible());
    QCOMPARE(rig.list(), QStringLiteral("x\r\n"));
}

void TstTenantEditor::loadsPendingFile()
{
    EditorRig rig;
    const QString path = rig.dir.filePath(QStringLiteral("in.TNT"));
    QVERIFY(
        writeFile(path, "   TNTDIR:12TEL: CODE: DOOR: NAME:A\r\n\r\n  \tTNTDIR:13TEL:\r\nlast  \r\n\r\n"));
    rig.pending.set(path);
    QVERIFY(rig.open());
    QCOMPARE(rig.list(),
             QStringLiteral("TNTDIR:12TEL: CODE: DOOR: NAME:A\r\n\r\n\tTNTDIR:13TEL:\r\nlast  \r\n\r\n"));
    QCOMPARE(rig.ui().Text1->textCursor().position(), rig.ui().Text1->document()->characterCount() - 1);
    QCOMPARE(rig.pending.name(), QString());
    QCOMPARE(rig.ui().ent->text(), QStringLiteral("Enter "));
    QCOMPARE(rig.editor.saveName(), QString());   // the loaded name is not the save name
}

void TstTenantEditor::failedLoadOpensEmpty()
{
    EditorRig rig;
    const QString path = rig.dir.filePath(QStringLiteral("missing.TNT"));
    rig.pending.set(path);
    QVERIFY(rig.open());
    QCOMPARE(rig.list(), QString());
    QCOMPARE(rig.pending.name(), path);
    QCOMPARE(rig.ui().ent->text(), QStringLiteral("Enter "));
    QVERIFY(rig.fakes.prompter.boxes.isEmpty());
}

void TstTenantEditor::threeRecordsSaved()
{
    EditorRig rig(3);
    QVERIFY(rig.open());
    for (const QString dir : {"101", "102", "103"}) {
        rig.typeRecord(dir, QStringLiteral("55"), {}, QStringLiteral("1"), QStringLiteral("N") + dir);
        rig.ui().ent->click();
    }
    const QString path = rig.dir.filePath(QStringLiteral("three.TNT"));
    rig.fakes.prompter.choose(path);
    rig.ui().tntsave->click();

    QCOMPARE(rig.fakes.prompter.dialogs.size(), 1);
    const FileDialogRequest request = rig.fakes.prompter.dialogs.first();
    QCOMPARE(request.mode, FileDialogRequest::Mode::Save);
    QCOMPARE(request.title, QStringLiteral("Save"));
    QCOMPARE(request.filter, QStringLiteral("TNT File (*.TNT)|*.TNT"));
    QCOMPARE(request.fileName, QString());
    QCOMPARE(contentOf(path),
             QByteArray("TNTDIR:101TEL:55 CODE: DOOR:1 NAME:N101\r\n"
                        "TNTDIR:102TEL:55 CODE: DOOR:1 NAME:N102\r\n"
                        "TNTDIR:103TEL:55 CODE: DOOR:1 NAME:N103\r\n"
                        "\r\n"));
    QCOMPARE(QApplication::focusWidget(), rig.ui().Text1);
    QCOMPARE(rig.editor.saveName(), path);
}

void TstTenantEditor::secondSaveWithoutDialog()
{
    EditorRig rig;
    QVERIFY(rig.open());
    const QString path = rig.dir.filePath(QStringLiteral("t.TNT"));
    rig.ui().Text1->setText(kRecord12);
    rig.fakes.prompter.choose(path);
    rig.ui().tntsave->click();
    rig.ui().Text1->setText(QStringLiteral("changed"));
    rig.ui().tntsave->click();
    QCOMPARE(rig.fakes.prompter.dialogs.size(), 1);
    QCOMPARE(contentOf(path), QByteArray("changed\r\n"));
}

void TstTenantEditor::saveAsAlwaysAsks()
{
    EditorRig rig;
    QVERIFY(rig.open());
    const QString first = rig.dir.filePath(QStringLiteral("first.TNT"));
    const QString second = rig.dir.filePath(QStringLiteral("second.TNT"));
    rig.ui().Text1->setText(kRecord12);
    rig.fakes.prompter.choose(first);
    rig.ui().tntsaveas->click();
    rig.fakes.prompter.choose(second);
    rig.ui().tntsaveas->click();
    rig.ui().Text1->setText(QStringLiteral("later"));
    rig.ui().tntsave->click();

    const QList<FileDialogRequest>& dialogs = rig.fakes.prompter.dialogs;
    QCOMPARE(dialogs.size(), 2);
    QCOMPARE(dialogs[0].title, QStringLiteral("Save As"));
    QCOMPARE(dialogs[0].fileName, QString());
    QCOMPARE(dialogs[1].title, QStringLiteral("Save As"));
    QCOMPARE(dialogs[1].fileName, first);
    QCOMPARE(contentOf(first), (kRecord12 + QStringLiteral("\r\n")).toLatin1());
    QCOMPARE(contentOf(second), QByteArray("later\r\n"));
}

void TstTenantEditor::emptyListIsNotSaved()
{
    EditorRig rig;
    QVERIFY(rig.open());
    rig.ui().tntsave->click();
    rig.ui().tntsaveas->click();
    QVERIFY(rig.fakes.prompter.dialogs.isEmpty());
    QCOMPARE(rig.fakes.prompter.boxes.size(), 2);
    for (const MessageBox& box : rig.fakes.prompter.boxes) {
        QCOMPARE(box.prompt, QStringLiteral("Invalid file"));
        QCOMPARE(box.title, QStringLiteral("Save file"));
        QCOMPARE(box.buttons, MessageBox::Buttons::Ok);
    }
}

void TstTenantEditor::cancelWritesNothing()
{
    EditorRig rig;
    QVERIFY(rig.open());
    rig.ui().Text1->setText(kRecord12);
    rig.fakes.prompter.cancelDialog();
    rig.ui().tntsave->click();
    QCOMPARE(rig.editor.saveName(), QString());
    QCOMPARE(QDir(rig.dir.path()).entryList(QDir::Files), QStringList());
    QVERIFY(rig.fakes.prompter.boxes.isEmpty());
}

void TstTenantEditor::unwritableFileReportedAndListKept()
{
    EditorRig rig;
    QVERIFY(rig.open());
    rig.ui().Text1->setText(kRecord12);
    rig.fakes.prompter.choose(rig.dir.filePath(QStringLiteral("no/folder/t.TNT")));
    rig.ui().tntsave->click();

    QCOMPARE(rig.fakes.prompter.boxes.size(), 1);
    const MessageBox box = rig.fakes.prompter.boxes.first();
    QVERIFY(!box.prompt.isEmpty());
    QCOMPARE(box.title, kTitle);
    QCOMPARE(box.buttons, MessageBox::Buttons::Ok);
    QCOMPARE(box.icon, MessageBox::Icon::Exclamation);
    QCOMPARE(rig.list(), kRecord12);
    QVERIFY(rig.editor.isVisible());

    // the next Save asks again, and a good name saves the list
    const QString path = rig.dir.filePath(QStringLiteral("t.TNT"));
    rig.fakes.prompter.choose(path);
    rig.ui().tntsave->click();
    QCOMPARE(rig.fakes.prompter.dialogs.size(), 2);
    QCOMPARE(contentOf(path), (kRecord12 + QStringLiteral("\r\n")).toLatin1());

    // a hand-typed character outside the 8-bit set is reported, not replaced
    rig.ui().Text1->setText(kRecord12 + QStringLiteral("\u0141"));
    rig.ui().tntsave->click();
    QCOMPARE(rig.fakes.prompter.boxes.size(), 2);
    QCOMPARE(rig.fakes.prompter.boxes.last().icon, MessageBox::Icon::Exclamation);
    QCOMPARE(contentOf(path), (kRecord12 + QStringLiteral("\r\n")).toLatin1());
}

void TstTenantEditor::loadAndSaveAddsEmptyLine()
{
    EditorRig rig;
    const QString path = rig.dir.filePath(QStringLiteral("cycle.TNT"));
    const QByteArray saved = "TNTDIR:12TEL: CODE: DOOR: NAME:\xC5sa\xA0"
                             "B\r\n\r\n";
    QVERIFY(writeFile(path, saved));
    rig.pending.set(path);
    QVERIFY(rig.open());
    rig.fakes.prompter.choose(path);
    rig.ui().tntsave->click();
    QCOMPARE(contentOf(path), saved + "\r\n");
}

void TstTenantEditor::printsListUnderSendTitle()
{
    EditorRig rig;
    QVERIFY(rig.open());
    rig.ui().Text1->setText(kRecord12);
    rig.ui().Command1->click();
    const QStringList& lines = rig.fakes.printer.lines;
    QCOMPARE(lines.size(), 3);
    QVERIFY(lines[0].endsWith(QStringLiteral(":SEND: FILE CONTENT")));
    QVERIFY(lines[1].contains(QStringLiteral(":DATE:")));
    QCOMPARE(lines[2], QStringLiteral("0,600:") + kRecord12);
    QCOMPARE(rig.fakes.printer.ended, 1);
}

void TstTenantEditor::quitEmptiesAndCloses()
{
    EditorRig rig;
    QVERIFY(rig.open());
    rig.ui().Text1->setText(kRecord12);
    rig.ui().qui->click();
    QCOMPARE(rig.list(), QString());
    QVERIFY(!rig.editor.isVisible());
}

QTEST_MAIN(TstTenantEditor)
#include "tst_tenanteditor.moc"
