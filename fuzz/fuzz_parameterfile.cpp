// SPDX-License-Identifier: GPL-3.0-or-later
// Open Parameter on any file: the reader gives each field a value of the
// shape the field takes, and the main window's fields take them.
//
// Input: the bytes of a parameter file.

#include "fuzzsupport.h"

#include "app/mainwindow.h"
#include "desktop/maskedfield.h"
#include "files/parameterfile.h"
#include "files/parametermenu.h"
#include "files/textfile.h"
#include "platform/eightbit.h"
#include "testplatform.h"

#include <QLineEdit>

#include <algorithm>

namespace {

using Fuzz::require;

MainWindow* window = nullptr;

bool isDigitOrBlank(QChar c)
{
    return (c >= u'0' && c <= u'9') || c == u' ';
}

// Digit positions of the given width, each a digit or left empty.
bool digitPositions(const QString& text, int width)
{
    return text.size() == width && std::all_of(text.begin(), text.end(), isDigitOrBlank);
}

bool withoutBlanksAround(const QString& text)
{
    return !text.startsWith(u' ') && !text.endsWith(u' ');
}

void checkShape(const ParameterAssignment& a)
{
    const QString& t = a.text;
    require(!t.contains(u'\r') && !t.contains(u'\n'), "a value holds no line end");
    switch (a.field) {
    case ParameterField::Phone: require(!t.endsWith(u' '), "a phone number ends without blanks"); break;
    case ParameterField::Code: require(t.size() == 4, "a code has four characters"); break;
    case ParameterField::TalkTime: require(digitPositions(t, 3), "a talk time fills three positions"); break;
    case ParameterField::Door1Time:
    case ParameterField::Door2Time: require(digitPositions(t, 2), "a door time fills two positions"); break;
    case ParameterField::DoorRelease:
        require(t.size() == 3 && t.at(1) == u'/' && isDigitOrBlank(t.at(0)) && isDigitOrBlank(t.at(2)),
                "a door release is digit, slash, digit");
        break;
    case ParameterField::Message: require(withoutBlanksAround(t), "a message has no blanks around it"); break;
    }
}

void checkTypedValue(const MaskedField* field)
{
    const QString typed = field->typedValue();
    require(typed.size() <= field->positions(), "a typed value fits the field's positions");
    require(std::all_of(typed.begin(), typed.end(), [](QChar c) { return c >= u'0' && c <= u'9'; }),
            "a typed value holds the digits 0 to 9 only");
}

}   // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    Fuzz::startApplication();
    static TestPlatform fakes;
    window = new MainWindow(fakes.platform);
    window->Form_Load();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QStringList lines = TextFile::splitLines(
        EightBit::decode(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size))));
    const ParameterReading reading = ParameterFile::read(lines);
    require(reading.stoppedAtLine >= 0 && reading.stoppedAtLine <= lines.size(),
            "the reading stops at a line of the file");
    const int linesRead = reading.stoppedAtLine == 0 ? int(lines.size()) : reading.stoppedAtLine - 1;
    require(reading.assignments.size() <= linesRead, "each line read sets one field at most");

    for (const ParameterAssignment& assignment : reading.assignments) {
        checkShape(assignment);
        window->parameterMenu().apply(assignment);
    }
    const Form1Ui& ui = window->ui();
    for (const MaskedField* field : {ui.medit1, ui.medit2, ui.medit3, ui.dtmf})
        checkTypedValue(field);
    return 0;
}
