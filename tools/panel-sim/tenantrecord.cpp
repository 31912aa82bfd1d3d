// SPDX-License-Identifier: GPL-3.0-or-later
#include "tenantrecord.h"

#include <QRegularExpression>

std::optional<TenantRecord> TenantRecord::parse(const QString& line)
{
    static const QRegularExpression kRecord(
        QStringLiteral("^TNTDIR:(\\d{2,4})TEL:(\\d{0,11}) CODE:(\\d{0,4}) DOOR:(\\d?) NAME:(.{0,17})$"));
    const QRegularExpressionMatch m = kRecord.match(line);
    if (!m.hasMatch())
        return std::nullopt;
    return TenantRecord{m.captured(1), m.captured(2), m.captured(3), m.captured(4), m.captured(5)};
}

QString TenantRecord::toLine() const
{
    return QStringLiteral("TNTDIR:%1TEL:%2 CODE:%3 DOOR:%4 NAME:%5")
        .arg(directory, telephone, accessCode, door, name);
}

bool TenantRecord::operator==(const TenantRecord& other) const
{
    return directory == other.directory && telephone == other.telephone && accessCode == other.accessCode
        && door == other.door && name == other.name;
}
