// SPDX-License-Identifier: GPL-3.0-or-later
// Open Tenant File on any file: the "TEL:" column picks an editor of 2, 3 or
// 4 digits or none, and the list the editor loads survives a save and a
// second open with nothing lost.
//
// Input: the bytes of a tenant file.

#include "fuzzsupport.h"

#include "files/tenantfile.h"
#include "files/tenantlist.h"
#include "files/textfile.h"
#include "platform/eightbit.h"

#include <algorithm>

namespace {

using Fuzz::require;

TenantList* list = nullptr;

bool anyTelephoneTag(const QStringList& lines)
{
    return std::any_of(lines.begin(), lines.end(),
                       [](const QString& line) { return line.contains(QStringLiteral("TEL:")); });
}

}   // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    Fuzz::startApplication();
    list = new TenantList;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = EightBit::decode(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    const QStringList lines = TextFile::splitLines(text);

    const int digits = TenantFile::digitCountOf(lines);
    require(digits == 0 || digits == 2 || digits == 3 || digits == 4,
            "an editor of 2, 3 or 4 digits or none");
    if (!anyTelephoneTag(lines))
        require(digits == 0, "a file without TEL: opens no editor");

    // What the editor shows is what it saves.
    const QString loaded = TenantFile::listFromLines(lines);
    list->setText(loaded);
    require(list->text() == loaded, "the editor's list holds the file's lines exactly");

    // Saved and opened again: the same lines, and the one further line end
    // that a save adds.
    const QString saved = TenantFile::textFromList(list->text());
    require(EightBit::representable(saved), "the saved text is 8-bit");
    const QString reopened = TenantFile::listFromLines(TextFile::splitLines(saved));
    require(reopened == loaded + TextFile::kCrLf, "a saved list opens again as it was");
    return 0;
}
