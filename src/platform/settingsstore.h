// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Per-user persistent text values addressed by application name, section and key.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;

    virtual QString read(const QString& application, const QString& section, const QString& key,
                         const QString& fallback) const = 0;
    virtual void store(const QString& application, const QString& section, const QString& key,
                       const QString& value) = 0;
};
