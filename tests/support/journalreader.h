// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "store/journalrecord.h"

#include <QList>
#include <QString>
#include <QStringList>

// What the store in a folder holds, read through a connection of its own.
QList<JournalRecord> storedEntries(const QString& folder);
// Each entry as "site > text" or "site * text", the site "-" for none.
QStringList storedLines(const QString& folder);
