// SPDX-License-Identifier: GPL-3.0-or-later
#include "journalcommand.h"

#include "store/journalprint.h"

#include <QDate>
#include <QFile>

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

int printJournal(const ProgramArguments::JournalOptions& options, const QString& dataFolder,
                 const QString& teamUri, QIODevice& out)
{
    JournalPrint::Request request;
    request.dataFolder = dataFolder;
    request.teamUri = options.local ? QString() : teamUri;
    request.filter = filterOf(options);
    request.format = options.csv ? JournalExport::Format::Csv : JournalExport::Format::Text;
    QFile warnings;
    if (!warnings.open(stderr, QIODevice::WriteOnly | QIODevice::Unbuffered))
        return JournalPrint::kUnreadable;
    return JournalPrint::print(request, out, warnings);
}
