// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

class QString;
struct Form1Context;

// Erasing the panel's event database ("Clear Events") or one or all of its
// tenants ("Clear Tenant"), each after the operator confirmed it.
class ClearCommands : public QObject {
    Q_OBJECT
public:
    explicit ClearCommands(Form1Context& ctx, QObject* parent = nullptr);

    void clearevr_Click();
    void cleartnt_Click();

private:
    // Yes/No with No as the default; true only for Yes.
    bool confirmed(const QString& prompt) const;
    void askForDirectory() const;

    Form1Context& m_ctx;
};
