#pragma once

#include <QObject>
#include <functional>

class QWidget;

// The focus and keyboard notifications of a control, in the order a key
// reaches it: keyDown with the key code, then keyPress with the character
// code before the character is inserted, then the control's own handling.
class ControlEvents : public QObject {
    Q_OBJECT
public:
    static constexpr int kBackspace = 8;
    static constexpr int kEnter = 13;

    // The notifications of a control, created on first use.
    static ControlEvents& of(QWidget* control);

    // Runs after the control's own focus handling (so a caret set here stays),
    // and for a click that brings the focus also after the click's.
    std::function<void()> gotFocus;
    // Return true to swallow the key.
    std::function<bool(int keyCode)> keyDown;
    // May set the code to 0 to swallow the character.
    std::function<void(int& charCode)> keyPress;

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit ControlEvents(QWidget* control);

    bool m_clickPending = false;   // the focus came by a mouse press not yet handled
};
