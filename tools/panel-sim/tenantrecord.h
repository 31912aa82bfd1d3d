// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <optional>

// One tenant directory entry, in the record format used on the line:
// TNTDIR:<dir>TEL:<tel> CODE:<code> DOOR:<door> NAME:<name>
struct TenantRecord {
    QString directory;   // 2 to 4 digits; the key, compared as text
    QString telephone;   // 0 to 11 digits
    QString accessCode;   // 0 to 4 digits
    QString door;   // empty or one digit
    QString name;   // 0 to 17 characters, blanks allowed

    static std::optional<TenantRecord> parse(const QString& line);
    QString toLine() const;

    bool operator==(const TenantRecord& other) const;
    bool operator!=(const TenantRecord& other) const { return !(*this == other); }
};
