// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

class CaptureLog;
struct Form1Context;

// The four buttons of the "Receive" frame, each asking the panel for what it
// stores; events and tenants are captured into a file the operator chooses.
class Uploads : public QObject {
    Q_OBJECT
public:
    static const QString kEventTitle;   // "Open Communications Log Event File"
    static const QString kEventFilter;   // "EVR Files (*.EVR)|*.EVR"
    static const QString kTenantTitle;   // "Open Communications Log Tenant File"
    static const QString kTenantFilter;   // "TNT Files (*.TNT)|*.TNT"

    Uploads(Form1Context& ctx, CaptureLog& log, QObject* parent = nullptr);

    void up_all_Click();
    void up_par_Click();
    void up_evr_Click();
    void up_tnt_Click();

private:
    enum class SendButton { Enable, Leave };

    // Without a capture file of its own: one that is open keeps receiving.
    void request(const QString& word, SendButton send);
    void captureAndRequest(const QString& word, const QString& title, const QString& filter);
    void offerCloseButton();

    Form1Context& m_ctx;
    CaptureLog& m_log;
};
