// SPDX-License-Identifier: GPL-3.0-or-later
// The typed value of a masked field under any keys, pastes and texts: only
// the digits 0 to 9, no more than the mask has positions, and exactly the
// digits the field shows.
//
// Input: a mask (one of the program's or any), then operations on the field.

#include "fuzzsupport.h"

#include "desktop/maskedfield.h"
#include "platform/eightbit.h"

#include <QCoreApplication>
#include <QKeyEvent>

#include <fuzzer/FuzzedDataProvider.h>
#include <memory>

namespace {

using Fuzz::require;

constexpr QChar kDigitPosition = u'#';

bool isDecimalDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

QString someText(FuzzedDataProvider& in, size_t length)
{
    return EightBit::decode(QByteArray::fromStdString(in.ConsumeRandomLengthString(length)));
}

// One of the program's masks, or any mask of digit positions and printable
// literals, as every mask of the program is.
QString maskFrom(FuzzedDataProvider& in)
{
    static const char* const kMasks[] = {"#", "##", "###", "####", "#/#", "###########"};
    static const QString kMaskCharacters = QStringLiteral("#/#-#:#.# #(#)");
    const size_t pick = in.ConsumeIntegralInRange<size_t>(0, std::size(kMasks));
    if (pick < std::size(kMasks))
        return QString::fromLatin1(kMasks[pick]);
    QString mask;
    for (int n = in.ConsumeIntegralInRange(0, 12); n > 0; --n)
        mask += kMaskCharacters.at(in.ConsumeIntegralInRange(0, int(kMaskCharacters.size()) - 1));
    return mask;
}

void press(MaskedField& field, int key, const QString& text = QString())
{
    QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(&field, &event);
}

void operate(MaskedField& field, FuzzedDataProvider& in)
{
    const int length = int(field.mask().size());
    switch (in.ConsumeIntegralInRange(0, 6)) {
    case 0: field.setFullText(someText(in, 16)); break;
    case 1: press(field, Qt::Key_unknown, QString(QChar(in.ConsumeIntegral<uint8_t>()))); break;
    case 2:
        press(field,
              in.PickValueInArray({Qt::Key_Backspace, Qt::Key_Delete, Qt::Key_Left, Qt::Key_Right,
                                   Qt::Key_Home, Qt::Key_End}));
        break;
    case 3: field.pasteFitting(someText(in, 16)); break;
    case 4: field.insert(someText(in, 16)); break;   // the keyboard's paste
    case 5:
        field.setSelection(in.ConsumeIntegralInRange(0, length), in.ConsumeIntegralInRange(-length, length));
        break;
    default: field.setCursorPosition(in.ConsumeIntegralInRange(0, length)); break;
    }
}

void check(const MaskedField& field)
{
    const QString typed = field.typedValue();
    require(typed.size() <= field.positions(), "a typed value fits the positions");
    require(std::all_of(typed.begin(), typed.end(), isDecimalDigit), "a typed value holds 0 to 9 only");

    const QString& mask = field.mask();
    const QString shown = field.displayText();
    require(shown.size() == mask.size(), "the field shows one character per mask position");
    QString digitsShown;
    for (int i = 0; i < mask.size(); ++i) {
        if (mask.at(i) != kDigitPosition) {
            require(shown.at(i) == mask.at(i), "a literal shows as itself");
            continue;
        }
        require(isDecimalDigit(shown.at(i)) || shown.at(i) == u' ', "a position shows a digit or a blank");
        if (shown.at(i) != u' ')
            digitsShown += shown.at(i);
    }
    require(typed == digitsShown, "the typed value is the digits shown");
}

}   // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    Fuzz::startApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider in(data, size);
    MaskedField field(maskFrom(in));
    check(field);
    while (in.remaining_bytes() > 0) {
        operate(field, in);
        check(field);
    }
    return 0;
}
