// SPDX-License-Identifier: GPL-3.0-or-later
#include "siteeditor.h"

#include "desktop/onelinefield.h"
#include "desktop/tabchain.h"
#include "form/form1context.h"
#include "link/typedtextcheck.h"
#include "platform/prompter.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>

namespace {
QLineEdit* field(const char* objectName, const QString& spokenName, QWidget* parent)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(objectName));
    edit->setAccessibleName(spokenName);
    return edit;
}
}   // namespace

SiteEditor::SiteEditor(const Form1Context& ctx, const SiteBook& book, int index, QWidget* parent)
    : QDialog(parent), m_ctx(ctx), m_book(book), m_index(index)
{
    if (index >= 0)
        m_site = book.sites().at(index);
    build();
    name->setText(m_site.name);
    port->setCurrentIndex(m_site.port - 1);
    phone->setText(m_site.phone);
    setup->setText(m_site.setup);
    notes->setPlainText(m_site.notes);
}

void SiteEditor::build()
{
    setObjectName(QStringLiteral("SiteEditor"));
    setWindowTitle(m_index < 0 ? QStringLiteral("New Site") : QStringLiteral("Edit Site"));
    name = field("name", QStringLiteral("Name"), this);
    port = new QComboBox(this);
    port->setObjectName(QStringLiteral("port"));
    port->setAccessibleName(QStringLiteral("Port"));
    port->addItems({QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4")});
    // The phone number and the setup string go onto the line as Text2's and
    // the Setting dialog's do: one line each.
    phone = field("phone", QStringLiteral("Phone Number"), this);
    setup = field("setup", QStringLiteral("Modem Setting"), this);
    for (QLineEdit* line : {name, phone, setup})
        OneLineField::keep(line);
    notes = new QPlainTextEdit(this);
    notes->setObjectName(QStringLiteral("notes"));
    notes->setAccessibleName(QStringLiteral("Notes"));
    notes->setTabChangesFocus(true);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    okButton = buttons->button(QDialogButtonBox::Ok);
    connect(buttons, &QDialogButtonBox::accepted, this, &SiteEditor::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &SiteEditor::reject);

    auto* form = new QFormLayout(this);
    form->addRow(QStringLiteral("&Name"), name);
    form->addRow(QStringLiteral("&Port"), port);
    form->addRow(QStringLiteral("P&hone Number"), phone);
    form->addRow(QStringLiteral("&Modem Setting"), setup);
    form->addRow(QStringLiteral("N&otes"), notes);
    form->addRow(buttons);
    setTabChain({name, port, phone, setup, notes, buttons->button(QDialogButtonBox::Ok),
                 buttons->button(QDialogButtonBox::Cancel)});
}

Site SiteEditor::site() const
{
    Site edited = m_site;
    edited.name = name->text();   // blanks at either end are refused, not dropped unseen
    edited.port = port->currentIndex() + 1;
    edited.phone = phone->text();
    edited.setup = setup->text();
    edited.notes = notes->toPlainText();
    return edited;
}

void SiteEditor::accept()
{
    const Site edited = site();
    if (!typedTextFitsTheLine(m_ctx, phone, edited.phone)) {
        phone->setFocus();
        return;
    }
    if (!typedTextFitsTheLine(m_ctx, setup, edited.setup)) {
        setup->setFocus();
        return;
    }
    // Found by id: in a team the book may have been read again meanwhile.
    const QString problem =
        m_book.problemWith(edited, edited.id == 0 ? m_index : m_book.indexOfId(edited.id));
    if (!problem.isEmpty()) {
        m_ctx.platform.prompter.tell(problem, windowTitle());
        name->setFocus();
        return;
    }
    if (!m_send) {
        QDialog::accept();
        return;
    }
    okButton->setEnabled(false);   // one save at a time
    QPointer<SiteEditor> self(this);
    m_send(edited.id == 0 ? TeamSiteLink::Kind::Add : TeamSiteLink::Kind::Update, edited,
           [self, edited](const TeamSites::Answer& answer) {
               if (self)
                   self->answered(edited, answer);
           });
}

void SiteEditor::sendWith(Send send)
{
    m_send = std::move(send);
}

void SiteEditor::answered(const Site& sent, const TeamSites::Answer& answer)
{
    okButton->setEnabled(true);
    if (answer.change == Store::Change::Done) {
        m_site = answer.site;
        QDialog::accept();
        return;
    }
    if (answer.change == Store::Change::Changed) {
        m_site.version = answer.site.version;   // saved again, it goes over the site as it is now
    } else if (answer.change == Store::Change::Gone) {
        m_site.id = 0;   // saved again, it is added
        m_site.version = 0;
        m_index = -1;
        setWindowTitle(QStringLiteral("New Site"));
    }
    m_ctx.platform.prompter.tell(SiteBook::teamRefusal(sent, answer), windowTitle());
}
