// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/widgetprompter.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

namespace {

// Runs act on the first dialog of type T that shows, and again while
// that dialog stays up (Qt's file dialog loads folders in the background and
// may undo a choice made too early). Any other modal dialog (a warning of Qt's
// own dialog, say) is reported and closed, so a test cannot hang on it.
template <typename T>
void whenModal(std::function<void(T*)> act)
{
    struct State {
        bool started = false;
        QPointer<T> dialog;
    };
    auto state = std::make_shared<State>();
    // The application owns the timer: one still waiting when the last test
    // ends is freed with it, not leaked.
    auto* timer = new QTimer(qApp);
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, state, act] {
        if (state->started) {
            if (state->dialog && state->dialog->isVisible()) {
                act(state->dialog);
            } else {
                timer->stop();
                timer->deleteLater();
            }
            return;
        }
        for (QWidget* window : QApplication::topLevelWidgets()) {
            auto* dialog = qobject_cast<T*>(window);
            if (dialog && dialog->isVisible()) {
                state->started = true;
                state->dialog = dialog;
                act(dialog);
                return;
            }
        }
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal)
            return;
        auto* box = qobject_cast<QMessageBox*>(modal);
        qWarning() << "unexpected dialog" << modal->metaObject()->className()
                   << (box ? box->text() : QString());
        if (auto* other = qobject_cast<QDialog*>(modal))
            other->reject();
    });
    timer->start();
}

// What a message box showed and which standard button the test pressed.
struct Seen {
    QString title;
    QString text;
    QString informative;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
    Qt::TextFormat format = Qt::AutoText;
};

void answerBox(Seen& seen, QMessageBox::StandardButton press)
{
    whenModal<QMessageBox>([&seen, press](QMessageBox* box) {
        seen.title = box->windowTitle();
        seen.text = box->text();
        seen.informative = box->informativeText();
        seen.icon = box->icon();
        seen.buttons = box->standardButtons();
        seen.defaultButton = box->standardButton(box->defaultButton());
        seen.format = box->textFormat();
        if (press == QMessageBox::NoButton)
            box->reject();   // closed with Escape or the window's close button
        else
            box->button(press)->click();
    });
}

// What a file dialog showed.
struct SeenDialog {
    QString title;
    QStringList filters;
    QString selectedFilter;
    QFileDialog::AcceptMode acceptMode = QFileDialog::AcceptOpen;
    QFileDialog::FileMode fileMode = QFileDialog::AnyFile;
    QFileDialog::Options options;
    QString defaultSuffix;
    QStringList selected;
    int tries = 0;
};

void record(SeenDialog& seen, const QFileDialog& dialog)
{
    seen.title = dialog.windowTitle();
    seen.filters = dialog.nameFilters();
    seen.selectedFilter = dialog.selectedNameFilter();
    seen.acceptMode = dialog.acceptMode();
    seen.fileMode = dialog.fileMode();
    seen.options = dialog.options();
    seen.defaultSuffix = dialog.defaultSuffix();
    seen.selected = dialog.selectedFiles();
}

// Enters path in the file name box as the operator would. (selectFile() leaves
// the box alone once it has the focus.)
void type(QFileDialog& dialog, const QString& path)
{
    auto* edit = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    if (edit)
        edit->setText(path);
    else
        dialog.selectFile(path);
}

void answerFileDialog(SeenDialog& seen, const QString& choose)
{
    whenModal<QFileDialog>([&seen, choose](QFileDialog* dialog) {
        if (seen.tries++ == 0)
            record(seen, *dialog);
        if (choose.isEmpty()) {
            dialog->reject();
            return;
        }
        type(*dialog, choose);
        static_cast<QDialog*>(dialog)->accept();   // as the Open or Save button does
    });
}

}   // namespace

Q_DECLARE_METATYPE(MessageBox::Buttons)
Q_DECLARE_METATYPE(MessageBox::Icon)
Q_DECLARE_METATYPE(MessageBox::Answer)

