#include "typedtextcheck.h"

#include "app/form1context.h"
#include "platform/eightbit.h"
#include "platform/prompter.h"

bool typedTextFitsTheLine(const Form1Context& ctx, const QString& typed)
{
    if (EightBit::representable(typed))
        return true;
    MessageBox box;
    box.prompt = QStringLiteral("These characters cannot be sent to the panel: %1\n"
                                "Please type the text again without them.")
                     .arg(EightBit::foreignCharacters(typed));
    box.title = ctx.settings.title();
    box.icon = MessageBox::Icon::Exclamation;
    ctx.platform.prompter.ask(box);
    return false;
}
