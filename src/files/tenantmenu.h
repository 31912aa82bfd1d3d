// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "files/pendingtenantfile.h"

#include <QObject>
#include <functional>

struct Form1Context;
class TenantEditor;

// The main window's tenant items: New Tenant Database with its three digit
// counts, and Open Tenant File, which picks the editor from the file's layout.
class TenantMenu : public QObject {
    Q_OBJECT
public:
    static const QString kOpenFilter;

    explicit TenantMenu(Form1Context& ctx, QObject* parent = nullptr);

    void di_Click() { showEditor(2); }
    void dig_Click() { showEditor(3); }
    void digi_Click() { showEditor(4); }
    void open_send_Click();

    // The file the next editor loads (the main window's ComDialog1 file name).
    PendingTenantFile& pending() { return m_pending; }

    // Shows the loaded editor modally; tests replace it to act on the editor.
    std::function<void(TenantEditor&)> runModal;

private:
    void showEditor(int digits);

    Form1Context& m_ctx;
    PendingTenantFile m_pending;
};
