// SPDX-License-Identifier: GPL-3.0-or-later
#include "fuzzsupport.h"

#include <QApplication>

namespace Fuzz {

void startApplication()
{
    // The application and its arguments live as long as the process: widgets
    // of the targets outlive any static destructor that could end it.
    static int argc = 1;
    static char name[] = "velno-fuzz";
    static char* argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication* const app = new QApplication(argc, argv);
    Q_UNUSED(app);
}

QString asShown(QString exact)
{
    exact.replace(QStringLiteral("\r\n"), QString(QChar::ParagraphSeparator));
    exact.replace(u'\r', QChar::ParagraphSeparator);
    exact.replace(u'\n', QChar::ParagraphSeparator);
    return exact;
}

}   // namespace Fuzz
