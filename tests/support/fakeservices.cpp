// SPDX-License-Identifier: GPL-3.0-or-later
#include "fakeservices.h"

QString MemorySettingsStore::address(const QString& application, const QString& section, const QString& key)
{
    return application + u'\x1f' + section + u'\x1f' + key.toLower();
}

QString MemorySettingsStore::read(const QString& application, const QString& section, const QString& key,
                                  const QString& fallback) const
{
    return m_values.value(address(application, section, key), fallback);
}

void MemorySettingsStore::store(const QString& application, const QString& section, const QString& key,
                                const QString& value)
{
    ++stores;
    m_values.insert(address(application, section, key), value);
}

bool MemorySettingsStore::contains(const QString& application, const QString& section,
                                   const QString& key) const
{
    return m_values.contains(address(application, section, key));
}

bool FakePrinter::showPrintDialog(int& copiesOut)
{
    if (cancel)
        return false;
    copiesOut = copies;
    return true;
}

bool FakePrinter::printLine(const QString& text)
{
    lines.append(QStringLiteral("%1,%2:%3").arg(x).arg(y).arg(text));
    x = 0;
    return true;
}
