// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringView>

// The text of journal entries: lines sent as the journal shows them, with
// their codes masked, and the connection events.
namespace JournalEntry {

inline const QString kSecretMask = QStringLiteral("****");

// The lines of one write to the port: each CR LF, CR or LF ends a line, and
// a write that ends in one gives no empty line after it.
QList<QByteArrayView> linesOf(QByteArrayView bytes);
bool endsLine(QByteArrayView bytes);

// A line sent, as the journal shows it: 8-bit bytes as characters, control
// characters as <hex>, and every code as "****", whatever its length: the
// value of a line that starts with PGM or PARCMC, and the access code (the
// value after CODE and its colon) of a tenant record line, one that holds
// TNTDIR:. Any case; blanks may stand around the colon.
QString masked(const QString& line);
// The same for the part of a line from character `from` on, the part
// before it having been shown already: a code that began in that part is
// still masked.
QString maskedFrom(const QString& line, qsizetype from);

// The connection events.
QString connected(int portNumber, const QString& device);
QString closed();
QString lineLost();
QString lineError(int eventCode);

}   // namespace JournalEntry
