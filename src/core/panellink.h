// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

class LinkSession;
class SerialPort;
struct OpenResult;

// How the program reaches the panel, for the window and for unattended
// runs alike: the line's settings, the modem's dial, the programming entry.
namespace PanelLink {

// The pause after the modem's setup line and after the dial line.
constexpr int kDialPauseSeconds = 2;
// The programming line goes out this many times back to back.
constexpr int kProgrammingWrites = 6;
// The most characters a programming code holds.
constexpr int kCodeMaxLength = 5;

// Sets the port up as the panel wants it: 1200 bit/s, N, 8, 1 and XON/XOFF.
void setUp(SerialPort& port);

// The modem's dial command for the number.
QString dialCommand(const QString& phone);

// Enters programming mode: the programming line `writes` times back to
// back, each through write(); the session is in programming mode after the
// first, and afterFirst then runs. False at the first line write() refused:
// nothing more goes out.
bool enterProgramming(LinkSession& session, const QString& code, int writes,
                      const std::function<bool(const QByteArray&)>& write,
                      const std::function<void()>& afterFirst = {});

// Why the port did not open, in one or two sentences that name the device
// and, where known, who holds it.
QString openFailure(const OpenResult& failure);

}   // namespace PanelLink
