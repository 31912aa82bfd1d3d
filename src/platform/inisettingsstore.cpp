// SPDX-License-Identifier: GPL-3.0-or-later
#include "inisettingsstore.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>
#include <QStringList>

namespace {

const char* const kFolder = "Velno";

// The key as the file has it: the program writes keys in lower case, a hand
// edit may not have. Empty when the group has no such key.
QString storedKey(const QSettings& settings, const QString& key)
{
    const QString lower = key.toLower();
    if (settings.contains(lower))
        return lower;
    for (const QString& candidate : settings.childKeys()) {
        if (candidate.compare(key, Qt::CaseInsensitive) == 0)
            return candidate;
    }
    return QString();
}

// An application name is a file name here: no folder separators in it.
QString fileNameFor(const QString& application)
{
    QString name = application;
    name.replace(QLatin1Char('/'), QLatin1Char('_'));
    name.replace(QLatin1Char('\\'), QLatin1Char('_'));
    return name + QStringLiteral(".ini");
}

}   // namespace

IniSettingsStore::IniSettingsStore() : m_root(defaultRoot()) {}

IniSettingsStore::IniSettingsStore(const QString& root) : m_root(root) {}

QString IniSettingsStore::defaultRoot()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
}

QString IniSettingsStore::filePath(const QString& root, const QString& application)
{
    return QDir(root).filePath(QLatin1String(kFolder) + QLatin1Char('/') + fileNameFor(application));
}

QString IniSettingsStore::read(const QString& application, const QString& section, const QString& key,
                               const QString& fallback) const
{
    QSettings settings(filePath(application), QSettings::IniFormat);
    settings.beginGroup(section);
    const QString stored = storedKey(settings, key);
    if (stored.isEmpty())
        return fallback;
    const QVariant value = settings.value(stored);
    // A hand-written unquoted "a,b" comes back from QSettings as a list.
    if (value.userType() == QMetaType::QStringList)
        return value.toStringList().join(QLatin1Char(','));
    return value.toString();
}

// A file that cannot be written leaves the value unstored; QSettings only
// notes that in its status, which nothing here needs.
void IniSettingsStore::store(const QString& application, const QString& section, const QString& key,
                             const QString& value)
{
    QSettings settings(filePath(application), QSettings::IniFormat);
    settings.beginGroup(section);
    const QString lower = key.toLower();
    for (const QString& candidate : settings.childKeys()) {
        if (candidate != lower && candidate.compare(lower, Qt::CaseInsensitive) == 0)
            settings.remove(candidate);   // the same key in another case, from a hand edit
    }
    settings.setValue(lower, value);
    settings.endGroup();
    settings.sync();
}
