// SPDX-License-Identifier: GPL-3.0-or-later
#include "journalexport.h"

#include "store/store.h"

#include <QIODevice>

namespace JournalExport {

namespace {

constexpr int kPage = 2000;

QString csvLine(const JournalRecord& r)
{
    const QStringList fields = {r.timeText(), r.operatorName, r.host, r.site, JournalRecord::kindName(r.kind),
                                r.text};
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

bool write(Store& store, const JournalFilter& filter, Format format, QIODevice& out)
{
    if (format == Format::Csv)
        out.write("time,operator,host,site,kind,text\r\n");
    QList<JournalRecord> page;
    qint64 after = 0;
    do {
        if (!store.readEntries(filter, after, kPage, &page))
            return false;
        QByteArray bytes;
        for (const JournalRecord& r : std::as_const(page))
            bytes += (format == Format::Csv ? csvLine(r) : r.line() + u'\n').toUtf8();
        out.write(bytes);
        if (!page.isEmpty())
            after = page.back().id;
    } while (page.size() == kPage);
    return true;
}

}   // namespace JournalExport
