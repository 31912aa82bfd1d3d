// SPDX-License-Identifier: GPL-3.0-or-later
#include "journalcommand.h"

#include "store/journalexport.h"
#include "store/sqlitestore.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>

#include <cstdio>

namespace {

QString text(const std::string& value)
{
    return QString::fromLocal8Bit(value.c_str());
}

// The first moment of a local date, days later.
qint64 startOf(const std::string& date, int days)
{
    return QDate::fromString(text(date), Qt::ISODate).addDays(days).startOfDay().toMSecsSinceEpoch();
}

JournalFilter filterOf(const ProgramArguments::JournalOptions& options)
{
    JournalFilter filter;
    if (options.site)
        filter.site = *options.site == "-" ? QString() : text(*options.site);
    if (options.operatorName)
        filter.operatorName = text(*options.operatorName);
    if (options.since)
        filter.fromUtcMs = startOf(*options.since, 0);
    if (options.until)
        filter.toUtcMs = startOf(*options.until, 1);
    return filter;
}

}   // namespace

int printJournal(const ProgramArguments::JournalOptions& options, const QString& dataFolder, QIODevice& out)
{
    const auto format = options.csv ? JournalExport::Format::Csv : JournalExport::Format::Text;
    SqliteStore store(dataFolder);
    if (!QFileInfo::exists(store.path())) {   // no journal yet: nothing to print, nothing made
        if (format == JournalExport::Format::Csv)
            out.write("time,operator,host,site,kind,text\r\n");
        return 0;
    }
    const SqliteStore::Opening opening = store.open(SqliteStore::Damage::Refuse);
    if (opening.outcome == SqliteStore::Opening::Outcome::Failed
        || !JournalExport::write(store, filterOf(options), format, out)) {
        const QString reason =
            opening.outcome == SqliteStore::Opening::Outcome::Failed ? opening.reason : store.lastError();
        std::fprintf(stderr, "velno: the journal cannot be read: %s\n", reason.toLocal8Bit().constData());
        return 1;
    }
    return 0;
}
