// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "store/journalwriter.h"

#include <QObject>
#include <QString>

#include <memory>

class AppSettings;
class JournalShipper;

// Ships the journal to the team database the settings name, while they
// name one whose URI can be read; follow() after the key changed starts,
// replaces or stops the shipper. Stopping never waits long on the server.
class TeamShipping : public QObject {
    Q_OBJECT
public:
    TeamShipping(AppSettings& settings, JournalWriter::StoreMaker makeLocal, QObject* parent = nullptr);
    ~TeamShipping() override;

    void follow();
    // New entries, up to this local id, are in the local journal.
    void wake(qint64 lastId);
    // The URI shipped to; empty while nothing is shipped.
    QString team() const { return m_team; }
    // For a program about to end: follows the settings and ships what
    // waits, returning true once all of it is on the server, or at once
    // when there is no team. False when the server failed once or did not
    // finish within timeoutMs: *waiting (-1: not known) and *reason say
    // what waits and why; it goes next time.
    bool waitUntilShipped(int timeoutMs, qint64* waiting, QString* reason);

signals:
    // As JournalShipper tells it; 0 and no reason once shipping stops.
    void backlogChanged(qint64 waiting, const QString& reason);
    // As JournalShipper tells it.
    void tablesRefused(const QString& text);

private:
    void stop();

    AppSettings& m_settings;
    JournalWriter::StoreMaker m_makeLocal;
    QString m_team;
    std::unique_ptr<JournalShipper> m_shipper;
};
