// SPDX-License-Identifier: GPL-3.0-or-later
#include "eightbitvalidator.h"

#include "platform/eightbit.h"

QValidator::State EightBitValidator::validate(QString& input, int& pos) const
{
    QString kept;
    int keptBeforeCaret = 0;
    for (int i = 0; i < input.size(); ++i) {
        const QString c(input.at(i));
        if (!EightBit::representable(c))
            continue;
        kept += c;
        if (i < pos)
            ++keptBeforeCaret;
    }
    input = kept;
    pos = keptBeforeCaret;
    return Acceptable;
}
