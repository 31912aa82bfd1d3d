// SPDX-License-Identifier: GPL-3.0-or-later
#include "teamshipping.h"

#include "core/appsettings.h"
#include "store/journalshipper.h"

TeamShipping::TeamShipping(AppSettings& settings, JournalWriter::StoreMaker makeLocal, QObject* parent)
    : QObject(parent), m_settings(settings), m_makeLocal(std::move(makeLocal))
{}

TeamShipping::~TeamShipping() = default;

void TeamShipping::follow()
{
    const QString uri = m_settings.teamDatabase();
    if (m_shipper && uri == m_team)
        return;
    stop();
    const std::optional<TeamAddress> address = TeamAddress::read(uri, nullptr);
    if (uri.isEmpty() || !address)
        return;
    m_team = uri;
    m_shipper = std::make_unique<JournalShipper>(m_makeLocal, *address, uri);
    connect(m_shipper.get(), &JournalShipper::backlogChanged, this, &TeamShipping::backlogChanged);
    connect(m_shipper.get(), &JournalShipper::tablesRefused, this, &TeamShipping::tablesRefused);
}

void TeamShipping::wake(qint64 lastId)
{
    if (m_shipper)
        m_shipper->entriesWritten(lastId);
}

void TeamShipping::stop()
{
    if (!m_shipper)
        return;
    m_shipper.reset();
    m_team.clear();
    emit backlogChanged(0, QString());
}
