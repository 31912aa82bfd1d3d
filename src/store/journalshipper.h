// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "store/journalwriter.h"
#include "store/teamaddress.h"

#include <QObject>
#include <QString>

#include <memory>
#include <optional>

class QThread;
class ShippingWorker;

// Ships the local journal to the team's database, on a thread of its own
// with connections of its own to both, so that a server that is slow, down
// or hung never holds up the window or the line. Entries go in the order of
// their local ids, a batch in one transaction; the server keeps each under
// (installation id, local id), so an entry sent again after a lost answer
// is the same row. The local store keeps the last entry the server took:
// nothing waiting is lost while the server is away, for however long.
class JournalShipper : public QObject {
    Q_OBJECT
public:
    static constexpr int kBatch = 1000;   // entries in one transaction at most
    // How often the local journal is looked at when nothing wakes the
    // shipper, and a server that failed is tried again.
    static constexpr int kRetryMs = 2000;
    // How long stopping waits for a statement the server does not answer;
    // the thread is then left to end when it does.
    static constexpr int kStopWaitMs = 1000;

    // `team` names the team database in the local store's shipping marks:
    // the URI it was joined with.
    JournalShipper(JournalWriter::StoreMaker makeLocal, const TeamAddress& address, const QString& team,
                   QObject* parent = nullptr);
    ~JournalShipper() override;

    // New entries are in the local store: ship them now. From any thread.
    void wake();
    // Entries up to this local id are in the local store: counted as
    // waiting at once, even while the shipper waits on the server, and
    // shipped now. On the thread the shipper was made on.
    void entriesWritten(qint64 lastId);

signals:
    // The entries that wait to be shipped, told before each shipment, after
    // it and as entries are written, with why the server could not take
    // them (kept until it does); 0 and no reason once all are shipped.
    void backlogChanged(qint64 waiting, const QString& reason);
    // Entries up to this local id are on the server.
    void shipped(qint64 lastId);
    // The team database's tables are missing, older or newer than this
    // program: the text says who mends it and how. Told once for each.
    void tablesRefused(const QString& text);

private:
    void tellBacklog();

    std::shared_ptr<ShippingWorker> m_worker;
    QThread* m_thread = nullptr;
    struct Counted {
        qint64 waiting;
        qint64 newestId;
        QString reason;
    };
    std::optional<Counted> m_counted;   // by the worker, the last time it looked
    qint64 m_lastWritten = 0;
    qint64 m_toldWaiting = -1;
    QString m_toldReason;
};
