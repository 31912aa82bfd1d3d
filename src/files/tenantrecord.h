// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// One tenant of the directory as the editor's fields hold it.
struct TenantRecord {
    QString directory;
    QString telephone;
    QString code;
    QString door;
    QString name;

    // The record's line of a tenant file, CR LF included:
    // "TNTDIR:12TEL:5551234 CODE:1234 DOOR:1 NAME:Smith". Values lose their
    // surrounding blanks; empty values leave their tag empty.
    QString line() const;
};
