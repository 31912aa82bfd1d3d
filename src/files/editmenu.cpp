// SPDX-License-Identifier: GPL-3.0-or-later
#include "editmenu.h"

#include "desktop/clipboard.h"
#include "desktop/menuaccelerators.h"
#include "files/controlselection.h"
#include "form/form1context.h"

#include <QAction>
#include <QApplication>
#include <QMainWindow>

EditMenu::EditMenu(Form1Context& ctx, QObject* parent) : QObject(parent), m_ctx(ctx)
{
    // The keys run the menu's commands also while a field has the focus; Cut
    // shows no shortcut in the menu, but its key is the usual one.
    auto* keys = new MenuAccelerators(ctx.window, this);
    keys->add(Qt::CTRL | Qt::Key_X, ctx.ui.cut_file);
    for (QAction* item : {ctx.ui.copy_file, ctx.ui.paset_file})
        keys->add(item->shortcut()[0], item);
}

// The main window's control with the focus; none while another window has it.
QWidget* EditMenu::activeControl() const
{
    QWidget* focused = QApplication::focusWidget();
    return focused && m_ctx.window->isAncestorOf(focused) ? focused : nullptr;
}

// The clipboard is cleared before the selection is read, so a control without
// one leaves it empty; Paste becomes available only once text was put there.
void EditMenu::selectionToClipboard(Removal removal)
{
    if (m_ctx.ui.Text1->text().isEmpty())
        return;
    Clipboard& clipboard = m_ctx.platform.clipboard;
    clipboard.clear();
    QWidget* control = activeControl();
    const std::optional<QString> selection = ControlSelection::selectedText(control);
    if (!selection)
        return;
    clipboard.setText(*selection);
    if (removal == Removal::Cut)
        ControlSelection::replace(control, QString());
    m_ctx.ui.paset_file->setEnabled(true);
}

void EditMenu::paset_file_Click()
{
    ControlSelection::replace(activeControl(), m_ctx.platform.clipboard.text());
}
