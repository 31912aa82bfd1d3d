// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringView>

// One line of the journal: the local time to the second, the site in use
// ("-" for none), then "> " and a line sent or "* " and a connection event:
//
//   2026-12-08T17:20:08 Elm Court > PARDOT1 07
//   2026-12-08T17:20:08 - * connected to port 1 (/dev/ttyS0)
namespace JournalEntry {

inline const QString kSecretMask = QStringLiteral("****");

QString sent(const QDateTime& time, const QString& site, const QString& text);
QString event(const QDateTime& time, const QString& site, const QString& text);

// The month file an entry of that time goes to: "2026-12.log".
QString monthFileName(const QDateTime& time);

// The site as the journal writes it: one line, "-" when empty, and never
// holding the marks that end the field (" > ", " * ").
QString siteField(const QString& name);
// The site field of a journal line; empty for a line not in the format.
QStringView siteOf(QStringView line);

// The lines of one write to the port: each CR LF, CR or LF ends a line, and
// a write that ends in one gives no empty line after it.
QList<QByteArrayView> linesOf(QByteArrayView bytes);
bool endsLine(QByteArrayView bytes);

// A line sent, as the journal shows it: the 8-bit bytes as characters,
// control characters as <hex>, and the value of a line that carries a code
// (PGM, PARCMC) as "****", whatever its length.
QString sentText(QByteArrayView line);
// True when the line starts with a word whose value is a code.
bool carriesCode(QStringView text);

// The connection events.
QString connected(int portNumber, const QString& device);
QString closed();
QString lineLost();
QString lineError(int eventCode);

} // namespace JournalEntry
