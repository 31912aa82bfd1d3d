// SPDX-License-Identifier: GPL-3.0-or-later
#include "clickingtoggles.h"

#include <QAbstractButton>
#include <QAccessibleWidget>
#include <QKeySequence>

namespace {

// The caption as read aloud: "&&" is an ampersand, a single "&" marks the
// access key.
QString withoutAccessKeyMark(const QString& caption)
{
    QString read;
    for (int i = 0; i < caption.size(); ++i) {
        if (caption.at(i) == QLatin1Char('&') && i + 1 < caption.size())
            ++i;
        read += caption.at(i);
    }
    return read;
}

class ClickingToggle : public QAccessibleWidget {
public:
    ClickingToggle(QAbstractButton* button, QAccessible::Role role) : QAccessibleWidget(button, role) {}

    QString text(QAccessible::Text t) const override
    {
        switch (t) {
        case QAccessible::Name:
            return widget()->accessibleName().isEmpty() ? withoutAccessKeyMark(button()->text())
                                                        : widget()->accessibleName();
        case QAccessible::Accelerator:
            return QKeySequence::mnemonic(button()->text()).toString(QKeySequence::NativeText);
        default:
            return QAccessibleWidget::text(t);
        }
    }

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.checkable = true;
        s.checked = button()->isChecked();
        s.pressed = button()->isDown();
        return s;
    }

    QStringList actionNames() const override
    {
        QStringList names;
        if (widget()->isEnabled())
            names << toggleAction();
        return names + QAccessibleWidget::actionNames();
    }

    void doAction(const QString& action) override
    {
        if (action != toggleAction())
            return QAccessibleWidget::doAction(action);
        if (widget()->isEnabled())
            button()->click();
    }

    QStringList keyBindingsForAction(const QString& action) const override
    {
        const QString key = text(QAccessible::Accelerator);
        if (action == toggleAction() && !key.isEmpty())
            return {key};
        return QAccessibleWidget::keyBindingsForAction(action);
    }

private:
    QAbstractButton* button() const { return static_cast<QAbstractButton*>(widget()); }
};

QAccessibleInterface* clickingToggleFor(const QString& className, QObject* object)
{
    QAccessible::Role role;
    if (className == QLatin1String("QRadioButton"))
        role = QAccessible::RadioButton;
    else if (className == QLatin1String("QCheckBox"))
        role = QAccessible::CheckBox;
    else
        return nullptr;
    return new ClickingToggle(static_cast<QAbstractButton*>(object), role);
}

} // namespace

void makeTogglesClick()
{
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    QAccessible::installFactory(clickingToggleFor);
}
