// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/maskedfield.h"
#include "files/editmenu.h"
#include "files/pendingtenantfile.h"
#include "files/tenanteditor.h"
#include "form1rig.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>

namespace {

// How the operator chooses a command: the item itself, its key while a field
// has the focus, or a click into the opened menu (which gives the focus back
// to the field as it closes).
enum class Way { Item, Key, Mouse };

struct EditRig {
    explicit EditRig(Way way = Way::Item) : way(way) { fill(QStringLiteral("PRIPAR\nTALK 045")); }

    void fill(const QString& text) { ui().Text1->setPlainText(text); }
    Form1Ui& ui() { return rig.ui(); }
    FakeClipboard& clipboard() { return rig.fakes.clipboard; }
    void cut() { choose(ui().cut_file, Qt::Key_X); }
    void copy() { choose(ui().copy_file, Qt::Key_C); }
    void pasteByChoice() { choose(ui().paset_file, Qt::Key_V); }   // only while available
    void paste() { rig.window->editMenu().paset_file_Click(); }

    void choose(QAction* item, Qt::Key key)
    {
        QMenu* menu = ui().edit_file;
        QMenuBar* bar = rig.window->menuBar();
        switch (way) {
        case Way::Item: item->trigger(); break;
        case Way::Key: QTest::keyClick(QApplication::focusWidget(), key, Qt::ControlModifier); break;
        case Way::Mouse:
            QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(menu->menuAction()).center());
            QVERIFY(QTest::qWaitForWindowExposed(menu));
            QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(item).center());
            if (!item->isEnabled())   // a greyed item leaves the menu open: a click beside it closes it
                QTest::mouseClick(menu, Qt::LeftButton, {}, QPoint(-10, -10));
            QTRY_VERIFY(!menu->isVisible());
            break;
        }
    }

    // Gives field the focus with characters [start, start + length) selected.
    void select(QLineEdit* field, int start, int length)
    {
        field->setEnabled(true);
        field->setFocus();
        field->setSelection(start, length);
    }

    Way way;
    Form1Rig rig;
};

const std::pair<Way, const char*> kWays[] = {{Way::Item, "item"}, {Way::Key, "key"}, {Way::Mouse, "mouse"}};

}   // namespace

Q_DECLARE_METATYPE(Way)

namespace {

void addWays()
{
    QTest::addColumn<Way>("way");
    for (const auto& [way, how] : kWays)
        QTest::addRow("%s", how) << way;
}

}   // namespace

class TstEditMenu : public QObject {
    Q_OBJECT
private slots:
    void pasteAvailableAfterFirstCopy_data() { addWays(); }
    void pasteAvailableAfterFirstCopy();
    void emptyReceivePaneStopsCutAndCopy_data() { addWays(); }
    void emptyReceivePaneStopsCutAndCopy();
    void copyWithoutSelectionPutsEmptyText();
    void cutAndCopyInFields_data();
    void cutAndCopyInFields();
    void receivePaneSelectionWithLineEnds();
    void cutInReceivePaneRemovesSelection();
    void pasteIntoReceivePaneAsItsOwnPaste_data();
    void pasteIntoReceivePaneAsItsOwnPaste();
    void pasteReplacesSelection_data();
    void pasteReplacesSelection();
    void maskedFieldTakesFittingDigits_data();
    void maskedFieldTakesFittingDigits();
    void controlWithoutSelection();
    void tenantEditorIsNeverActedOn();
};

void TstEditMenu::pasteAvailableAfterFirstCopy()
{
    QFETCH(Way, way);
    EditRig r(way);
    QVERIFY(!r.ui().paset_file->isEnabled());
    r.clipboard().content = QStringLiteral("x");
    r.select(r.ui().Text2, 0, 0);
    r.pasteByChoice();   // unavailable: does nothing
    QCOMPARE(r.ui().Text2->text(), QString());
    r.fill(QString());
    r.copy();
    QVERIFY(!r.ui().paset_file->isEnabled());
    r.fill(QStringLiteral("data"));
    r.select(r.ui().Text2, 0, 0);
    r.copy();
    QVERIFY(r.ui().paset_file->isEnabled());
    r.fill(QString());
    r.cut();
    QVERIFY(r.ui().paset_file->isEnabled());
}

void TstEditMenu::emptyReceivePaneStopsCutAndCopy()
{
    QFETCH(Way, way);
    EditRig r(way);
    r.fill(QString());
    r.clipboard().content = QStringLiteral("kept");
    r.ui().Text2->setText(QStringLiteral("5551234"));
    r.select(r.ui().Text2, 0, 3);
    r.cut();
    r.copy();
    QCOMPARE(r.ui().Text2->text(), QStringLiteral("5551234"));
    QCOMPARE(r.clipboard().content, QStringLiteral("kept"));
    QCOMPARE(r.clipboard().clears, 0);
}

