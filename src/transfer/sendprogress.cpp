// SPDX-License-Identifier: GPL-3.0-or-later
#include "sendprogress.h"

#include "form/form1context.h"
#include "form/statuspanels.h"

#include <QProgressBar>
#include <QPushButton>
#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr double kSecondsPerMinute = 60;
constexpr double kMinutesPerHour = 60;

// The bar counts in int; a count beyond that stays at its end.
int barValue(qint64 count)
{
    return int(std::min<qint64>(count, std::numeric_limits<int>::max()));
}

QString amount(double value, const char* one, const char* many)
{
    return QStringLiteral("%1 %2").arg(QString::number(value, 'f', 0),
                                       QLatin1String(value == 1 ? one : many));
}

}   // namespace

SendProgress::SendProgress(Form1Context& ctx) : m_ctx(ctx) {}

void SendProgress::begin(qint64 lines, double secondsLeft)
{
    QProgressBar* bar = m_ctx.ui.Progress;
    bar->setRange(0, barValue(lines));
    bar->setValue(0);
    bar->setToolTip(timeLeftText(secondsLeft));
    bar->show();
}

void SendProgress::waiting()
{
    m_ctx.setHourglass(true);
    m_ctx.ui.Command1->show();
}

void SendProgress::lineSent(qint64 sent, double secondsLeft)
{
    m_ctx.ui.bar->setPanel(3, sendRecordText(sent));
    m_ctx.ui.Progress->setValue(barValue(sent));
    m_ctx.ui.Progress->setToolTip(timeLeftText(secondsLeft));
}

void SendProgress::end()
{
    m_ctx.ui.Progress->setValue(0);
    m_ctx.ui.Progress->hide();
    m_ctx.ui.Command1->hide();
    m_ctx.setHourglass(false);
}

QString SendProgress::sendRecordText(qint64 sent)
{
    return QStringLiteral("Send Record:  %1").arg(sent);
}

QString SendProgress::timeLeftText(double seconds)
{
    if (seconds <= 0)
        return QString();
    QString left;
    if (seconds < kSecondsPerMinute) {
        left = amount(std::ceil(seconds), "second", "seconds");
    } else {
        const double minutes = std::round(seconds / kSecondsPerMinute);
        const double hours = std::floor(minutes / kMinutesPerHour);
        const double rest = minutes - hours * kMinutesPerHour;
        if (hours == 0)
            left = amount(rest, "minute", "minutes");
        else if (rest == 0)
            left = amount(hours, "hour", "hours");
        else
            left = amount(hours, "hour", "hours") + u' ' + amount(rest, "minute", "minutes");
    }
    return QStringLiteral("About %1 left").arg(left);
}
