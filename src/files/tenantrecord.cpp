// SPDX-License-Identifier: GPL-3.0-or-later
#include "tenantrecord.h"

#include "files/blanks.h"
#include "files/textfile.h"

QString TenantRecord::line() const
{
    return QStringLiteral("TNTDIR:") + Blanks::trimmed(directory) + QStringLiteral("TEL:")
        + Blanks::trimmed(telephone) + QStringLiteral(" CODE:") + Blanks::trimmed(code)
        + QStringLiteral(" DOOR:") + Blanks::trimmed(door) + QStringLiteral(" NAME:") + Blanks::trimmed(name)
        + TextFile::kCrLf;
}
