#pragma once

#include <QString>

// The two values the modem comm setting dialog holds while it is loaded; a
// reader loads the dialog invisibly when it is not.
class ModemSettings {
public:
    virtual ~ModemSettings() = default;
    virtual QString setupString() = 0;
    virtual QString byteCycle() = 0;
};
