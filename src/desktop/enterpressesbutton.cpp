// SPDX-License-Identifier: GPL-3.0-or-later
#include "enterpressesbutton.h"

#include "desktop/heldkeys.h"

#include <QKeyEvent>
#include <QPushButton>

namespace {

class EnterPresses : public QObject {
public:
    using QObject::QObject;

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto& key = static_cast<const QKeyEvent&>(*event);
        const bool enter = key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter;
        if (!enter || (key.modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
            return false;
        if (!HeldKeys::isRepeat(key))
            static_cast<QPushButton*>(watched)->click();
        return true;
    }
};

}   // namespace

void pressOnEnter(QPushButton* button)
{
    HeldKeys::watch();
    button->installEventFilter(new EnterPresses(button));
}
