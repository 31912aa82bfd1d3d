// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// The store's files are the user's alone: the folder 0700, each file 0600,
// whatever the umask, and corrected when found otherwise.
namespace PrivateFiles {

// Makes the folder (and its parents) when missing; the folder itself 0700.
bool makeFolder(const QString& folder, QString* error);
// Creates an empty file 0600 when there is none.
bool createFile(const QString& path, QString* error);
// Sets each existing file to 0600.
void correct(const QStringList& paths);

// A free name beside path for a file set aside: path.damaged, then
// path.damaged.2, ... for each suffix in suffixes (""), so that a set of
// files ("", "-wal", "-shm") moves under one free name. Empty when none.
QString freeAsideName(const QString& path, const QString& mark, const QStringList& suffixes);

}   // namespace PrivateFiles
