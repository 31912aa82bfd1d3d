// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The name of the tenant file the next tenant editor loads when it opens:
// left by Open Tenant File, cleared by the editor that loads it.
class PendingTenantFile {
public:
    const QString& name() const { return m_name; }
    void set(const QString& name) { m_name = name; }
    void clear() { m_name.clear(); }

private:
    QString m_name;
};
