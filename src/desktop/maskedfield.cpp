// SPDX-License-Identifier: GPL-3.0-or-later
#include "maskedfield.h"

#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QValidator>

#include <algorithm>

namespace {

constexpr QChar kDigitPosition = u'#';
constexpr QChar kBlank = u' ';

bool isDecimalDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// Qt's digit positions take any number character: the digits of other
// scripts, and in 8-bit text the superscripts two, three and one and the
// fractions one quarter, one half and three quarters (0xB2, 0xB3, 0xB9,
// 0xBC to 0xBE). The line and the panel know 0 to 9 only.
bool isForeignNumber(QChar c)
{
    return c.isNumber() && !isDecimalDigit(c);
}

class DecimalDigitsOnly : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override
    {
        return std::any_of(input.begin(), input.end(), isForeignNumber) ? Invalid : Acceptable;
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

}   // namespace

MaskedField::MaskedField(const QString& mask, QWidget* parent) : QLineEdit(parent), m_mask(mask)
{
    setInputMask(qtInputMask(mask));
    setMaxLength(mask.size());
    setValidator(new DecimalDigitsOnly(this));
}

int MaskedField::positions() const
{
    return int(m_mask.count(kDigitPosition));
}

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

int MaskedField::typedEnd() const
{
    const QString shown = displayText();
    for (int i = int(std::min(shown.size(), m_mask.size())); i > 0; --i) {
        if (m_mask.at(i - 1) == kDigitPosition && isDecimalDigit(shown.at(i - 1)))
            return i;
    }
    return 0;
}

void MaskedField::mousePressEvent(QMouseEvent* event)
{
    QLineEdit::mousePressEvent(event);
    if (!hasSelectedText() && cursorPosition() > typedEnd())
        setCursorPosition(typedEnd());
}

void MaskedField::keyPressEvent(QKeyEvent* event)
{
    if (event->text().contains(kBlank)) {
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void MaskedField::dropEvent(QDropEvent* event)
{
    if (isReadOnly() || !event->mimeData()->hasText()) {
        QLineEdit::dropEvent(event);
        return;
    }
    setCursorPosition(cursorPositionAt(event->position().toPoint()));
    pasteFitting(event->mimeData()->text());
    event->acceptProposedAction();
}

// Setting the text passes Qt's mask but not the validator: a position given
// a number character other than 0 to 9 is left empty.
void MaskedField::setFullText(const QString& text)
{
    setText(text);
    QString shown = displayText();
    for (int i = 0; i < shown.size() && i < m_mask.size(); ++i) {
        if (m_mask.at(i) == kDigitPosition && isForeignNumber(shown.at(i)))
            shown[i] = kBlank;
    }
    if (shown != displayText())
        setText(shown);
}

void MaskedField::pasteFitting(const QString& text)
{
    QString digits;
    for (QChar c : text) {
        if (isDecimalDigit(c))
            digits += c;
    }
    insert(digits);
}
