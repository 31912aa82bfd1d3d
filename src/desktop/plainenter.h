// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

class QWidget;

// Makes Shift+Enter in a text pane act as Enter. Qt's text panes insert a
// line separator (U+2028) for it, a character that no 8-bit file or line can
// hold; the program's panes want their ordinary line end.
class PlainEnter : public QObject {
    Q_OBJECT
public:
    static void install(QWidget* pane);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit PlainEnter(QObject* parent) : QObject(parent) {}
};
