// SPDX-License-Identifier: GPL-3.0-or-later
#include "journalbacklog.h"

JournalBacklog::JournalBacklog(QWidget* parent) : QLabel(parent)
{
    setObjectName(QStringLiteral("journalBacklog"));
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setAccessibleDescription(QStringLiteral("Journal"));
    hide();
}

void JournalBacklog::showBacklog(int waiting, const QString& reason)
{
    m_waiting = waiting;
    const QString count = waiting == 1 ? QStringLiteral("1 journal entry waits")
                                       : QStringLiteral("%1 journal entries wait").arg(waiting);
    const QString why = reason.isEmpty() ? QStringLiteral("being written") : reason;
    setText(QStringLiteral("Journal: %1 waiting").arg(waiting));
    setToolTip(count + QStringLiteral(": ") + why);
    setAccessibleName(count + QStringLiteral(" to be written: ") + why);
    setVisible(waiting > 0);
}
