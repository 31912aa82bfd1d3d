// SPDX-License-Identifier: GPL-3.0-or-later
#include "assistiveactions.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAccessibleWidget>
#include <QComboBox>
#include <QItemSelectionModel>
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
        default: return QAccessibleWidget::text(t);
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

// The list box whose list this is, or null.
QComboBox* listBoxOf(QObject* list)
{
    for (QObject* owner = list->parent(); owner; owner = owner->parent()) {
        if (auto* box = qobject_cast<QComboBox*>(owner))
            return box;
    }
    return nullptr;
}

// An item selected in the list that is not its current one was selected
// through the accessibility interface: the mouse and the keys make the item
// they select the current one.
class AssistiveChoice : public QObject {
public:
    static void follow(QComboBox* box)
    {
        if (!box || box->findChild<QObject*>(kName, Qt::FindDirectChildrenOnly))
            return;
        new AssistiveChoice(box);
    }

private:
    static inline const QString kName = QStringLiteral("assistiveChoice");

    explicit AssistiveChoice(QComboBox* box) : QObject(box)
    {
        setObjectName(kName);
        QAbstractItemView* list = box->view();
        connect(list->selectionModel(), &QItemSelectionModel::selectionChanged, this,
                [box, list](const QItemSelection& selected) {
                    const QModelIndexList items = selected.indexes();
                    if (items.size() != 1 || items.first() == list->currentIndex())
                        return;
                    box->setCurrentIndex(items.first().row());
                    box->hidePopup();
                });
    }
};

QAccessibleInterface* assistiveInterfaceFor(const QString& className, QObject* object)
{
    // A list box's list shows through Qt's own interface; the list box is
    // made to follow what is selected in it.
    if (className == QLatin1String("QComboBoxListView")) {
        AssistiveChoice::follow(listBoxOf(object));
        return nullptr;
    }
    QAccessible::Role role;
    if (className == QLatin1String("QRadioButton"))
        role = QAccessible::RadioButton;
    else if (className == QLatin1String("QCheckBox"))
        role = QAccessible::CheckBox;
    else
        return nullptr;
    return new ClickingToggle(static_cast<QAbstractButton*>(object), role);
}

}   // namespace

void makeAssistiveActionsAct()
{
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    QAccessible::installFactory(assistiveInterfaceFor);
}
