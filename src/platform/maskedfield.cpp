#include "maskedfield.h"

#include <QValidator>

namespace {

constexpr QChar kDigitPosition = u'#';
constexpr QChar kBlank = u' ';

bool isDecimalDigit(QChar c) { return c >= u'0' && c <= u'9'; }

// Qt's digit positions also take the digits of other scripts; the line and
// the panel know 0 to 9 only.
class DecimalDigitsOnly : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override
    {
        for (QChar c : input) {
            if (c.isDigit() && !isDecimalDigit(c))
                return Invalid;
        }
        return Acceptable;
    }
};

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
    setValidator(new DecimalDigitsOnly(this));
}

int MaskedField::positions() const { return int(m_mask.count(kDigitPosition)); }

QString MaskedField::typedValue() const
{
    const QString shown = displayText();
    QString digits;
    for (int i = 0; i < m_mask.size() && i < shown.size(); ++i) {
        if (m_mask.at(i) == kDigitPosition && isDecimalDigit(shown.at(i)))
            digits += shown.at(i);
    }
    return digits;
}

void MaskedField::setFullText(const QString& text) { setText(text); }

void MaskedField::pasteFitting(const QString& text)
{
    QString digits;
    for (QChar c : text) {
        if (isDecimalDigit(c))
            digits += c;
    }
    insert(digits);
}
