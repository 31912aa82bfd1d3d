// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFile>
#include <QObject>
#include <QString>

#include <functional>

class Clock;

// The journal of what was sent: every line written to the port and every
// connection event, one entry a line, in one UTF-8 file a month
// ("2026-12.log") under the folder. Each entry is handed to the system as
// it is written. A journal that cannot be written never stops anything: it
// says so once (unavailable) and writes again as soon as it can.
class Journal : public QObject {
    Q_OBJECT
public:
    // folder empty: the user's data folder, Velno/journal.
    explicit Journal(const Clock& clock, const QString& folder = QString(), QObject* parent = nullptr);
    ~Journal() override;

    static const QString kUnavailable;   // the status text, followed by the reason

    static QString defaultFolder();
    QString folder() const { return m_folder; }

    // The site in use, written into every entry; empty for none.
    void setSite(const QString& name) { m_site = name; }
    // Or asked, at every entry, of whoever keeps the site in use.
    void followSite(std::function<QString()> siteInUse) { m_siteInUse = std::move(siteInUse); }
    QString site() const { return m_siteInUse ? m_siteInUse() : m_site; }

    // Bytes as written to the port, CR LF included; one entry per line.
    void recordSent(const QByteArray& bytes);
    void recordEvent(const QString& text);

    // The connection events, each as its entry.
    void recordOpened(int portNumber, const QString& device);
    void recordClosed();
    void recordLineLost();
    void recordLineError(int eventCode);

signals:
    // The journal could not be written, with the system's reason. Raised
    // once, and again only after an entry has been written since.
    void unavailable(const QString& reason);

private:
    void append(const QString& entry, const QString& fileName);
    bool openFile(const QString& fileName);
    void fail(const QString& reason);

    const Clock& m_clock;
    QString m_folder;
    QString m_site;
    std::function<QString()> m_siteInUse;
    QFile m_file;
    bool m_failed = false;
    QString m_partLinePath;   // a failed write may have left part of a line there
    bool m_codeFollows = false;   // the last write ended inside a line that carries a code
};
