// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayList>
#include <QString>
#include <QStringList>

// The wire unit towards the panel: 8-bit text ending in CR LF. A value the
// operator typed is framed here only after typedTextFitsTheLine has found
// it to be one line of 8-bit characters.
namespace CommandLine {

// The words whose value is a code: the programming line's and a new master
// code's.
inline const QString kProgrammingWord = QStringLiteral("PGM");
inline const QString kMasterCodeWord = QStringLiteral("PARCMC");

// Whether the text can go onto the line as typed: one line (no control
// character) of 8-bit characters.
bool fits(const QString& text);

// The text as it stands, then CR LF.
QByteArray line(const QString& text);

// The command word; for a command with a value one blank and the value
// (several fields separated by single blanks); then CR LF. An empty value is
// still a value: command("PARDTM", {""}) is "PARDTM", a blank, CR LF.
QByteArray command(const QString& word, const QStringList& values = {});

// The programming line: "PGM" directly followed by the code, then CR LF.
QByteArray programming(const QString& code);

// The words that ask the panel for what it stores, sent by the Receive
// frame's buttons: everything, the parameters, the events, the tenants.
inline const QString kPullAllWord = QStringLiteral("PRIALL");
inline const QString kPullParametersWord = QStringLiteral("PRIPAR");
inline const QString kPullEventsWord = QStringLiteral("PRIEVR");
inline const QString kPullTenantsWord = QStringLiteral("PRITNT");
// Leaves programming mode; the last line before the port closes.
inline const QString kEndWord = QStringLiteral("END");

// The welcome message goes out in two writes: "PARMSG" on its own, then a
// blank, the message, a blank and CR LF.
QByteArrayList welcomeMessage(const QString& message);

}   // namespace CommandLine
