// SPDX-License-Identifier: GPL-3.0-or-later
#include "panelstate.h"

#include <QStringList>
#include <algorithm>

namespace {

bool directoryLess(const QString& a, const QString& b)
{
    const int na = a.toInt();
    const int nb = b.toInt();
    return na != nb ? na < nb : a < b;
}

}   // namespace

std::optional<QString> PanelState::parameter(const QString& word) const
{
    const auto it = m_parameters.constFind(word);
    if (it == m_parameters.constEnd())
        return std::nullopt;
    return it.value();
}

void PanelState::setParameter(const QString& word, const QString& value)
{
    m_parameters.insert(word, value);
}

void PanelState::putTenant(const TenantRecord& tenant)
{
    const auto pos = std::lower_bound(
        m_tenants.begin(), m_tenants.end(), tenant.directory,
        [](const TenantRecord& t, const QString& dir) { return directoryLess(t.directory, dir); });
    if (pos != m_tenants.end() && pos->directory == tenant.directory)
        *pos = tenant;
    else
        m_tenants.insert(pos, tenant);
}

bool PanelState::removeTenant(const QString& directory)
{
    return m_tenants.removeIf([&](const TenantRecord& t) { return t.directory == directory; }) > 0;
}

void PanelState::addEvent(const QString& text)
{
    appendEvent(PanelEvent{clockStamp(), text});
}

void PanelState::appendEvent(const PanelEvent& event)
{
    m_events.append(event);
    if (m_events.size() > kMaxEvents)
        m_events.remove(0, m_events.size() - kMaxEvents);
}

QString PanelState::clockStamp() const
{
    QString date = QStringLiteral("--/--/----");
    QString time = QStringLiteral("--:--");
    if (const auto dat = parameter(QStringLiteral("DAT"))) {
        const QStringList f = dat->split(QLatin1Char(' '));   // MM DD YYYY W
        date = f.value(0) + QLatin1Char('/') + f.value(1) + QLatin1Char('/') + f.value(2);
    }
    if (const auto tim = parameter(QStringLiteral("TIM")))
        time = QString(*tim).replace(QLatin1Char(' '), QLatin1Char(':'));
    return date + QLatin1Char(' ') + time;
}

bool PanelState::operator==(const PanelState& other) const
{
    return m_masterCode == other.m_masterCode && m_parameters == other.m_parameters
        && m_tenants == other.m_tenants && m_events == other.m_events;
}
