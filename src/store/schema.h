// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QStringList>

// The store's tables. Each step of the list takes the database from the
// version before it (its index) to the next; the version is kept in the
// database's user_version.
namespace Schema {

QList<QStringList> steps();
inline int currentVersion()
{
    return int(steps().size());
}

}   // namespace Schema
