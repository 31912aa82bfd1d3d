// SPDX-License-Identifier: GPL-3.0-or-later
#include "fileerrorbox.h"

MessageBox fileErrorBox(const QString& description, const QString& title)
{
    MessageBox box;
    box.prompt = description;
    box.title = title;
    box.buttons = MessageBox::Buttons::Ok;
    box.icon = MessageBox::Icon::Exclamation;
    return box;
}
