// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "store/teamaddress.h"
#include "store/teamtask.h"

#include <QObject>
#include <QString>

#include <optional>

class AppSettings;
class Prompter;
class Store;

// Joining a team database and leaving it. The URI is read first: a fault
// in it, a password in it, or TLS that does not check the server and that
// the operator does not accept, ends it with a box. The server is then
// tried on a worker thread, and a team is joined only when its tables are
// ready. On joining, the entries this computer made before stay here (the
// shipping mark is set past them), and the local sites may be brought into
// the team's site book when the operator says so.
class TeamJoin : public QObject {
    Q_OBJECT
public:
    static const QString kTitle;   // "Team"

    TeamJoin(AppSettings& settings, Prompter& prompter, Store& local, QObject* parent = nullptr);

    // The URI of the team joined; empty while working alone.
    QString team() const;
    bool busy() const { return m_task.running(); }

    // Each false when nothing was started (a box said why, or busy).
    bool test(const QString& uri);
    bool join(const QString& uri);
    void leave();

signals:
    // What the worker is doing: "Testing..." and the like.
    void progress(const QString& text);
    // How the test, the joining or the bringing in of the sites ended.
    void done(bool ok, const QString& text);
    // The team's URI was stored or emptied.
    void teamChanged();

private:
    enum class Step { Test, Join, BringSitesIn };

    bool start(const QString& uri, Step step);
    std::optional<TeamAddress> readAddress(const QString& uri);
    void finished(bool ok, const QString& text, const QStringList& left);
    void joined(const QString& connectedText);
    bool keepOlderEntriesHere();
    void offerSites();
    void sitesBroughtIn(bool ok, const QString& text, const QStringList& left);
    void warn(const QString& prompt, const QString& detail = QString());

    AppSettings& m_settings;
    Prompter& m_prompter;
    Store& m_local;
    TeamTask m_task;
    Step m_step = Step::Test;
    QString m_uri;   // of the work running
    TeamAddress m_address;
};
