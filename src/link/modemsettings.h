// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QLineEdit;

// The two values the modem comm setting dialog holds while it is loaded; a
// reader loads the dialog invisibly when it is not.
class ModemSettings {
public:
    virtual ~ModemSettings() = default;
    virtual QString setupString() = 0;
    // The field that holds the setup string, for naming it to the operator.
    virtual const QLineEdit* setupStringField() = 0;
    virtual QString byteCycle() = 0;
    // Stores a new setup string as the dialog's OK does; a loaded dialog
    // takes it into its field first, so that its readers see it at once.
    virtual void storeSetupString(const QString& setup) = 0;
};
