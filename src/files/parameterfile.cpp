// SPDX-License-Identifier: GPL-3.0-or-later
#include "parameterfile.h"

#include "files/blanks.h"
#include "files/textfile.h"

namespace {

struct Tag {
    ParameterField field;
    QString word;
    QString separator;   // between the word and the value
};

const QList<Tag>& tags()
{
    static const QList<Tag> kTags = {
        {ParameterField::Phone, QStringLiteral("PHO"), QString()},
        {ParameterField::Code, QStringLiteral("PGM"), QString()},
        {ParameterField::TalkTime, QStringLiteral("PARTKT"), QStringLiteral(" ")},
        {ParameterField::Door1Time, QStringLiteral("PARDOT1"), QStringLiteral(" ")},
        {ParameterField::Door2Time, QStringLiteral("PARDOT2"), QStringLiteral(" ")},
        {ParameterField::DoorRelease, QStringLiteral("PARDTM"), QStringLiteral(" ")},
        {ParameterField::Message, QStringLiteral("PARMSG"), QStringLiteral(" ")},
    };
    return kTags;
}

constexpr int kCodeLength = 4;
constexpr int kDoorReleaseDigits = 2;
constexpr int kTalkTimeDigits = 3;
constexpr int kDoorTimeDigits = 2;

const Tag& tagOf(ParameterField field)
{
    for (const Tag& tag : tags()) {
        if (tag.field == field)
            return tag;
    }
    Q_UNREACHABLE();
}

using LineEffect = ParameterLineEffect;

// A trimmed line of the file and the field its tag names.
class TaggedLine {
public:
    TaggedLine(const QString& line, ParameterField field) : m_line(line), m_tag(tagOf(field)) {}

    bool matches() const { return m_line.startsWith(m_tag.word); }
    // The characters after the tag and its separator; negative when the line is shorter.
    int valueLength() const { return int(m_line.size() - m_tag.word.size() - m_tag.separator.size()); }
    QString value() const { return m_line.right(valueLength()); }
    ParameterField field() const { return m_tag.field; }

private:
    const QString& m_line;
    const Tag& m_tag;
};

// A digit position takes a digit or the blank that leaves it empty.
bool fitsDigitPositions(const QString& digits)
{
    for (QChar c : digits) {
        if (!(c >= u'0' && c <= u'9') && c != u' ')
            return false;
    }
    return true;
}

LineEffect setDigits(ParameterField field, const QString& digits, const QString& text)
{
    return fitsDigitPositions(digits) ? LineEffect::set(field, text) : LineEffect::stop();
}

// A time of 1 to width digits, filled with leading zeros to width.
LineEffect timeEffect(const TaggedLine& line, int width)
{
    if (line.valueLength() < 1 || line.valueLength() > width)
        return {};
    return setDigits(line.field(), line.value(), line.value().rightJustified(width, u'0'));
}

LineEffect doorReleaseEffect(const TaggedLine& line)
{
    if (line.valueLength() != kDoorReleaseDigits)
        return {};
    const QString digits = line.value();
    return setDigits(line.field(), digits, digits.left(1) + u'/' + digits.right(1));
}

LineEffect effectOf(const QString& text)
{
    using F = ParameterField;
    if (const TaggedLine line(text, F::Phone); line.matches())
        return LineEffect::set(line.field(), line.value());
    if (const TaggedLine line(text, F::Code); line.matches())
        return line.valueLength() == kCodeLength ? LineEffect::set(line.field(), line.value()) : LineEffect{};
    if (const TaggedLine line(text, F::DoorRelease); line.matches())
        return doorReleaseEffect(line);
    if (const TaggedLine line(text, F::Message); line.matches()) {
        return line.valueLength() < 0 ? LineEffect::stop()
                                      : LineEffect::set(line.field(), Blanks::trimmed(line.value()));
    }
    if (const TaggedLine line(text, F::TalkTime); line.matches())
        return timeEffect(line, kTalkTimeDigits);
    if (const TaggedLine line(text, F::Door1Time); line.matches())
        return timeEffect(line, kDoorTimeDigits);
    if (const TaggedLine line(text, F::Door2Time); line.matches())
        return timeEffect(line, kDoorTimeDigits);
    return {};
}

}   // namespace

namespace ParameterFile {

QString text(const ParameterValues& values)
{
    QString out;
    for (const Tag& tag : tags()) {
        const QString value = values.value(tag.field);
        if (!value.isEmpty())
            out += tag.word + tag.separator + value + TextFile::kCrLf;
    }
    return out + TextFile::kCrLf;
}

ParameterLineEffect effectOfLine(const QString& line)
{
    return effectOf(Blanks::trimmed(line));
}

ParameterReading read(const QStringList& lines)
{
    ParameterReading reading;
    for (int i = 0; i < lines.size(); ++i) {
        const LineEffect effect = effectOfLine(lines.at(i));
        if (effect.kind == LineEffect::Kind::Stop) {
            reading.stoppedAtLine = i + 1;
            break;
        }
        if (effect.kind == LineEffect::Kind::Set)
            reading.assignments.append(effect.assignment);
    }
    return reading;
}

}   // namespace ParameterFile