class TestWidgetPrompter : public QObject {
    Q_OBJECT
private slots:
    // message boxes
    void askShowsTheBox_data();
    void askShowsTheBox();
    void closedBoxAnswers_data();
    void closedBoxAnswers();
    void tellShowsOk();
    void textIsPlain();
    void boxBelongsToParent_data();
    void boxBelongsToParent();

    // file dialogs
    void openDialog();
    void saveDialog();
    void cancelledDialog();
    void filterIndexOutOfRange();
};

void TestWidgetPrompter::askShowsTheBox_data()
{
    QTest::addColumn<MessageBox::Buttons>("buttons");
    QTest::addColumn<MessageBox::Icon>("icon");
    QTest::addColumn<MessageBox::Answer>("preferred");
    QTest::addColumn<int>("qtButtons");
    QTest::addColumn<int>("qtIcon");
    QTest::addColumn<int>("qtDefault");
    QTest::addColumn<int>("press");
    QTest::addColumn<MessageBox::Answer>("answer");

    QTest::newRow("ok, no icon") << MessageBox::Buttons::Ok << MessageBox::Icon::None
                                 << MessageBox::Answer::Ok << int(QMessageBox::Ok) << int(QMessageBox::NoIcon)
                                 << int(QMessageBox::Ok) << int(QMessageBox::Ok) << MessageBox::Answer::Ok;
    QTest::newRow("ok cancel, information")
        << MessageBox::Buttons::OkCancel << MessageBox::Icon::Information << MessageBox::Answer::Cancel
        << int(QMessageBox::Ok | QMessageBox::Cancel) << int(QMessageBox::Information)
        << int(QMessageBox::Cancel) << int(QMessageBox::Cancel) << MessageBox::Answer::Cancel;
    QTest::newRow("yes no, question")
        << MessageBox::Buttons::YesNo << MessageBox::Icon::Question << MessageBox::Answer::No
        << int(QMessageBox::Yes | QMessageBox::No) << int(QMessageBox::Question) << int(QMessageBox::No)
        << int(QMessageBox::Yes) << MessageBox::Answer::Yes;
    QTest::newRow("yes no cancel, exclamation")
        << MessageBox::Buttons::YesNoCancel << MessageBox::Icon::Exclamation << MessageBox::Answer::Yes
        << int(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel) << int(QMessageBox::Warning)
        << int(QMessageBox::Yes) << int(QMessageBox::No) << MessageBox::Answer::No;
    QTest::newRow("retry cancel, critical")
        << MessageBox::Buttons::RetryCancel << MessageBox::Icon::Critical << MessageBox::Answer::Retry
        << int(QMessageBox::Retry | QMessageBox::Cancel) << int(QMessageBox::Critical)
        << int(QMessageBox::Retry) << int(QMessageBox::Retry) << MessageBox::Answer::Retry;
    QTest::newRow("default not among the buttons")
        << MessageBox::Buttons::YesNo << MessageBox::Icon::None << MessageBox::Answer::Ok
        << int(QMessageBox::Yes | QMessageBox::No) << int(QMessageBox::NoIcon) << int(QMessageBox::NoButton)
        << int(QMessageBox::No) << MessageBox::Answer::No;
}

