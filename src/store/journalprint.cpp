// SPDX-License-Identifier: GPL-3.0-or-later
#include "journalprint.h"

#include "store/sqlitestore.h"
#include "store/teamaddress.h"
#include "store/teamconnection.h"
#include "store/teamjournal.h"
#include "store/teamschema.h"

#include <QFileInfo>
#include <QIODevice>

#include <memory>

namespace JournalPrint {

namespace {

void warn(QIODevice& warnings, const QString& line)
{
    warnings.write((QStringLiteral("velno: ") + line + u'\n').toLocal8Bit());
}

// The local store, opened to be read; none when there is none yet (then
// nothing is made) or it cannot be opened (reason set).
std::unique_ptr<SqliteStore> openLocal(const QString& folder, QString* reason)
{
    auto store = std::make_unique<SqliteStore>(folder);
    if (!QFileInfo::exists(store->path()))
        return nullptr;
    const SqliteStore::Opening opening = store->open(SqliteStore::Damage::Refuse);
    if (opening.outcome == SqliteStore::Opening::Outcome::Failed) {
        *reason = opening.reason;
        return nullptr;
    }
    return store;
}

int printLocal(const Request& request, QIODevice& out, QIODevice& warnings)
{
    QString reason;
    const std::unique_ptr<SqliteStore> store = openLocal(request.dataFolder, &reason);
    if (!store && reason.isEmpty()) {   // no journal yet: nothing to print
        if (request.format == JournalExport::Format::Csv)
            out.write("time,operator,host,site,kind,text\r\n");
        return kDone;
    }
    if (store && JournalExport::write(*store, request.filter, request.format, out))
        return kDone;
    warn(warnings, QStringLiteral("the journal cannot be read: %1").arg(store ? store->lastError() : reason));
    return kUnreadable;
}

// The team's journal; none printed and the reason set when its database
// cannot be reached or read as this program's.
std::optional<int> printTeam(const Request& request, QIODevice& out, QIODevice& warnings, QString* reason)
{
    const std::optional<TeamAddress> address = TeamAddress::read(request.teamUri, reason);
    if (!address)
        return std::nullopt;
    if (address->weakTls)
        warn(warnings, address->weakTlsText);
    TeamConnection connection(*address);
    if (!connection.open()) {
        *reason = connection.error();
        return std::nullopt;
    }
    const TeamSchema::State state = TeamSchema::check(connection.database());
    if (state.kind != TeamSchema::State::Kind::Ready) {
        *reason = state.text;
        return std::nullopt;
    }
    QString localReason;
    const std::unique_ptr<SqliteStore> local = openLocal(request.dataFolder, &localReason);
    if (!local && !localReason.isEmpty()) {
        warn(warnings, QStringLiteral("the journal cannot be read: %1").arg(localReason));
        return kUnreadable;
    }
    TeamJournal journal(connection.database(), local.get(), request.teamUri);
    if (JournalExport::write(journal, request.filter, request.format, out))
        return kDone;
    warn(warnings, journal.lastError());
    return kUnreadable;
}

}   // namespace

int print(const Request& request, QIODevice& out, QIODevice& warnings)
{
    if (request.teamUri.isEmpty())
        return printLocal(request, out, warnings);
    QString reason;
    if (const std::optional<int> status = printTeam(request, out, warnings, &reason))
        return *status;
    warn(warnings, reason + QStringLiteral(" This computer's journal follows."));
    const int local = printLocal(request, out, warnings);
    return local == kDone ? kLocalInstead : local;
}

}   // namespace JournalPrint
