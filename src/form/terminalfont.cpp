// SPDX-License-Identifier: GPL-3.0-or-later
#include "terminalfont.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QStringList>

QFont terminalFont()
{
    // "Terminal" where it exists, otherwise the first fixed-pitch family of the
    // system's usual ones: some monospaced fonts do not say they are, so each
    // candidate is checked as it is actually resolved.
    const QStringList candidates = {
        QStringLiteral("Terminal"),         QFontDatabase::systemFont(QFontDatabase::FixedFont).family(),
        QStringLiteral("DejaVu Sans Mono"), QStringLiteral("Liberation Mono"),
        QStringLiteral("Noto Mono"),        QStringLiteral("Courier New")};
    const QStringList installed = QFontDatabase::families();
    for (const QString& family : candidates) {
        QFont font(family);
        font.setStyleHint(QFont::TypeWriter);
        if (installed.contains(family) && QFontInfo(font).fixedPitch())
            return font;
    }
    for (const QString& family : installed) {
        if (QFontDatabase::isFixedPitch(family) && QFontInfo(QFont(family)).fixedPitch())
            return QFont(family);
    }
    return QFontDatabase::systemFont(QFontDatabase::FixedFont);
}
