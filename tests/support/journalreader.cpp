// SPDX-License-Identifier: GPL-3.0-or-later
#include "journalreader.h"

#include "store/sqlitestore.h"

QList<JournalRecord> storedEntries(const QString& folder)
{
    SqliteStore store(folder);
    store.open(SqliteStore::Damage::Refuse);
    QList<JournalRecord> all;
    QList<JournalRecord> page;
    while (store.readEntries({}, all.isEmpty() ? 0 : all.back().id, 1000, &page) && !page.isEmpty())
        all += page;
    return all;
}

QStringList storedLines(const QString& folder)
{
    QStringList lines;
    for (const JournalRecord& r : storedEntries(folder))
        lines << r.siteText()
                + (r.kind == JournalRecord::Kind::Sent ? QStringLiteral(" > ") : QStringLiteral(" * "))
                + r.text;
    return lines;
}