void TstEditMenu::copyWithoutSelectionPutsEmptyText()
{
    EditRig r;
    r.clipboard().content = QStringLiteral("old");
    r.ui().MsgWel->setText(QStringLiteral("Welcome"));
    r.select(r.ui().MsgWel, 2, 0);
    r.copy();
    QCOMPARE(r.clipboard().clears, 1);
    QCOMPARE(r.clipboard().content, QString());
    QVERIFY(r.ui().paset_file->isEnabled());
}

void TstEditMenu::cutAndCopyInFields_data()
{
    QTest::addColumn<Way>("way");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("length");
    QTest::addColumn<QString>("selected");
    QTest::addColumn<QString>("afterCut");
    for (const auto& [way, how] : kWays) {
        QTest::addRow("phone, %s", how) << way << "Text2"
                                        << "5551234" << 1 << 3 << "551"
                                        << "5234";
        QTest::addRow("programming code, %s", how) << way << "Text3"
                                                   << "1234" << 0 << 2 << "12"
                                                   << "34";
        QTest::addRow("welcome message, %s", how) << way << "MsgWel"
                                                  << "Hi there" << 2 << 6 << " there"
                                                  << "Hi";
        QTest::addRow("masked field, %s", how) << way << "dtmf"
                                               << "4/5" << 0 << 3 << "4/5"
                                               << " / ";
    }
}

void TstEditMenu::cutAndCopyInFields()
{
    QFETCH(Way, way);
    QFETCH(QString, field);
    QFETCH(QString, text);
    QFETCH(int, start);
    QFETCH(int, length);
    QFETCH(QString, selected);
    QFETCH(QString, afterCut);
    EditRig r(way);
    auto* edit = r.rig.control<QLineEdit>(field);
    edit->setText(text);
    r.select(edit, start, length);
    r.copy();
    QCOMPARE(r.clipboard().content, selected);
    QCOMPARE(edit->displayText().size(), text.size());
    r.select(edit, start, length);
    r.cut();
    QCOMPARE(r.clipboard().content, selected);
    QCOMPARE(qobject_cast<MaskedField*>(edit) ? edit->displayText() : edit->text(), afterCut);
}

void TstEditMenu::receivePaneSelectionWithLineEnds()
{
    EditRig r;
    ReceivePane* pane = r.ui().Text1;
    pane->setFocus();
    QTextCursor cursor = pane->textCursor();
    cursor.setPosition(3);
    cursor.setPosition(9, QTextCursor::KeepAnchor);   // "PAR", the line end, "TA"
    pane->setTextCursor(cursor);
    r.copy();
    QCOMPARE(r.clipboard().content, QStringLiteral("PAR\r\nTA"));
}

void TstEditMenu::cutInReceivePaneRemovesSelection()
{
    EditRig r;
    ReceivePane* pane = r.ui().Text1;
    pane->setFocus();
    pane->setSelection(6, 4);   // the CR LF and "TA"
    r.cut();
    QCOMPARE(r.clipboard().content, QStringLiteral("\r\nTA"));
    QCOMPARE(pane->text(), QStringLiteral("PRIPARLK 045"));

    r.clipboard().content = QStringLiteral("\r\nXY");
    pane->setSelection(6, 0);
    r.paste();
    QCOMPARE(pane->text(), QStringLiteral("PRIPAR\r\nXYLK 045"));
}

void TstEditMenu::pasteIntoReceivePaneAsItsOwnPaste_data()
{
    QTest::addColumn<int>("filled");
    QTest::addColumn<QString>("clip");
    QTest::addColumn<QString>("tail");
    QTest::addColumn<int>("length");
    constexpr int kMax = ReceivePane::kMaxLength;
    QTest::addRow("line breaks become CR LF") << 4 << "a\nb\rc"
                                              << "....a\r\nb\r\nc" << 11;
    QTest::addRow("cut at the limit") << kMax - 3 << "abcdef"
                                      << ".abc" << kMax;
    QTest::addRow("never half a line end") << kMax - 1 << "\nx"
                                           << ".." << kMax - 1;
}

void TstEditMenu::pasteIntoReceivePaneAsItsOwnPaste()
{
    QFETCH(int, filled);
    QFETCH(QString, clip);
    QFETCH(QString, tail);
    QFETCH(int, length);
    EditRig r;
    ReceivePane* pane = r.ui().Text1;
    r.fill(QString(filled, u'.'));
    pane->setFocus();
    pane->setCaret(filled);
    r.clipboard().content = clip;
    r.paste();
    QVERIFY(pane->text().endsWith(tail));
    QCOMPARE(pane->length(), length);
}

