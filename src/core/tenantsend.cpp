// SPDX-License-Identifier: GPL-3.0-or-later
#include "tenantsend.h"

#include "core/commandline.h"
#include "platform/eightbit.h"
#include "platform/linereader.h"

TenantSend::TenantSend(const QString& path) : m_path(path) {}

bool TenantSend::count()
{
    LineReader counter(m_path);
    m_total = counter.open() ? counter.countNonEmpty() : 0;
    if (counter.failed())
        m_error = counter.error();
    return !counter.failed();
}

TenantSend::Outcome TenantSend::run(const Hooks& hooks)
{
    m_sent = 0;
    LineReader reader(m_path);
    if (reader.open()) {
        if (hooks.started)
            hooks.started();
        QByteArrayView line;
        while ((!hooks.goOn || hooks.goOn()) && reader.next(line)) {
            if (line.isEmpty())
                continue;
            if (const std::optional<Outcome> stop = sendAfterPause(line, hooks))
                return *stop;
        }
    }
    if (!reader.failed())
        return Outcome::Ended;
    m_error = reader.error();
    return Outcome::Unreadable;
}

std::optional<TenantSend::Outcome> TenantSend::sendAfterPause(QByteArrayView line, const Hooks& hooks)
{
    if (hooks.waiting)
        hooks.waiting();
    const LinePacing pacing = hooks.pacing();
    if (!hooks.pause(pacing.waitSeconds()))
        return Outcome::Stopped;
    if (!hooks.write(CommandLine::line(EightBit::decode(line.toByteArray()))))
        return Outcome::Refused;
    ++m_sent;
    if (hooks.lineSent)
        hooks.lineSent(m_sent, pacing.secondsFor(m_total - m_sent));
    return std::nullopt;
}
