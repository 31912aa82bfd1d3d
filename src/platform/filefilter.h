// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// Turns the program's filter text, pairs separated by "|" as in
// "All Files (*.*)|*.*|TNT Files(*.TNT)|*.TNT", into Qt name filters:
// "Caption (patterns)" with the ";"-separated patterns separated by blanks.
// A caption that already shows its patterns in parentheses stands as it is.
// An incomplete last pair is left out.
QStringList qtNameFilters(const QString& pairs);
