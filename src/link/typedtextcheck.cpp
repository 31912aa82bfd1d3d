// SPDX-License-Identifier: GPL-3.0-or-later
#include "typedtextcheck.h"

#include "core/commandline.h"
#include "form/form1context.h"
#include "platform/eightbit.h"
#include "platform/oneline.h"
#include "platform/prompter.h"

#include <QLineEdit>

namespace {

QString nameOf(const QLineEdit* field)
{
    return field->accessibleName().isEmpty() ? field->objectName() : field->accessibleName();
}

bool hidesWhatIsTyped(const QLineEdit* field)
{
    return field->echoMode() != QLineEdit::Normal;
}

QString refusal(const QLineEdit* field, const QString& typed)
{
    if (OneLine::holdsControl(typed))
        return QStringLiteral("The text in \"%1\" holds a line break or another control character, "
                              "which cannot be sent to the panel.\n"
                              "Please type the text again.")
            .arg(nameOf(field));
    if (EightBit::representable(typed))
        return QString();
    if (hidesWhatIsTyped(field))
        return QStringLiteral("The text in \"%1\" holds characters that cannot be sent to the panel.\n"
                              "Please type the text again without them.")
            .arg(nameOf(field));
    return QStringLiteral("These characters cannot be sent to the panel: %1\n"
                          "Please type the text again without them.")
        .arg(EightBit::foreignCharacters(typed));
}

}   // namespace

bool typedTextFitsTheLine(const Form1Context& ctx, const QLineEdit* field, const QString& typed)
{
    if (CommandLine::fits(typed))
        return true;
    const QString prompt = refusal(field, typed);
    MessageBox box;
    box.prompt = prompt;
    box.title = ctx.settings.title();
    box.icon = MessageBox::Icon::Exclamation;
    ctx.platform.prompter.ask(box);
    return false;
}
