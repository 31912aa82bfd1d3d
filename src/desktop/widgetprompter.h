// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/prompter.h"

#include <QPointer>
#include <QWidget>

// Message boxes and file dialogs as Qt widgets over the window that asks (see
// dialogOwner: the given parent window unless a modal window is in front),
// always Qt's own file dialog rather than the desktop's.
class WidgetPrompter : public Prompter {
public:
    explicit WidgetPrompter(QWidget* parent = nullptr) : m_parent(parent) {}

    void setDialogParent(QWidget* parent) { m_parent = parent; }
    QWidget* dialogParent() const { return m_parent; }

    MessageBox::Answer ask(const MessageBox& box) override;
    FileDialogResult chooseFile(const FileDialogRequest& request) override;
    void beep() override;

private:
    QPointer<QWidget> m_parent;
};
