// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/linepacing.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <functional>
#include <optional>

// A text file (usually a tenant file) sent to the panel as DATABASE sends
// it, for the window and for unattended runs alike. A first pass counts the
// lines that are not empty; the second opens the file anew, as it may have
// changed, and sends each such line as a command line after the pause its
// pacing sets. How to pause, write and report is the caller's.
class TenantSend {
public:
    struct Hooks {
        // The pacing of the next line, read before its pause, so that a
        // change during the send applies at once.
        std::function<LinePacing()> pacing;
        // Waits so many seconds; false when the send must stop.
        std::function<bool(double seconds)> pause;
        // Writes one line; false when it was refused.
        std::function<bool(const QByteArray& line)> write;
        // Asked before each line is read; none: the send goes on.
        std::function<bool()> goOn;
        // The file is open for the second pass; no line has gone yet.
        std::function<void()> started;
        // A line waits for its pause.
        std::function<void()> waiting;
        // A line went; secondsLeft: what the pauses of the lines left take.
        std::function<void(qint64 sent, double secondsLeft)> lineSent;
    };

    enum class Outcome {
        Ended,   // at the file's end, or goOn() said no
        Stopped,   // pause() said no: nothing more was written
        Refused,   // write() refused the line after sent(): nothing more was written
        Unreadable,   // the second pass could not open or read the file; error() says why
    };

    explicit TenantSend(const QString& path);

    // The first pass; false when the file cannot be read (error() says why).
    bool count();
    // The lines count() found.
    qint64 total() const { return m_total; }

    // The second pass, after count(). Only the hooks pacing, pause and write are needed.
    Outcome run(const Hooks& hooks);
    qint64 sent() const { return m_sent; }

    QString error() const { return m_error; }

private:
    // Pauses, then sends the line; an outcome when the send must stop.
    std::optional<Outcome> sendAfterPause(QByteArrayView line, const Hooks& hooks);

    const QString m_path;
    qint64 m_total = 0;
    qint64 m_sent = 0;
    QString m_error;
};
