// SPDX-License-Identifier: GPL-3.0-or-later
#include "form1context.h"

#include "platform/prompter.h"

#include <QMainWindow>

void Form1Context::setHourglass(bool on) const
{
    if (on)
        window->setCursor(Qt::WaitCursor);
    else
        window->unsetCursor();
}

void Form1Context::tellWithTitle(const QString& prompt) const
{
    platform.prompter.tell(prompt, settings.title());
}
