#include "commandline.h"

#include "platform/eightbit.h"

namespace CommandLine {

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

} // namespace CommandLine
