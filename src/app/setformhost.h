// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/setform.h"
#include "link/modemsettings.h"

#include <QPointer>

class AppSettings;
class QWidget;
class SetForm;

// Loads the modem comm setting dialog on demand, shown or invisibly, and
// forgets it when OK or Cancel unloads it.
class SetFormHost : public ModemSettings {
public:
    SetFormHost(AppSettings& settings, QWidget* parent);
    ~SetFormHost() override;

    QString setupString() override;
    const QLineEdit* setupStringField() override;
    QString byteCycle() override;
    void storeSetupString(const QString& setup) override;

    // Setting_Click: shows the dialog modally, loading it first if needed.
    void showModal();
    SetForm* loaded() const { return m_form; }
    SetForm& ensureLoaded();

private:
    AppSettings& m_settings;
    QWidget* m_parent;
    QPointer<SetForm> m_form;
};
