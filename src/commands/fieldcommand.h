// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QLineEdit;
class QWidget;
struct Form1Context;

// A command line made of a word and the value of one field. The field's
// button refuses an empty field with a prompt and the focus back in the
// field; Enter in the field sends the value as it stands, empty or not.
// Either path then passes the connection guard, writes the line once and
// moves the focus on (a null target leaves it where it is).
class FieldCommand {
public:
    struct Route {
        QString word;
        QLineEdit* field;
        QString emptyPrompt;
        QWidget* focusAfterButton;
        QWidget* focusAfterEnter;
    };

    FieldCommand(Form1Context& ctx, Route route);

    void sendByButton();
    void sendByEnter();

    QLineEdit* field() const { return m_route.field; }

    // What a field holds for sending: a masked field's typed value, a plain
    // field's text exactly as typed.
    static QString valueOf(const QLineEdit* field);

private:
    void send(QWidget* focusAfter);

    Form1Context& m_ctx;
    Route m_route;
};
