// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>
#include <QString>

// One building the technician calls: the port, the phone number and the
// modem setup string to use there, and free notes.
struct Site {
    qint64 id = 0;   // the store's, 0 for a site not stored yet
    qint64 version = 0;   // raised by the store with every change
    QString name;
    int port = 1;
    QString phone;
    QString setup;
    QString notes;
    QDateTime lastUsed;   // invalid while the site has never been used

    // The same site with the same contents; id and version aside.
    bool operator==(const Site& other) const
    {
        return name == other.name && port == other.port && phone == other.phone && setup == other.setup
            && notes == other.notes && lastUsed == other.lastUsed;
    }
};
