// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// One entry of the panel's event record.
struct PanelEvent {
    QString stamp;   // "MM/DD/YYYY HH:MM" from the panel clock, dashes when unset
    QString text;

    bool operator==(const PanelEvent& other) const { return stamp == other.stamp && text == other.text; }
};
