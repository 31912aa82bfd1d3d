// SPDX-License-Identifier: GPL-3.0-or-later
#include "asteriskecho.h"

#include <QLineEdit>
#include <QProxyStyle>

namespace {

class AsteriskStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override
    {
        if (hint == SH_LineEdit_PasswordCharacter)
            return '*';
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

}   // namespace

void echoAsAsterisks(QLineEdit* field)
{
    auto* style = new AsteriskStyle;
    style->setParent(field);   // a widget does not own the style it is given
    field->setStyle(style);
    field->setEchoMode(QLineEdit::Password);
}
