// SPDX-License-Identifier: GPL-3.0-or-later
#include "tenanteditor.h"

#include "core/appsettings.h"
#include "desktop/controlevents.h"
#include "desktop/maskedfield.h"
#include "desktop/platform.h"
#include "files/fileerrorbox.h"
#include "files/pendingtenantfile.h"
#include "files/printjob.h"
#include "files/tenantfile.h"
#include "files/tenantlist.h"
#include "files/tenantrecord.h"
#include "files/textfile.h"
#include "platform/prompter.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

const QString TenantEditor::kSendTitle = QStringLiteral("SEND: FILE CONTENT");

namespace {

const QString kEnterCaption = QStringLiteral("Enter ");
const QString kTenantFilter = QStringLiteral("TNT File (*.TNT)|*.TNT");
constexpr int kTelephoneDigits = 11;
constexpr int kCodeDigits = 4;
constexpr int kDoorDigits = 1;

}   // namespace

TenantEditor::TenantEditor(int digits, Platform& platform, const AppSettings& settings,
                           PendingTenantFile& pending, QWidget* parent)
    : QDialog(parent), m_digits(digits), m_platform(platform), m_settings(settings), m_pending(pending)
{
    setObjectName(windowName(digits));
    buildTenantEditor(this, digits, m_ui);
    wire();
}

QString TenantEditor::windowName(int digits)
{
    switch (digits) {
    case 2: return QStringLiteral("tntform");
    case 3: return QStringLiteral("tntform1");
    default: return QStringLiteral("tntform2");
    }
}

QString TenantEditor::incompleteDirectoryPrompt(int digits)
{
    return QStringLiteral("Directory must be %1 digits").arg(digits);
}

void TenantEditor::wire()
{
    connect(m_ui.ent, &QPushButton::clicked, this, &TenantEditor::ent_Click);
    connect(m_ui.tntsave, &QPushButton::clicked, this, &TenantEditor::tntsave_Click);
    connect(m_ui.tntsaveas, &QPushButton::clicked, this, &TenantEditor::tntsaveas_Click);
    connect(m_ui.Command1, &QPushButton::clicked, this, &TenantEditor::Command1_Click);
    connect(m_ui.qui, &QPushButton::clicked, this, &TenantEditor::qui_Click);
    wireKeyboardFlow();
}

// Enter in a field moves the focus on; a field receiving the focus puts the
// caret of a field at its start (the telephone field the code field's, and
// so on). Enter goes no further than the field, so the window never takes
// it as a click on the button that has just received the focus.
void TenantEditor::wireKeyboardFlow()
{
    struct Step {
        QWidget* field;
        QWidget* next;
        QLineEdit* caretOnFocus;
    };
    const Step steps[] = {
        {m_ui.dirtenant, m_ui.teltenant, m_ui.dirtenant},
        {m_ui.teltenant, m_ui.adtenant, m_ui.adtenant},
        {m_ui.adtenant, m_ui.doortnt, m_ui.doortnt},
        {m_ui.doortnt, m_ui.Text2, m_ui.Text2},
        {m_ui.Text2, m_ui.ent, nullptr},
    };
    for (const Step& step : steps) {
        ControlEvents& events = ControlEvents::of(step.field);
        events.keyPress = [next = step.next](int& charCode) {
            if (charCode != ControlEvents::kEnter)
                return;
            next->setFocus();
            charCode = 0;
        };
        if (step.caretOnFocus)
            events.gotFocus = [field = step.caretOnFocus] { field->setCursorPosition(0); };
    }
}

// Escape does not close the window: that would throw the list away.
void TenantEditor::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TenantEditor::Form_Load()
{
    TenantFile::ListBuilder list;
    QString refusal;
    const auto add = [&list](const QString& line) {
        list.add(line);
        return true;
    };
    if (TextFile::forEachLine(m_pending.name(), add, refusal)) {
        m_ui.Text1->setText(list.list());
        m_pending.clear();
    } else if (!refusal.isEmpty()) {
        m_platform.prompter.ask(fileErrorBox(refusal, m_settings.title()));
    }
    m_ui.ent->setText(kEnterCaption);
    m_ui.dirtenant->setFocus();
}

void TenantEditor::ent_Click()
{
    const QString list = m_ui.Text1->text();
    if (m_ui.dirtenant->typedValue().size() != m_digits) {
        m_platform.prompter.tell(incompleteDirectoryPrompt(m_digits), m_settings.title());
    } else {
        m_ui.Text1->setText(list + typedRecord().line());
        clearFields();
    }
    m_ui.dirtenant->setFocus();
}

TenantRecord TenantEditor::typedRecord() const
{
    return TenantRecord{m_ui.dirtenant->typedValue(), m_ui.teltenant->typedValue(),
                        m_ui.adtenant->typedValue(), m_ui.doortnt->typedValue(), m_ui.Text2->text()};
}

// Each emptied field has its caret at the start, where typing begins.
void TenantEditor::clearFields()
{
    const QPair<MaskedField*, int> fields[] = {{m_ui.dirtenant, m_digits},
                                               {m_ui.teltenant, kTelephoneDigits},
                                               {m_ui.adtenant, kCodeDigits},
                                               {m_ui.doortnt, kDoorDigits}};
    for (const auto& [field, blanks] : fields) {
        field->setFullText(QString(blanks, u' '));
        field->setCursorPosition(0);
    }
    m_ui.Text2->clear();
}

void TenantEditor::tntsave_Click()
{
    save(SaveDialog::WhenUnnamed);
}

void TenantEditor::tntsaveas_Click()
{
    save(SaveDialog::Always);
}

// A file that cannot be written is reported and the list stays, so the
// operator can save it elsewhere; Save keeps asking for a name until one
// has worked.
void TenantEditor::save(SaveDialog when)
{
    const QString list = m_ui.Text1->text();
    if (list.isEmpty()) {
        m_platform.prompter.tell(QStringLiteral("Invalid file"), QStringLiteral("Save file"));
        return;
    }
    const QString path = chooseSaveName(when);
    if (path.isEmpty())
        return;
    m_ui.Text1->setFocus();
    QString error;
    if (!TextFile::write(path, TenantFile::textFromList(list), error)) {
        m_platform.prompter.ask(fileErrorBox(error, m_settings.title()));
        return;
    }
    m_saveName = path;
}

// Empty when the operator cancels.
QString TenantEditor::chooseSaveName(SaveDialog when)
{
    if (when == SaveDialog::WhenUnnamed && !m_saveName.isEmpty())
        return m_saveName;
    FileDialogRequest request;
    request.mode = FileDialogRequest::Mode::Save;
    request.title = when == SaveDialog::Always ? QStringLiteral("Save As") : QStringLiteral("Save");
    request.filter = kTenantFilter;
    request.fileName = m_saveName;
    const FileDialogResult result = m_platform.prompter.chooseFile(request);
    return result.chosen() ? result.path : QString();
}

void TenantEditor::Command1_Click()
{
    PrintJob{kSendTitle, m_ui.Text1->text()}.print(m_platform.printer, m_platform.clock);
}

void TenantEditor::qui_Click()
{
    m_ui.Text1->clear();
    close();
}
