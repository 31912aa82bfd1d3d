// SPDX-License-Identifier: GPL-3.0-or-later
#include "form1context.h"

#include "form/statuspanels.h"
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

void Form1Context::setSiteInUse(const QString& name, const SiteLine& given)
{
    static const QString kPrefix = QStringLiteral("Site in use: ");
    siteInUse = name;
    siteLine = name.isEmpty() ? SiteLine() : given;
    const QString line = name.isEmpty() ? QString() : kPrefix + name;
    ui.bar->setToolTip(line);
    QStringList description = window->accessibleDescription().split(QLatin1Char('\n'));
    if (description.first().startsWith(kPrefix) || description == QStringList{QString()})
        description.removeFirst();
    if (!line.isEmpty())
        description.prepend(line);
    window->setAccessibleDescription(description.join(QLatin1Char('\n')));
}
