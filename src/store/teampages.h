// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "store/journalfilter.h"
#include "store/journalrecord.h"
#include "store/journalwriter.h"
#include "store/teamaddress.h"

#include <QAtomicInt>
#include <QObject>
#include <QStringList>

#include <memory>
#include <optional>

class QThread;
class TeamPagesWorker;

// Reads the team's journal (TeamJournal) on a thread of its own, through
// connections of its own to the team database and the local store, so that
// a slow, far or hung server never holds up the window: each request is
// answered by a signal carrying its ticket. The connection is made on the
// first request, within the address's connect timeout, and again after a
// failure.
class TeamPages : public QObject {
    Q_OBJECT
public:
    TeamPages(const TeamAddress& address, const QString& team, JournalWriter::StoreMaker makeLocal,
              QObject* parent = nullptr);
    ~TeamPages() override;

    // Up to rows entries before the edge (older; none: the newest) or after
    // it (none: the oldest). Returns the ticket pageRead() carries.
    int readPage(const JournalFilter& filter, bool older, const std::optional<JournalRecord>& edge, int rows);
    int count(const JournalFilter& filter);
    void readChoices();

signals:
    // error: why the page could not be read, the server not reached or not set up.
    void pageRead(int ticket, const QList<JournalRecord>& entries, const QString& error);
    void counted(int ticket, qint64 count, const QString& error);
    void choicesRead(const QStringList& sites, const QStringList& operators);

private:
    std::shared_ptr<TeamPagesWorker> m_worker;
    QThread* m_thread = nullptr;
    int m_ticket = 0;
};
