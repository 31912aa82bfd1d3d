// SPDX-License-Identifier: GPL-3.0-or-later
#include "tenantlist.h"

#include "desktop/plainenter.h"
#include "files/textfile.h"
#include "form/terminalfont.h"

#include <QFont>
#include <QTextDocument>

TenantList::TenantList(QWidget* parent) : QPlainTextEdit(parent)
{
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setTabChangesFocus(true);
    setFont(terminalFont());
    PlainEnter::install(this);
}

// The raw text keeps every character as typed (toPlainText() would turn
// non-breaking spaces into blanks); paragraph breaks become CR LF.
QString TenantList::text() const
{
    QString raw = document()->toRawText();
    raw.replace(QChar::ParagraphSeparator, TextFile::kCrLf);
    return raw;
}

void TenantList::setText(const QString& text)
{
    setPlainText(text);
    moveCursor(QTextCursor::End);
}