void TestWidgetPrompter::askShowsTheBox()
{
    QFETCH(MessageBox::Buttons, buttons);
    QFETCH(MessageBox::Icon, icon);
    QFETCH(MessageBox::Answer, preferred);
    QFETCH(int, qtButtons);
    QFETCH(int, qtIcon);
    QFETCH(int, qtDefault);
    QFETCH(int, press);
    QFETCH(MessageBox::Answer, answer);

    MessageBox box;
    box.prompt = "Send the door table to the panel?";
    box.title = "Door Entry";
    box.buttons = buttons;
    box.icon = icon;
    box.defaultButton = preferred;
    box.detail = "The panel keeps its old table until then.";

    WidgetPrompter prompter;
    Seen seen;
    answerBox(seen, QMessageBox::StandardButton(press));
    QCOMPARE(prompter.ask(box), answer);
    QCOMPARE(seen.title, box.title);
    QCOMPARE(seen.text, box.prompt);
    QCOMPARE(seen.informative, box.detail);
    QCOMPARE(int(seen.icon), qtIcon);
    QCOMPARE(int(seen.buttons), qtButtons);
    if (qtDefault != QMessageBox::NoButton)
        QCOMPARE(int(seen.defaultButton), qtDefault);
}

void TestWidgetPrompter::closedBoxAnswers_data()
{
    QTest::addColumn<MessageBox::Buttons>("buttons");
    QTest::addColumn<MessageBox::Answer>("answer");
    QTest::newRow("ok") << MessageBox::Buttons::Ok << MessageBox::Answer::Ok;
    QTest::newRow("ok cancel") << MessageBox::Buttons::OkCancel << MessageBox::Answer::Cancel;
    QTest::newRow("yes no") << MessageBox::Buttons::YesNo << MessageBox::Answer::No;
    QTest::newRow("yes no cancel") << MessageBox::Buttons::YesNoCancel << MessageBox::Answer::Cancel;
    QTest::newRow("retry cancel") << MessageBox::Buttons::RetryCancel << MessageBox::Answer::Cancel;
}

void TestWidgetPrompter::closedBoxAnswers()
{
    QFETCH(MessageBox::Buttons, buttons);
    QFETCH(MessageBox::Answer, answer);
    MessageBox box;
    box.prompt = "Closed";
    box.buttons = buttons;
    WidgetPrompter prompter;
    Seen seen;
    answerBox(seen, QMessageBox::NoButton);
    QCOMPARE(prompter.ask(box), answer);
}

void TestWidgetPrompter::tellShowsOk()
{
    WidgetPrompter prompter;
    Seen seen;
    answerBox(seen, QMessageBox::Ok);
    prompter.tell("Transfer complete", "Velno");
    QCOMPARE(seen.text, QString("Transfer complete"));
    QCOMPARE(seen.title, QString("Velno"));
    QCOMPARE(int(seen.buttons), int(QMessageBox::Ok));
    QCOMPARE(seen.icon, QMessageBox::NoIcon);
    QVERIFY(seen.informative.isEmpty());
}

void TestWidgetPrompter::textIsPlain()
{
    WidgetPrompter prompter;
    Seen seen;
    answerBox(seen, QMessageBox::Ok);
    prompter.tell("<b>Door 3</b> & <i>gate</i>", "Velno");
    QCOMPARE(seen.format, Qt::PlainText);
    QCOMPARE(seen.text, QString("<b>Door 3</b> & <i>gate</i>"));
}

void TestWidgetPrompter::boxBelongsToParent_data()
{
    QTest::addColumn<bool>("modalInFront");
    QTest::addColumn<bool>("fileDialog");
    QTest::addRow("box of the program's window") << false << false;
    QTest::addRow("file dialog of the program's window") << false << true;
    QTest::addRow("box of a modal window in front") << true << false;
    QTest::addRow("file dialog of a modal window in front") << true << true;
}

void TestWidgetPrompter::boxBelongsToParent()
{
    QFETCH(bool, modalInFront);
    QFETCH(bool, fileDialog);
    QWidget window;
    window.show();
    QDialog editor(&window);
    if (modalInFront) {
        editor.setModal(true);
        editor.show();
    }
    WidgetPrompter prompter(&window);
    QCOMPARE(prompter.dialogParent(), &window);
    QWidget* parentSeen = nullptr;
    const auto seen = [&parentSeen](QDialog* dialog) {
        parentSeen = dialog->parentWidget();
        dialog->reject();
    };
    if (fileDialog) {
        whenModal<QFileDialog>(seen);
        prompter.chooseFile(FileDialogRequest{});
    } else {
        whenModal<QMessageBox>(seen);
        prompter.tell("Owned", "Velno");
    }
    QCOMPARE(parentSeen, modalInFront ? static_cast<QWidget*>(&editor) : &window);
}

