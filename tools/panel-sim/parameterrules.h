// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// What the panel accepts as parameter values. Shared by the command
// handling and the state file so both refuse the same things.
class ParameterRules {
public:
    // Every parameter word, in the order the panel prints them.
    static const QStringList& words();

    // The value as the panel stores it (dates and times zero padded),
    // or nothing when the panel refuses it.
    static std::optional<QString> normalize(const QString& word, const QString& value);

    static bool isValidMasterCode(const QString& code);
};
