// SPDX-License-Identifier: GPL-3.0-or-later
// The main window under whatever the operator does: keys (held down or
// not), pastes and drops of any text into any field, focus arriving for any
// reason, clicks on any button or field, menu commands. Every write that
// reaches the port is one command line the program can send: a known
// command word, no control character inside, one CR LF at its end. The one
// line that goes out in two writes (the welcome message) goes out whole
// within the step.
//
// The prompter answers every box from the input and cancels every file
// dialog, so no file is ever sent: a file's lines go out as they stand and
// are not the operator's typing.
//
// Input: the starting state (fresh, or connected with every command usable),
// then steps, each an operation and its arguments.

#include "fuzzsupport.h"

#include "app/mainwindow.h"
#include "desktop/maskedfield.h"
#include "pasteanddrop.h"
#include "platform/eightbit.h"
#include "testplatform.h"

#include <QAccessible>
#include <QAccessibleInterface>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <cstdio>
#include <fuzzer/FuzzedDataProvider.h>

namespace {

QString someText(FuzzedDataProvider& in)
{
    const QByteArray bytes = QByteArray::fromStdString(in.ConsumeRandomLengthString(24));
    return in.ConsumeBool() ? EightBit::decode(bytes) : QString::fromUtf8(bytes);
}

class Session {
public:
    explicit Session(FuzzedDataProvider& in) : m_in(in), m_window(m_fakes.platform)
    {
        m_fakes.prompter.onBox = [this](const MessageBox&) {
            m_fakes.prompter.answer(m_in.PickValueInArray({MessageBox::Answer::Yes, MessageBox::Answer::No,
                                                           MessageBox::Answer::Ok, MessageBox::Answer::Cancel,
                                                           MessageBox::Answer::Retry}));
        };
        m_window.Form_Load();
        m_window.show();
        QApplication::setActiveWindow(&m_window);
        collectTargets();
        if (m_in.ConsumeBool())
            connectAndSend();
    }

    void step()
    {
        switch (m_in.ConsumeIntegralInRange(0, 9)) {
        case 0: pressKey(); break;
        case 1: pasteInto(pickField(), someText(m_in)); break;
        case 2: dropOnto(pickField(), someText(m_in)); break;
        case 3: editMenuPaste(); break;
        case 4: setTextAccessibly(); break;
        case 5: moveFocus(); break;
        case 6: reactivateWindow(); break;
        case 7: QTest::mouseClick(pick(m_buttons), Qt::LeftButton); break;
        case 8: clickIntoField(); break;
        default: triggerMenuCommand(); break;
        }
        QCoreApplication::processEvents();
        checkWrites();
    }

private:
    template <typename T>
    T* pick(const QList<T*>& from)
    {
        return from.at(m_in.ConsumeIntegralInRange<qsizetype>(0, from.size() - 1));
    }

    // The main window's own controls (the hidden setting dialog's buttons
    // would unload it), and the setting dialog's setup-string field.
    template <typename T>
    QList<T*> controls() const
    {
        QList<T*> found = m_window.findChildren<T*>();
        found.removeIf([this](T* w) { return w->window() != &m_window || w->objectName().isEmpty(); });
        return found;
    }

    void collectTargets()
    {
        Form1Ui& ui = m_window.ui();
        m_fields = controls<QLineEdit>();
        m_fields << m_window.setform().ensureLoaded().Text1;
        m_buttons = controls<QPushButton>();
        for (QMenu* menu : {ui.file, ui.edit_file, ui.hilp_file}) {
            for (QAction* action : menu->actions()) {
                if (!action->isSeparator() && !action->menu() && action != ui.Setting
                    && action != ui.closeItem)
                    m_actions << action;   // not the modal dialog, not the end of the program
            }
        }
        m_focusable = controls<QWidget>();
        m_focusable.removeIf([](QWidget* w) { return w->focusPolicy() == Qt::NoFocus; });
    }

    void connectAndSend()
    {
        Form1Ui& ui = m_window.ui();
        ui.Option1->click();
        ui.Text2->clear();
        ui.connectButton->click();
        for (QWidget* control : ui.commandControls())
            control->setEnabled(true);
    }

    QLineEdit* pickField() { return pick(m_fields); }

