// SPDX-License-Identifier: GPL-3.0-or-later
#include "statefile.h"

#include "parameterrules.h"

#include <QFile>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStringList>

namespace {

const QString kMasterCodeKey = QStringLiteral("master-code");

// Parses one file; each read* function returns an error text or nothing.
class StateParser {
public:
    std::optional<PanelState> parse(const QString& text, QString* error)
    {
        const QStringList lines = text.split(QLatin1Char('\n'));
        for (int i = 0; i < lines.size(); ++i) {
            QString line = lines.at(i);
            if (line.endsWith(QLatin1Char('\r')))
                line.chop(1);   // written on a system with CR LF line ends
            const QString problem = readLine(line);
            if (!problem.isEmpty()) {
                *error = QStringLiteral("line %1: %2").arg(i + 1).arg(problem);
                return std::nullopt;
            }
        }
        return m_state;
    }

private:
    // Tenant records are taken as they stand, so names keep trailing blanks.
    QString readLine(const QString& raw)
    {
        const QString line = raw.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            return {};
        if (line.startsWith(QLatin1Char('[')))
            return readSection(line);
        if (m_section == QLatin1String("panel"))
            return readSetting(line);
        if (m_section == QLatin1String("tenants"))
            return readTenant(raw);
        if (m_section == QLatin1String("events"))
            return readEvent(line);
        return QStringLiteral("text before the first section");
    }

    QString readSection(const QString& line)
    {
        static const QStringList kSections = {QStringLiteral("panel"), QStringLiteral("tenants"),
                                              QStringLiteral("events")};
        const QString name = line.mid(1, line.size() - 2);
        if (!line.endsWith(QLatin1Char(']')) || !kSections.contains(name))
            return QStringLiteral("unknown section %1").arg(line);
        m_section = name;
        return {};
    }

    QString readSetting(const QString& line)
    {
        const int equals = line.indexOf(QLatin1Char('='));
        if (equals < 0)
            return QStringLiteral("expected key = value");
        const QString key = line.left(equals).trimmed();
        const QString value = line.mid(equals + 1).trimmed();
        if (key == kMasterCodeKey) {
            if (!ParameterRules::isValidMasterCode(value))
                return QStringLiteral("master code must be 1 to 6 digits");
            m_state.setMasterCode(value);
            return {};
        }
        if (!ParameterRules::words().contains(key))
            return QStringLiteral("unknown key %1").arg(key);
        const std::optional<QString> normalized = ParameterRules::normalize(key, value);
        if (!normalized)
            return QStringLiteral("bad value for %1: %2").arg(key, value);
        m_state.setParameter(key, *normalized);
        return {};
    }

    QString readTenant(const QString& line)
    {
        const std::optional<TenantRecord> tenant = TenantRecord::parse(line);
        if (!tenant)
            return QStringLiteral("bad tenant record");
        m_state.putTenant(*tenant);
        return {};
    }

    QString readEvent(const QString& line)
    {
        static const QRegularExpression kEvent(
            QStringLiteral("^((?:\\d\\d/\\d\\d/\\d{4}|--/--/----) (?:\\d\\d:\\d\\d|--:--)) (.+)$"));
        const QRegularExpressionMatch m = kEvent.match(line);
        if (!m.hasMatch())
            return QStringLiteral("expected MM/DD/YYYY HH:MM text");
        m_state.appendEvent(PanelEvent{m.captured(1), m.captured(2)});
        return {};
    }

    PanelState m_state;
    QString m_section;
};

}   // namespace

std::optional<PanelState> StateFile::parse(const QString& text, QString* error)
{
    return StateParser().parse(text, error);
}

QString StateFile::format(const PanelState& state)
{
    QString text = QStringLiteral("# velno panel simulator state\n\n[panel]\n");
    text += kMasterCodeKey + QStringLiteral(" = ") + state.masterCode() + QLatin1Char('\n');
    for (const QString& word : ParameterRules::words()) {
        if (const std::optional<QString> value = state.parameter(word))
            text += word + QStringLiteral(" = ") + *value + QLatin1Char('\n');
    }
    text += QStringLiteral("\n[tenants]\n");
    for (const TenantRecord& tenant : state.tenants())
        text += tenant.toLine() + QLatin1Char('\n');
    text += QStringLiteral("\n[events]\n");
    for (const PanelEvent& event : state.events())
        text += event.stamp + QLatin1Char(' ') + event.text + QLatin1Char('\n');
    return text;
}

std::optional<PanelState> StateFile::load(const QString& path, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("%1: %2").arg(path, file.errorString());
        return std::nullopt;
    }
    const std::optional<PanelState> state = parse(QString::fromUtf8(file.readAll()), error);
    if (!state)
        *error = path + QStringLiteral(": ") + *error;
    return state;
}

bool StateFile::save(const QString& path, const PanelState& state, QString* error)
{
    // QSaveFile writes aside and renames, so a crash never leaves half a file.
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(format(state).toUtf8()) >= 0 && file.commit())
        return true;
    *error = QStringLiteral("%1: %2").arg(path, file.errorString());
    return false;
}
