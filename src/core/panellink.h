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

// What the window and an unattended run each do their own way in a dial.
struct DialHooks {
    // Whether the modem's setup line, and the number, may go out; none: they may.
    std::function<bool(const QString& setup)> setupFits;
    std::function<bool(const QString& phone)> phoneFits;
    // Both lines fit; the first goes out next.
    std::function<void()> starting;
    // Waits so many seconds; false when the dial must stop.
    std::function<bool(double seconds)> pause;
    // Writes one line; false when it was refused.
    std::function<bool(const QByteArray& line)> write;
};

enum class DialResult {
    Unfit,   // the setup line or the number did not fit: nothing went out
    Dialled,   // both lines went out
    CutShort,   // a pause or a write said no, or the number no longer fitted after the pause
};

// The modem's setup line, a pause of kDialPauseSeconds, then the dial
// command. Both lines are checked before the first goes out, so that a
// modem is not set up and then left undialled; phone() is asked again after
// the pause, and the number as it stands then checked again and dialled.
DialResult dial(const QString& setup, const std::function<QString()>& phone, const DialHooks& hooks);

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
