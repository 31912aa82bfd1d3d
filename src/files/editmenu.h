// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

struct Form1Context;
class QWidget;

// Cut, Copy and Paste of the main window's Edit menu, on the control that
// has the focus. Cut and Copy act only while the receive pane holds text.
class EditMenu : public QObject {
    Q_OBJECT
public:
    explicit EditMenu(Form1Context& ctx, QObject* parent = nullptr);

    void cut_file_Click() { selectionToClipboard(Removal::Cut); }
    void copy_file_Click() { selectionToClipboard(Removal::Keep); }
    void paset_file_Click();

private:
    enum class Removal { Keep, Cut };

    QWidget* activeControl() const;
    void selectionToClipboard(Removal removal);

    Form1Context& m_ctx;
};
