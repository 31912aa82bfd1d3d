// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/tenantsend.h"
#include "transfer/sendprogress.h"

#include <QObject>

struct Form1Context;

// "SEND", which unlocks the Send frame, and "DATABASE", which sends a text
// file (usually a tenant file) to the panel line by line, each line after a
// pause set by the ByteCycle.
class FileSender : public QObject {
    Q_OBJECT
public:
    static const QString kDialogTitle;   // "Open Communication File"
    static const QString kFilter;   // "All Files (*.*)|*.*|TNT Files(*.TNT)|*.TNT"

    explicit FileSender(Form1Context& ctx, QObject* parent = nullptr);

    void download_Click();
    void sendfileg_Click();

    // The lines the current or last send has sent.
    qint64 sentRecords() const { return m_sent; }

private:
    QString chooseFile();
    void sendFile(const QString& path);
    TenantSend::Hooks hooks();
    LinePacing pacing() const;
    void reportFailure(const QString& description, const QString& path);

    Form1Context& m_ctx;
    SendProgress m_progress;
    qint64 m_sent = 0;
    bool m_sending = false;
};
