#include "maskedfield.h"

namespace {

constexpr QChar kDigitPosition = u'#';
constexpr QChar kBlank = u' ';

// Qt's mask language: '0' is an optional digit, literals are escaped.
QString qtInputMask(const QString& mask)
{
    QString out;
    for (QChar c : mask) {
        if (c == kDigitPosition)
            out += u'0';
        else
            out += QStringLiteral("\\") + c;
    }
    return out + u';' + kBlank;
}

} // namespace

MaskedField::MaskedField(const QString& mask, QWidget* parent)
    : QLineEdit(parent), m_mask(mask)
{
    setInputMask(qtInputMask(mask));
    setMaxLength(mask.size());
}

int MaskedField::positions() const { return int(m_mask.count(kDigitPosition)); }

QString MaskedField::typedValue() const
{
    const QString shown = displayText();
    QString digits;
    for (int i = 0; i < m_mask.size() && i < shown.size(); ++i) {
        if (m_mask.at(i) == kDigitPosition && shown.at(i).isDigit())
            digits += shown.at(i);
    }
    return digits;
}

void MaskedField::setFullText(const QString& text) { setText(text); }
