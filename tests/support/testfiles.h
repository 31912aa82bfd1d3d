// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

// A file's bytes, or a marker that cannot be mistaken for content.
QByteArray contentOf(const QString& path);
// Writes bytes as a file's whole content; false when that failed.
bool writeFile(const QString& path, const QByteArray& bytes);
