// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "panelstate.h"

#include <QString>
#include <optional>

// Reads and writes the panel state as a small sectioned text file
// ([panel] key = value, [tenants] records, [events] lines) in UTF-8.
class StateFile {
public:
    static std::optional<PanelState> parse(const QString& text, QString* error);
    static QString format(const PanelState& state);

    static std::optional<PanelState> load(const QString& path, QString* error);
    static bool save(const QString& path, const PanelState& state, QString* error);
};
