// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <optional>

// Which entries of the journal to read. Every part left empty lets all pass.
struct JournalFilter {
    std::optional<QString> site;   // "" for the entries made with no site in use
    std::optional<QString> operatorName;
    std::optional<qint64> fromUtcMs;   // inclusive
    std::optional<qint64> toUtcMs;   // exclusive
    QString search;   // a substring of the text, any case

    bool passesAll() const { return !site && !operatorName && !fromUtcMs && !toUtcMs && search.isEmpty(); }

    bool operator==(const JournalFilter& other) const
    {
        return site == other.site && operatorName == other.operatorName && fromUtcMs == other.fromUtcMs
            && toUtcMs == other.toUtcMs && search == other.search;
    }
};
