// SPDX-License-Identifier: GPL-3.0-or-later
#include "journalexport.h"

#include "store/store.h"
#include "store/teamjournal.h"

#include <QIODevice>

#include <optional>

namespace JournalExport {

namespace {

constexpr int kPage = 2000;

const char kLocalHeader[] = "time,operator,host,site,kind,text\r\n";
const char kTeamHeader[] = "time,operator,host,site,kind,text,role,shipped\r\n";

QString csvLine(const JournalRecord& r, bool team)
{
    QStringList fields = {r.timeText(), r.operatorName, r.host, r.site, JournalRecord::kindName(r.kind),
                          r.text};
    if (team)
        fields << r.dbUser << (r.pending ? QStringLiteral("no") : QStringLiteral("yes"));
    QStringList quoted;
    for (const QString& field : fields)
        quoted << csvField(field);
    return quoted.join(u',') + QStringLiteral("\r\n");
}

}   // namespace

QString csvField(const QString& text)
{
    if (!text.contains(u',') && !text.contains(u'"') && !text.contains(u'\r') && !text.contains(u'\n'))
        return text;
    return u'"' + QString(text).replace(u'"', QStringLiteral("\"\"")) + u'"';
}

namespace {

// Every page that readAfter(last entry written, or none) gives, until one is short.
template <typename ReadAfter>
bool writePages(ReadAfter readAfter, Format format, bool team, QIODevice& out)
{
    if (format == Format::Csv)
        out.write(team ? kTeamHeader : kLocalHeader);
    QList<JournalRecord> page;
    std::optional<JournalRecord> last;
    do {
        if (!readAfter(last ? &*last : nullptr, &page))
            return false;
        QByteArray bytes;
        for (const JournalRecord& r : std::as_const(page))
            bytes += (format == Format::Csv ? csvLine(r, team) : r.line() + u'\n').toUtf8();
        out.write(bytes);
        if (!page.isEmpty())
            last = page.back();
    } while (page.size() == kPage);
    return true;
}

}   // namespace

bool write(Store& store, const JournalFilter& filter, Format format, QIODevice& out)
{
    const auto readAfter = [&](const JournalRecord* last, QList<JournalRecord>* page) {
        return store.readEntries(filter, last ? last->id : 0, kPage, page);
    };
    return writePages(readAfter, format, false, out);
}

bool write(TeamJournal& journal, const JournalFilter& filter, Format format, QIODevice& out)
{
    const auto readAfter = [&](const JournalRecord* last, QList<JournalRecord>* page) {
        return journal.readAfter(filter, last, kPage, page);
    };
    return writePages(readAfter, format, true, out);
}

}   // namespace JournalExport
