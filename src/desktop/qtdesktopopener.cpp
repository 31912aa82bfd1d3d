// SPDX-License-Identifier: GPL-3.0-or-later
#include "qtdesktopopener.h"

#include <QDesktopServices>
#include <QUrl>

bool QtDesktopOpener::openFile(const QString& path)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}
