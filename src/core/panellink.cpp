// SPDX-License-Identifier: GPL-3.0-or-later
#include "panellink.h"

#include "core/commandline.h"
#include "core/linksession.h"
#include "platform/serialport.h"

namespace PanelLink {

namespace {

const QString kLineSettings = QStringLiteral("1200,N,8,1");

// ": <program>, process <pid>", or what of it is known.
QString holderOf(const OpenResult& failure)
{
    if (failure.holderPid <= 0)
        return QString();
    const QString process = QStringLiteral("process %1").arg(failure.holderPid);
    return QStringLiteral(": ")
        + (failure.holderName.isEmpty() ? process : failure.holderName + QStringLiteral(", ") + process);
}

}   // namespace

void setUp(SerialPort& port)
{
    port.setHandshaking(SerialPort::Handshaking::XonXoff);
    port.setLineSettings(kLineSettings);
}

QString dialCommand(const QString& phone)
{
    return QStringLiteral("ATDT") + phone;
}

DialResult dial(const QString& setup, const std::function<QString()>& phone, const DialHooks& hooks)
{
    const auto fits = [](const std::function<bool(const QString&)>& check, const QString& text) {
        return !check || check(text);
    };
    if (!fits(hooks.setupFits, setup) || !fits(hooks.phoneFits, phone()))
        return DialResult::Unfit;
    if (hooks.starting)
        hooks.starting();
    if (!hooks.write(CommandLine::line(setup)) || !hooks.pause(kDialPauseSeconds))
        return DialResult::CutShort;
    const QString number = phone();
    if (!fits(hooks.phoneFits, number) || !hooks.write(CommandLine::line(dialCommand(number))))
        return DialResult::CutShort;
    return DialResult::Dialled;
}

bool enterProgramming(LinkSession& session, const QString& code, int writes,
                      const std::function<bool(const QByteArray&)>& write,
                      const std::function<void()>& afterFirst)
{
    const QByteArray line = CommandLine::programming(code);
    for (int i = 0; i < writes; ++i) {
        if (!write(line))
            return false;
        if (i > 0)
            continue;
        session.programmingEntered();
        if (afterFirst)
            afterFirst();
    }
    return true;
}

QString openFailure(const OpenResult& failure)
{
    if (failure.error == OpenResult::Error::AlreadyOpen)
        return QStringLiteral("%1 is already open.").arg(failure.device);
    if (failure.error == OpenResult::Error::Busy)
        return QStringLiteral("%1 is in use by another program%2.").arg(failure.device, holderOf(failure));
    QString detail = QStringLiteral("%1: %2").arg(failure.device, failure.reason);
#ifdef Q_OS_LINUX
    if (failure.error == OpenResult::Error::Permission) {
        detail += QStringLiteral("\nYour user may not use this device: add it to the group that "
                                 "owns the device (usually dialout) and log in again.");
    }
#endif
    return detail;
}

}   // namespace PanelLink
