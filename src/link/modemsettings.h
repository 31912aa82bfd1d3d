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
};
