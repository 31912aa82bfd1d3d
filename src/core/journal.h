// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "store/journalrecord.h"

#include <QObject>
#include <QString>

#include <functional>

class Clock;
class JournalWriter;
class LinkSession;

// The journal of what was sent: every line written to the port and every
// connection event, one entry each, with the time, the operator, the
// computer and the site in use. Codes are masked here, before an entry
// leaves for the writer, so that they are stored nowhere.
class Journal : public QObject {
    Q_OBJECT
public:
    Journal(const Clock& clock, JournalWriter& writer, QObject* parent = nullptr);
    ~Journal() override;

    // The login name of the process's user, from the password database.
    static QString loginName();

    // The site in use, written into every entry; empty for none.
    void setSite(const QString& name) { m_site = name; }
    // Or asked, at every entry, of whoever keeps the site in use.
    void followSite(std::function<QString()> siteInUse) { m_siteInUse = std::move(siteInUse); }
    QString site() const { return m_siteInUse ? m_siteInUse() : m_site; }

    // Records every line the session writes and every event of its port.
    void follow(const LinkSession& session);

    // Bytes as written to the port, CR LF included; one entry per line.
    void recordSent(const QByteArray& bytes);
    void recordEvent(const QString& text);

    // The connection events, each as its entry.
    void recordOpened(int portNumber, const QString& device);
    void recordClosed();
    void recordLineLost();
    void recordLineError(int eventCode);

private:
    void append(JournalRecord::Kind kind, const QString& text);

    const Clock& m_clock;
    JournalWriter& m_writer;
    QString m_operator;
    QString m_host;
    QString m_site;
    std::function<QString()> m_siteInUse;
    QString m_unfinishedLine;   // what was sent of a line whose end has not been sent yet
};
