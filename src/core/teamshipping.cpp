// SPDX-License-Identifier: GPL-3.0-or-later
#include "teamshipping.h"

#include "core/appsettings.h"
#include "store/journalshipper.h"

#include <QEventLoop>
#include <QTimer>

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

bool TeamShipping::waitUntilShipped(int timeoutMs, qint64* waiting, QString* reason)
{
    follow();
    if (!m_shipper)
        return true;
    *waiting = -1;
    reason->clear();
    bool shipped = false;
    QEventLoop loop;
    QTimer timeout;
    timeout.setSingleShot(true);
    connect(&timeout, &QTimer::timeout, &loop, &QEventLoop::quit);
    const QMetaObject::Connection told =
        connect(this, &TeamShipping::backlogChanged, &loop, [&](qint64 left, const QString& why) {
            *waiting = left;
            *reason = why;
            shipped = left == 0 && why.isEmpty();
            if (shipped || !why.isEmpty())
                loop.quit();
        });
    timeout.start(timeoutMs);
    loop.exec();
    disconnect(told);
    if (!shipped && reason->isEmpty())
        *reason = QStringLiteral("the server did not finish within %1 s").arg(timeoutMs / 1000);
    return shipped;
}

void TeamShipping::stop()
{
    if (!m_shipper)
        return;
    m_shipper.reset();
    m_team.clear();
    emit backlogChanged(0, QString());
}
