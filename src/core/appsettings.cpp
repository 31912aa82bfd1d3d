// SPDX-License-Identifier: GPL-3.0-or-later
#include "appsettings.h"

#include "platform/settingsstore.h"

const QString AppSettings::kMainTitle = QStringLiteral("Velno 6100 Management System");
const QString AppSettings::kSettingTitle = QStringLiteral("Velno 6300 Managemant System");
const QString AppSettings::kSection = QStringLiteral("Properties");
const QString AppSettings::kWindowSection = QStringLiteral("Window");
const QString AppSettings::kTeamSection = QStringLiteral("Team");

namespace {
const QString kPortKey = QStringLiteral("Port");
const QString kPhoneKey = QStringLiteral("ph");
const QString kSetupKey = QStringLiteral("sett");
const QString kByteCycleKey = QStringLiteral("savea");
const QString kGeometryKey = QStringLiteral("geometry");
const QString kTeamDatabaseKey = QStringLiteral("database");
}   // namespace

AppSettings::AppSettings(SettingsStore& store) : m_store(store) {}

QString AppSettings::read(const QString& application, const QString& key) const
{
    return m_store.read(application, kSection, key, QString());
}

void AppSettings::store(const QString& application, const QString& key, const QString& value)
{
    m_store.store(application, kSection, key, value);
}

QString AppSettings::port() const
{
    return read(kMainTitle, kPortKey);
}
void AppSettings::storePort(const QString& value)
{
    store(kMainTitle, kPortKey, value);
}
QString AppSettings::phone() const
{
    return read(kMainTitle, kPhoneKey);
}
void AppSettings::storePhone(const QString& value)
{
    store(kMainTitle, kPhoneKey, value);
}
QString AppSettings::setupString() const
{
    return read(kSettingTitle, kSetupKey);
}
void AppSettings::storeSetupString(const QString& value)
{
    store(kSettingTitle, kSetupKey, value);
}
QString AppSettings::byteCycle() const
{
    return read(kSettingTitle, kByteCycleKey);
}
void AppSettings::storeByteCycle(const QString& value)
{
    store(kSettingTitle, kByteCycleKey, value);
}

// The store keeps text: the geometry's bytes go in as base64.
QByteArray AppSettings::windowGeometry() const
{
    const QString text = m_store.read(kMainTitle, kWindowSection, kGeometryKey, QString());
    const auto decoded =
        QByteArray::fromBase64Encoding(text.toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
    return decoded ? *decoded : QByteArray();
}

void AppSettings::storeWindowGeometry(const QByteArray& geometry)
{
    m_store.store(kMainTitle, kWindowSection, kGeometryKey, QString::fromLatin1(geometry.toBase64()));
}

QString AppSettings::teamDatabase() const
{
    return m_store.read(kMainTitle, kTeamSection, kTeamDatabaseKey, QString()).trimmed();
}

void AppSettings::storeTeamDatabase(const QString& uri)
{
    m_store.store(kMainTitle, kTeamSection, kTeamDatabaseKey, uri);
}
