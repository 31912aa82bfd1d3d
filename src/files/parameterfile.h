// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

// The main-window fields a parameter file (.par) keeps, in the file's order.
enum class ParameterField { Phone, Code, TalkTime, Door1Time, Door2Time, DoorRelease, Message };

// A field's value: what the writer takes is the field's text, or the typed
// value of a masked field; what the reader gives is the text to set, the
// literals of a masked field included ("4/5").
using ParameterValues = QMap<ParameterField, QString>;

struct ParameterAssignment {
    ParameterField field;
    QString text;

    bool operator==(const ParameterAssignment& other) const
    {
        return field == other.field && text == other.text;
    }
};

// What one line of a file does to the fields.
struct ParameterLineEffect {
    enum class Kind { None, Set, Stop };
    Kind kind = Kind::None;
    ParameterAssignment assignment{ParameterField::Phone, QString()};

    static ParameterLineEffect set(ParameterField field, const QString& text)
    {
        return {Kind::Set, {field, text}};
    }
    static ParameterLineEffect stop() { return {Kind::Stop, {ParameterField::Phone, QString()}}; }
};

// What the reader makes of a file: the fields to set, in the order of the
// lines, up to the line that stops the reading.
struct ParameterReading {
    QList<ParameterAssignment> assignments;
    int stoppedAtLine = 0;   // 1-based; 0 when every line was read
};

// Parameter files: each non-empty value on a line of its own as tag and
// value ("PHO5551234", "PARTKT 45"), then one empty line.
namespace ParameterFile {

QString text(const ParameterValues& values);

// Lines are recognised by their tag after their blanks are trimmed; lines
// with another tag or a length the field does not take are passed over. A
// message loses the blanks around it. A value a digit field cannot hold, or
// a "PARMSG" line without its blank, stops the reading at its line.
ParameterReading read(const QStringList& lines);
// The same for one line of a file, as it stands in the file.
ParameterLineEffect effectOfLine(const QString& line);

}   // namespace ParameterFile
