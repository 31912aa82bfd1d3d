// SPDX-License-Identifier: GPL-3.0-or-later
// velno-setport: points one of the program's ports 1 to 4 at a device path in
// the per-user settings store, and prints the path it replaced (empty when
// none). With an empty path it removes the mapping again.
#include "platform/inisettingsstore.h"
#include "platform/qtserialport.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    QTextStream out(stdout);
    QTextStream err(stderr);
    bool ok = false;
    const int port = args.size() == 3 ? args.at(1).toInt(&ok) : 0;
    if (!ok || port < 1 || port > QtSerialPort::kPortCount) {
        err << "usage: velno-setport PORT(1-4) DEVICE-PATH   (an empty path removes the mapping)\n";
        return 2;
    }
    IniSettingsStore store;
    const QString application = QString::fromLatin1(QtSerialPort::kApplication);
    const QString section = QString::fromLatin1(QtSerialPort::kSection);
    const QString key = QString::number(port);
    out << store.read(application, section, key, QString()) << '\n';
    store.store(application, section, key, args.at(2));
    return 0;
}
