// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "panelevent.h"
#include "tenantrecord.h"

#include <QList>
#include <QMap>
#include <QString>
#include <optional>

// Everything the panel remembers: master code, parameters, tenant
// directory and event record. No command handling here.
class PanelState {
public:
    static constexpr int kMaxEvents = 500;   // oldest events drop out beyond this

    QString masterCode() const { return m_masterCode; }
    void setMasterCode(const QString& code) { m_masterCode = code; }

    std::optional<QString> parameter(const QString& word) const;
    void setParameter(const QString& word, const QString& value);
    const QMap<QString, QString>& parameters() const { return m_parameters; }

    // Kept ordered by directory number.
    const QList<TenantRecord>& tenants() const { return m_tenants; }
    void putTenant(const TenantRecord& tenant);
    bool removeTenant(const QString& directory);
    void clearTenants() { m_tenants.clear(); }

    const QList<PanelEvent>& events() const { return m_events; }
    void addEvent(const QString& text);
    void appendEvent(const PanelEvent& event);
    void clearEvents() { m_events.clear(); }

    // The panel clock as last set with DAT and TIM; it does not run.
    QString clockStamp() const;

    bool operator==(const PanelState& other) const;

private:
    QString m_masterCode = QStringLiteral("1234");
    QMap<QString, QString> m_parameters;
    QList<TenantRecord> m_tenants;
    QList<PanelEvent> m_events;
};
