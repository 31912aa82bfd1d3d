// SPDX-License-Identifier: GPL-3.0-or-later
#include "parametermenu.h"

#include "desktop/maskedfield.h"
#include "files/fileerrorbox.h"
#include "files/textfile.h"
#include "form/form1context.h"
#include "platform/prompter.h"

#include <QFileInfo>
#include <QLineEdit>

const QString ParameterMenu::kSaveFilter = QStringLiteral("Parameter Files (*.par)|*.par");
const QString ParameterMenu::kOpenFilter = QStringLiteral("PAR Files (*.par)|*.par");

ParameterMenu::ParameterMenu(Form1Context& ctx, QObject* parent) : QObject(parent), m_ctx(ctx) {}

ParameterValues ParameterMenu::currentValues() const
{
    const Form1Ui& ui = m_ctx.ui;
    return {
        {ParameterField::Phone, ui.Text2->text()},
        {ParameterField::Code, ui.Text3->text()},
        {ParameterField::TalkTime, ui.medit1->typedValue()},
        {ParameterField::Door1Time, ui.medit2->typedValue()},
        {ParameterField::Door2Time, ui.medit3->typedValue()},
        {ParameterField::DoorRelease, ui.dtmf->typedValue()},
        {ParameterField::Message, ui.MsgWel->text()},
    };
}

void ParameterMenu::apply(const ParameterAssignment& assignment)
{
    const Form1Ui& ui = m_ctx.ui;
    switch (assignment.field) {
    case ParameterField::Phone: ui.Text2->setText(assignment.text); break;
    case ParameterField::Code: ui.Text3->setText(assignment.text); break;
    case ParameterField::TalkTime: ui.medit1->setFullText(assignment.text); break;
    case ParameterField::Door1Time: ui.medit2->setFullText(assignment.text); break;
    case ParameterField::Door2Time: ui.medit3->setFullText(assignment.text); break;
    case ParameterField::DoorRelease: ui.dtmf->setFullText(assignment.text); break;
    case ParameterField::Message: ui.MsgWel->setText(assignment.text); break;
    }
}

// A file that cannot be written is reported; the fields keep their values.
void ParameterMenu::mnuopenpar_Click()
{
    m_ctx.ui.Text3->setFocus();
    const QString path = chooseSaveTarget();
    if (path.isEmpty())
        return;
    QString error;
    if (!TextFile::write(path, ParameterFile::text(currentValues()), error))
        m_ctx.platform.prompter.ask(fileErrorBox(error, m_ctx.settings.title()));
}

// The save dialog until the operator chooses a new file or agrees to replace
// one; empty when the dialog is cancelled. The file is replaced only once the
// new one is complete.
QString ParameterMenu::chooseSaveTarget()
{
    FileDialogRequest request;
    request.mode = FileDialogRequest::Mode::Save;
    request.filter = kSaveFilter;
    for (;;) {
        const FileDialogResult result = m_ctx.platform.prompter.chooseFile(request);
        if (!result.chosen())
            return QString();
        if (!QFileInfo::exists(result.path) || replaceAllowed(result.path))
            return result.path;
    }
}

bool ParameterMenu::replaceAllowed(const QString& path)
{
    MessageBox box;
    box.prompt = QStringLiteral("Replace existing file - ") + path + u'?';
    box.title = m_ctx.settings.title();
    box.buttons = MessageBox::Buttons::YesNoCancel;
    box.icon = MessageBox::Icon::Question;
    box.defaultButton = MessageBox::Answer::Yes;
    return m_ctx.platform.prompter.ask(box) == MessageBox::Answer::Yes;
}

// The fields take the values of the file's lines as they are read; a line
// that stops the reading leaves the values set before it in place.
void ParameterMenu::OpenPar_Click()
{
    FileDialogRequest request;
    request.mode = FileDialogRequest::Mode::Open;
    request.filter = kOpenFilter;
    request.filterIndex = 1;
    const FileDialogResult result = m_ctx.platform.prompter.chooseFile(request);
    if (!result.chosen())
        return;
    const auto take = [this](const QString& line) {
        const ParameterLineEffect effect = ParameterFile::effectOfLine(line);
        if (effect.kind == ParameterLineEffect::Kind::Set)
            apply(effect.assignment);
        return effect.kind != ParameterLineEffect::Kind::Stop;
    };
    QString refusal;
    if (!TextFile::forEachLine(result.path, take, refusal) && !refusal.isEmpty())
        m_ctx.platform.prompter.ask(fileErrorBox(refusal, m_ctx.settings.title()));
}
