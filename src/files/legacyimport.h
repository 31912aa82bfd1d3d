// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

class Store;

// Brings the journal's month files ("2026-12.log") and the site book's
// sites.ini of earlier versions into the store, each file once however many
// copies of the program start together. The codes in them are masked on
// the way; each file is then masked in place, made the user's alone (0600)
// and kept under a new name ("2026-12.log.imported"), never deleted. A file
// found brought in already, but not yet kept (the program stopped between
// the two), is kept then, and not brought in again.
class LegacyImport {
public:
    struct Result {
        int entries = 0;
        int sites = 0;
        QStringList problems;   // what could not be brought in, and why
    };

    // journalFolder: where the month files were written; sitesPath: the old
    // book, empty for none.
    LegacyImport(Store& store, QString journalFolder, QString sitesPath);

    Result run();

private:
    void importLog(const QString& path, Result& result);
    void importSites(Result& result);
    void keep(const QString& path, const QByteArray& masked, Result& result);

    Store& m_store;
    QString m_journalFolder;
    QString m_sitesPath;
};
