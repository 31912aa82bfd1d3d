// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "settingsstore.h"

// Settings kept in one INI file per application name,
// <root>/Velno/<application>.ini, each section an INI group. Keys are compared
// without regard to case (kept in lower case). Every call opens the file
// afresh, so program instances sharing the folder see each other's values.
class IniSettingsStore : public SettingsStore {
public:
    // root: the user's configuration folder (on Linux ~/.config).
    IniSettingsStore();
    explicit IniSettingsStore(const QString& root);

    static QString defaultRoot();
    static QString filePath(const QString& root, const QString& application);
    // The file of an application under the user's configuration folder.
    static QString userFilePath(const QString& application) { return filePath(defaultRoot(), application); }
    QString filePath(const QString& application) const { return filePath(m_root, application); }

    QString read(const QString& application, const QString& section, const QString& key,
                 const QString& fallback) const override;
    void store(const QString& application, const QString& section, const QString& key,
               const QString& value) override;

private:
    QString m_root;
};
