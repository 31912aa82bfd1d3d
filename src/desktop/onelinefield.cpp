// SPDX-License-Identifier: GPL-3.0-or-later
#include "onelinefield.h"

#include "platform/oneline.h"

#include <QLineEdit>
#include <QValidator>

namespace OneLineField {

namespace {

// The validator is the one hook that every change of a line edit's text
// passes: keys, input methods, pastes of every kind, drops and setText.
class OneLineValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override
    {
        int flatPos = pos;
        const QString flat = OneLine::flattened(input, &flatPos);
        if (flat != input) {
            input = flat;
            pos = flatPos;
        }
        return Acceptable;
    }
};

}   // namespace

void keep(QLineEdit* field)
{
    field->setValidator(new OneLineValidator(field));
}

}   // namespace OneLineField
