// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

class QTemporaryDir;

// A file's bytes, or a marker that cannot be mistaken for content.
QByteArray contentOf(const QString& path);
// Writes bytes as a file's whole content; false when that failed.
bool writeFile(const QString& path, const QByteArray& bytes);
// Writes bytes as a new file of the folder and returns its path; the test
// stops when that failed.
QString writeFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes);
