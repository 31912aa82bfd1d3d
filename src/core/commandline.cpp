// SPDX-License-Identifier: GPL-3.0-or-later
#include "commandline.h"

#include "platform/eightbit.h"
#include "platform/oneline.h"

namespace CommandLine {

namespace {
const QString kMessageWord = QStringLiteral("PARMSG");
}   // namespace

bool fits(const QString& text)
{
    return !OneLine::holdsControl(text) && EightBit::representable(text);
}

QByteArray line(const QString& text)
{
    return EightBit::encode(text) + QByteArrayLiteral("\r\n");
}

QByteArray command(const QString& word, const QStringList& values)
{
    if (values.isEmpty())
        return line(word);
    return line(word + u' ' + values.join(u' '));
}

QByteArray programming(const QString& code)
{
    return line(kProgrammingWord + code);
}

QByteArrayList welcomeMessage(const QString& message)
{
    return {EightBit::encode(kMessageWord), line(u' ' + message + u' ')};
}

}   // namespace CommandLine
