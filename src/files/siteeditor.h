// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "files/sitebook.h"

#include <QDialog>

class QComboBox;
class QLineEdit;
class QPlainTextEdit;
struct Form1Context;

// Edits one site of the book. OK keeps the dialog open, with a box, until
// the site meets the book's rules.
class SiteEditor : public QDialog {
    Q_OBJECT
public:
    // index: the site's place in the book, -1 for a new site.
    SiteEditor(const Form1Context& ctx, const SiteBook& book, int index, QWidget* parent = nullptr);

    Site site() const;
    void accept() override;

    QLineEdit* name = nullptr;
    QComboBox* port = nullptr;
    QLineEdit* phone = nullptr;
    QLineEdit* setup = nullptr;
    QPlainTextEdit* notes = nullptr;

private:
    void build();

    const Form1Context& m_ctx;
    const SiteBook& m_book;
    int m_index;
    Site m_site;
};
