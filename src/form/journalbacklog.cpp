// SPDX-License-Identifier: GPL-3.0-or-later
#include "journalbacklog.h"

#include <QStringList>

namespace {

QString entries(qint64 count, const QString& rest)
{
    return count == 1 ? QStringLiteral("1 journal entry waits") + rest
                      : QStringLiteral("%1 journal entries wait").arg(count) + rest;
}

}   // namespace

JournalBacklog::JournalBacklog(QWidget* parent, int msPerSecond) : QLabel(parent)
{
    setObjectName(QStringLiteral("journalBacklog"));
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setAccessibleDescription(QStringLiteral("Journal"));
    m_shipQuiet.setSingleShot(true);
    m_shipQuiet.setInterval(kShipQuietSeconds * msPerSecond);
    connect(&m_shipQuiet, &QTimer::timeout, this, [this] {
        m_shipShown = m_toShip > 0;
        showAll();
    });
    hide();
}

void JournalBacklog::showBacklog(int waiting, const QString& reason)
{
    m_waiting = waiting;
    m_reason = reason;
    showAll();
}

void JournalBacklog::showShipping(qint64 waiting, const QString& reason)
{
    m_toShip = waiting;
    m_shipReason = reason;
    if (waiting == 0) {
        m_shipQuiet.stop();
        m_shipShown = false;
    } else if (!reason.isEmpty()) {
        m_shipShown = true;
    } else if (!m_shipShown && !m_shipQuiet.isActive()) {
        m_shipQuiet.start();
    }
    showAll();
}

void JournalBacklog::showAll()
{
    QStringList texts;
    QStringList tips;
    QStringList names;
    if (m_waiting > 0) {
        const QString why = m_reason.isEmpty() ? QStringLiteral("being written") : m_reason;
        texts << QStringLiteral("Journal: %1 waiting").arg(m_waiting);
        tips << entries(m_waiting, QStringLiteral(": ")) + why;
        names << entries(m_waiting, QStringLiteral(" to be written: ")) + why;
    }
    if (m_shipShown) {
        const QString why = m_shipReason.isEmpty() ? QStringLiteral("being shipped") : m_shipReason;
        texts << QStringLiteral("Team: %1 to ship").arg(m_toShip);
        tips << entries(m_toShip, QStringLiteral(" to be shipped to the team: ")) + why;
        names << tips.last();
    }
    setText(texts.join(QStringLiteral("   ")));
    setToolTip(tips.join(u'\n'));
    setAccessibleName(names.join(QStringLiteral(". ")));
    setVisible(!texts.isEmpty());
}
