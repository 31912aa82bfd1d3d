// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QIODevice>

// Writes every byte, going on after a write that took only part of them (a
// disk that fills takes what fits and reports nothing). Returns how many
// reached the device; when that is fewer than all, the last write failed and
// the device's errorString() says why.
inline qint64 writeAll(QIODevice& device, const QByteArray& bytes)
{
    qint64 done = 0;
    while (done < bytes.size()) {
        const qint64 written = device.write(bytes.constData() + done, bytes.size() - done);
        if (written <= 0)
            break;
        done += written;
    }
    return done;
}
