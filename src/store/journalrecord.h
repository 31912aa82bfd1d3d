// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>
#include <QString>

#include <optional>

// One entry of the journal, as it is stored: the moment in UTC with the
// local offset of that moment, who wrote it on which computer, the site in
// use (empty for none), and a line sent or an event. The text is already
// masked when a record is made.
struct JournalRecord {
    enum class Kind { Sent, Event };

    qint64 id = 0;   // the store's, 0 until stored
    qint64 utcMs = 0;   // milliseconds since the epoch
    std::optional<int> offsetSeconds;   // east of UTC; none for entries from before it was kept
    QString operatorName;
    QString host;
    QString site;
    Kind kind = Kind::Event;
    QString text;
    // In a team's journal: the copy of the program that wrote it (its
    // installation id), the server's role that shipped it, and whether it
    // is this computer's own and not yet on the server. Empty and false in
    // the local journal.
    QString installationId;
    QString dbUser;
    bool pending = false;

    static JournalRecord at(const QDateTime& when, Kind kind, const QString& text);

    // "2026-12-09T15:02:11+01:00", the local time of the moment; without
    // an offset, the time in the computer's zone and no offset.
    QString timeText() const;
    // "tech@workshop-pc", or "" when neither is known.
    QString who() const;
    // who() with the server's role beside it, "anna@pc (tech_anna)", or
    // "anna@pc (not shipped)" for an own entry still waiting; who() alone
    // in the local journal.
    QString whoInTeam() const;
    // The site as records show it: "-" for none.
    QString siteText() const;
    // 2026-12-09T15:02:11+01:00 tech@workshop-pc Elm House > PARDOT1 07
    // (whoInTeam() in place of who() in a team's journal)
    QString line() const;
    static QString kindName(Kind kind);   // "sent", "event"
};