void TstEditMenu::pasteReplacesSelection_data()
{
    QTest::addColumn<QString>("clip");
    QTest::addColumn<QString>("after");
    QTest::addRow("text") << "555"
                          << "0555234";
    QTest::addRow("clipboard without text deletes the selection") << ""
                                                                  << "0234";
}

void TstEditMenu::pasteReplacesSelection()
{
    QFETCH(QString, clip);
    QFETCH(QString, after);
    EditRig r;
    r.fill(QString());   // paste does not look at the receive pane
    r.clipboard().content = clip;
    r.ui().Text2->setText(QStringLiteral("0111234"));
    r.select(r.ui().Text2, 1, 3);
    r.paste();
    QCOMPARE(r.ui().Text2->text(), after);
}

void TstEditMenu::maskedFieldTakesFittingDigits_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("before");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("length");
    QTest::addColumn<QString>("clip");
    QTest::addColumn<QString>("typed");
    QTest::addRow("letters dropped") << "medit1"
                                     << "" << 0 << 3 << "a4-5x6"
                                     << "456";
    QTest::addRow("digits beyond the field dropped") << "medit1"
                                                     << "" << 0 << 3 << "12345"
                                                     << "123";
    QTest::addRow("literal skipped") << "dtmf"
                                     << "" << 0 << 3 << "45"
                                     << "45";
    QTest::addRow("copied with its literal") << "dtmf"
                                             << "" << 0 << 3 << "4/5"
                                             << "45";
    QTest::addRow("other scripts' digits dropped") << "medit2"
                                                   << "" << 0 << 2 << "\u0664\u0665"
                                                   << "";
    QTest::addRow("blanks dropped") << "medit1"
                                    << "" << 0 << 3 << "1 2 3"
                                    << "123";
    QTest::addRow("into a selection") << "medit1"
                                      << "123" << 1 << 1 << "9"
                                      << "193";
    QTest::addRow("nothing fits") << "medit2"
                                  << "12" << 0 << 2 << "ab"
                                  << "";
}

void TstEditMenu::maskedFieldTakesFittingDigits()
{
    QFETCH(QString, field);
    QFETCH(QString, before);
    QFETCH(int, start);
    QFETCH(int, length);
    QFETCH(QString, clip);
    QFETCH(QString, typed);
    EditRig r;
    auto* masked = r.rig.control<MaskedField>(field);
    masked->setFullText(before);
    r.select(masked, start, length);
    r.clipboard().content = clip;
    r.paste();
    QCOMPARE(masked->typedValue(), typed);
}

void TstEditMenu::controlWithoutSelection()
{
    EditRig r;
    r.clipboard().content = QStringLiteral("old");
    r.ui().connectButton->setFocus();
    QCOMPARE(focus(), r.ui().connectButton);
    r.copy();
    QCOMPARE(r.clipboard().clears, 1);   // cleared before the selection was looked for
    QCOMPARE(r.clipboard().content, QString());
    QVERIFY(!r.ui().paset_file->isEnabled());
    r.clipboard().content = QStringLiteral("x");
    r.paste();
    QCOMPARE(r.ui().connectButton->text(), QStringLiteral("Connect"));
}

void TstEditMenu::tenantEditorIsNeverActedOn()
{
    EditRig r;
    PendingTenantFile pending;
    TenantEditor editor(2, r.rig.fakes.platform, r.rig.window->settings(), pending);
    editor.Form_Load();
    editor.show();
    QApplication::setActiveWindow(&editor);
    QVERIFY(QTest::qWaitForWindowActive(&editor));
    editor.ui().Text2->setText(QStringLiteral("Ann"));
    editor.ui().Text2->setFocus();
    editor.ui().Text2->selectAll();
    r.clipboard().content = QStringLiteral("Bo");
    r.paste();
    r.cut();
    QCOMPARE(editor.ui().Text2->text(), QStringLiteral("Ann"));
    QCOMPARE(r.clipboard().content, QString());
    // Its fields keep their own keys, on the system's clipboard.
    QTest::keyClick(editor.ui().Text2, Qt::Key_X, Qt::ControlModifier);
    QCOMPARE(editor.ui().Text2->text(), QString());
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("Ann"));
    QCOMPARE(r.clipboard().content, QString());
}

QTEST_MAIN(TstEditMenu)
#include "tst_editmenu.moc"
