// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "store/teamaddress.h"
#include "store/teamsites.h"

#include <QObject>

#include <memory>

class QThread;
class TeamSiteWorker;

// The team's site book on its server, read and changed on a thread of its
// own with a connection of its own, so that a server that is slow, down or
// hung never holds up the window or the line. Requests are taken in turn;
// after each change the book is read again.
class TeamSiteLink : public QObject {
    Q_OBJECT
public:
    enum class Kind { Add, Update, Remove };
    // How long stopping waits for a statement the server does not answer;
    // the thread is then left to end when it does.
    static constexpr int kStopWaitMs = 1000;

    explicit TeamSiteLink(const TeamAddress& address, QObject* parent = nullptr);
    ~TeamSiteLink() override;

    // Reads the book: sitesRead, or unreachable. A read asked for while
    // one waits is the same read.
    void read();
    // Sends the change; saved(request) answers it, then the book is read.
    int save(Kind kind, const Site& site);

signals:
    void sitesRead(const QList<Site>& sites);
    // The server could not be reached, or its tables are not this program's.
    void unreachable(const QString& reason);
    void saved(int request, const TeamSites::Answer& answer);

private:
    std::shared_ptr<TeamSiteWorker> m_worker;
    QThread* m_thread = nullptr;
    int m_lastRequest = 0;
};
