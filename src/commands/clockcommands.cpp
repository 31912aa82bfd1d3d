// SPDX-License-Identifier: GPL-3.0-or-later
#include "clockcommands.h"

#include "commands/connectionguard.h"
#include "core/commandline.h"
#include "form/form1context.h"
#include "platform/clock.h"

#include <QDateTime>
#include <QPushButton>

namespace {

// At least two digits, a leading zero where needed.
QString twoDigits(int n)
{
    return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
}

// Month, day, year and day of the week (Monday 1 ... Sunday 7).
QStringList dateFields(const QDate& date)
{
    return {twoDigits(date.month()), twoDigits(date.day()), QString::number(date.year()),
            QString::number(date.dayOfWeek())};
}

// Hour (00-23) and minute; no seconds.
QStringList timeFields(const QTime& time)
{
    return {twoDigits(time.hour()), twoDigits(time.minute())};
}

}   // namespace

ClockCommands::ClockCommands(Form1Context& ctx, QObject* parent) : QObject(parent), m_ctx(ctx) {}

void ClockCommands::Date_Click()
{
    const QStringList fields = dateFields(m_ctx.platform.clock.now().date());
    if (sendGuarded(m_ctx, CommandLine::command(QStringLiteral("DAT"), fields)))
        m_ctx.ui.rtrtc->setFocus();
}

void ClockCommands::rtrtc_Click()
{
    const QStringList fields = timeFields(m_ctx.platform.clock.now().time());
    if (sendGuarded(m_ctx, CommandLine::command(QStringLiteral("TIM"), fields)))
        m_ctx.ui.rtrtc->setFocus();
}