    // A key as the window system delivers it (shortcuts first, then the
    // focused control), with the text it types.
    void pressKey()
    {
        static const struct {
            Qt::Key key;
            char text;
        } kKeys[] = {
            {Qt::Key_0, '0'},          {Qt::Key_5, '5'},     {Qt::Key_9, '9'},       {Qt::Key_A, 'a'},
            {Qt::Key_Z, 'z'},          {Qt::Key_Space, ' '}, {Qt::Key_Return, '\r'}, {Qt::Key_Enter, '\r'},
            {Qt::Key_Backspace, '\b'}, {Qt::Key_Tab, '\t'},  {Qt::Key_Backtab, 0},   {Qt::Key_Delete, 0x7F},
            {Qt::Key_Escape, 0x1B},    {Qt::Key_Left, 0},    {Qt::Key_Home, 0},      {Qt::Key_End, 0},
            {Qt::Key_X, 'x'},          {Qt::Key_C, 'c'},     {Qt::Key_V, 'v'},       {Qt::Key_unknown, 0}};
        const auto& key = m_in.PickValueInArray(kKeys);
        const Qt::KeyboardModifiers modifiers = m_in.PickValueInArray(
            {Qt::NoModifier, Qt::ShiftModifier, Qt::ControlModifier, Qt::KeypadModifier});
        QString text = key.text ? QString(QLatin1Char(key.text)) : QString();
        if (key.key == Qt::Key_unknown)
            text = QString(QChar(m_in.ConsumeIntegral<uint16_t>()));
        else if (modifiers == Qt::ControlModifier && !text.isEmpty() && text.at(0).isLetter())
            text = QString(QChar(text.at(0).unicode() - 'a' + 1));   // Ctrl+V types 0x16
        const bool autoRepeat = m_in.ConsumeBool();
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : &m_window;
        QPointer<QWidget> alive(target);
        QTest::simulateEvent(target, true, key.key, modifiers, text, autoRepeat, 0);
        if (alive)
            QTest::simulateEvent(target, false, key.key, modifiers, text, autoRepeat, 0);
    }

    void editMenuPaste()
    {
        m_fakes.clipboard.setText(someText(m_in));
        if (m_window.ui().paset_file->isEnabled())
            m_window.ui().paset_file->trigger();
    }

    void setTextAccessibly()
    {
        if (QAccessibleInterface* field = QAccessible::queryAccessibleInterface(pickField()))
            field->setText(QAccessible::Value, someText(m_in));
    }

    void moveFocus()
    {
        static const Qt::FocusReason kReasons[] = {Qt::MouseFocusReason,   Qt::TabFocusReason,
                                                   Qt::BacktabFocusReason, Qt::ActiveWindowFocusReason,
                                                   Qt::PopupFocusReason,   Qt::ShortcutFocusReason,
                                                   Qt::MenuBarFocusReason, Qt::OtherFocusReason};
        pick(m_focusable)->setFocus(m_in.PickValueInArray(kReasons));
    }

    void reactivateWindow()
    {
        QApplication::setActiveWindow(nullptr);
        QApplication::setActiveWindow(&m_window);
    }

    void clickIntoField()
    {
        QLineEdit* field = pickField();
        const int x = m_in.ConsumeIntegralInRange(0, std::max(0, field->width() - 1));
        QTest::mouseClick(field, Qt::LeftButton, {}, QPoint(x, field->height() / 2));
    }

    void triggerMenuCommand()
    {
        QAction* action = pick(m_actions);
        if (action->isEnabled())
            action->trigger();
    }

    QByteArray setupString()
    {
        const SetForm* setform = m_window.setform().loaded();
        return setform ? EightBit::encode(setform->Text1->text()) : QByteArray();
    }

    void checkWrites()
    {
        m_sentLines.takeNew(m_fakes.port.writes, {setupString()});
        m_sentLines.requireWhole();
    }

    FuzzedDataProvider& m_in;
    TestPlatform m_fakes;
    MainWindow m_window;
    QList<QLineEdit*> m_fields;
    QList<QPushButton*> m_buttons;
    QList<QAction*> m_actions;
    QList<QWidget*> m_focusable;
    Fuzz::SentLineCheck m_sentLines;
};

}   // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    Fuzz::startApplication();
    // Keys no control takes are reported by the test library: noise here.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
        if (type == QtCriticalMsg || type == QtFatalMsg)
            std::fprintf(stderr, "%s\n", qPrintable(message));
    });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider in(data, size);
    Session session(in);
    for (int steps = 0; steps < 64 && in.remaining_bytes() > 0; ++steps)
        session.step();
    return 0;
}
