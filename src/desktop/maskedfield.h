// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLineEdit>

// A digit field with a mask: "#" is one digit position, any other character
// a literal ("#/#"). Unfilled positions show as blanks.
class MaskedField : public QLineEdit {
    Q_OBJECT
public:
    explicit MaskedField(const QString& mask, QWidget* parent = nullptr);

    const QString& mask() const { return m_mask; }
    int positions() const;

    // The digits typed, left to right, without literals and unfilled positions.
    QString typedValue() const;
    // Sets the whole text, literals included ("5/7"; blanks empty a position).
    void setFullText(const QString& text);
    // A paste: replaces the selection with the digits 0 to 9 of text, filling
    // the digit positions from the caret on; other characters and digits
    // beyond the last position are dropped.
    void pasteFitting(const QString& text);

protected:
    // A click beyond the digits typed puts the caret just after them, where
    // typing goes on, as a click past the end of a plain field does.
    void mousePressEvent(QMouseEvent* event) override;
    // Qt's digit position also takes a blank, which would erase the digit
    // there: a key that types a blank is refused.
    void keyPressEvent(QKeyEvent* event) override;
    // Dropped text goes in as a paste does (pasteFitting).
    void dropEvent(QDropEvent* event) override;

private:
    // The position just after the last digit typed; 0 when none is.
    int typedEnd() const;

    QString m_mask;
};
