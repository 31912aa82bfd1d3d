// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QValidator>

// Keeps a text field to the characters an 8-bit file can hold: characters
// beyond them are dropped as they are typed or pasted, the rest stays.
class EightBitValidator : public QValidator {
    Q_OBJECT
public:
    using QValidator::QValidator;

    State validate(QString& input, int& pos) const override;
};
