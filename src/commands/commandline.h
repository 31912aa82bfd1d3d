#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The wire unit towards the panel: 8-bit text ending in CR LF.
namespace CommandLine {

// The text as it stands, then CR LF.
QByteArray line(const QString& text);

// The command word; for a command with a value one blank and the value
// (several fields separated by single blanks); then CR LF.
QByteArray command(const QString& word, const QStringList& values = {});

} // namespace CommandLine