void TestWidgetPrompter::openDialog()
{
    QTemporaryDir dir;
    const QString existing = dir.filePath("DOORS.TNT");
    QFile file(existing);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();

    FileDialogRequest request;
    request.mode = FileDialogRequest::Mode::Open;
    request.title = "Open Door File";
    request.filter = "All Files (*.*)|*.*|TNT Files(*.TNT)|*.TNT";
    request.filterIndex = 2;

    WidgetPrompter prompter;
    SeenDialog seen;
    answerFileDialog(seen, existing);
    const FileDialogResult result = prompter.chooseFile(request);
    QCOMPARE(result.outcome, FileDialogResult::Outcome::Chosen);
    QVERIFY(result.chosen());
    QCOMPARE(result.path, existing);
    QCOMPARE(seen.title, request.title);
    QCOMPARE(seen.filters, QStringList({"All Files (*.*)", "TNT Files(*.TNT)"}));
    QCOMPARE(seen.selectedFilter, QString("TNT Files(*.TNT)"));
    QCOMPARE(seen.acceptMode, QFileDialog::AcceptOpen);
    QCOMPARE(seen.fileMode, QFileDialog::ExistingFile);
    QVERIFY(seen.options & QFileDialog::DontUseNativeDialog);
}

void TestWidgetPrompter::saveDialog()
{
    QTemporaryDir dir;
    const QString target = dir.filePath("report.txt");
    FileDialogRequest request;
    request.mode = FileDialogRequest::Mode::Save;
    request.title = "Save Report";
    request.filter = "Text Files|*.txt|All Files (*.*)|*.*";
    request.filterIndex = 1;
    request.fileName = target;

    WidgetPrompter prompter;
    SeenDialog seen;
    answerFileDialog(seen, target);
    const FileDialogResult result = prompter.chooseFile(request);
    QVERIFY(result.chosen());
    QCOMPARE(result.path, target);
    QCOMPARE(seen.title, request.title);
    QCOMPARE(seen.filters, QStringList({"Text Files (*.txt)", "All Files (*.*)"}));
    QCOMPARE(seen.selectedFilter, QString("Text Files (*.txt)"));
    QCOMPARE(seen.acceptMode, QFileDialog::AcceptSave);
    QVERIFY(seen.options & QFileDialog::DontUseNativeDialog);
    QVERIFY(seen.options & QFileDialog::DontConfirmOverwrite);
    QVERIFY(seen.defaultSuffix.isEmpty());
    QCOMPARE(seen.selected, QStringList{target});   // the initial file name
}

void TestWidgetPrompter::cancelledDialog()
{
    FileDialogRequest request;
    request.title = "Open";
    WidgetPrompter prompter;
    SeenDialog seen;
    answerFileDialog(seen, QString());
    const FileDialogResult result = prompter.chooseFile(request);
    QCOMPARE(result.outcome, FileDialogResult::Outcome::Cancelled);
    QVERIFY(!result.chosen());
    QVERIFY(result.path.isEmpty());
}

void TestWidgetPrompter::filterIndexOutOfRange()
{
    FileDialogRequest request;
    request.filter = "A (*.a)|*.a|B (*.b)|*.b";
    request.filterIndex = 7;
    WidgetPrompter prompter;
    SeenDialog seen;
    answerFileDialog(seen, QString());
    prompter.chooseFile(request);
    QCOMPARE(seen.selectedFilter, QString("A (*.a)"));
}

QTEST_MAIN(TestWidgetPrompter)
#include "tst_widgetprompter.moc"
