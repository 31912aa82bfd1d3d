// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPlainTextEdit>

// The tenant editor's list: an editable text pane whose text has CR LF line
// ends, as the tenant file has.
class TenantList : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit TenantList(QWidget* parent = nullptr);

    QString text() const;
    // Replaces the whole text and puts the caret at its end.
    void setText(const QString& text);
};
