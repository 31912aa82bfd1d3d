// SPDX-License-Identifier: GPL-3.0-or-later
#include "panel.h"

#include "parameterrules.h"

#include <QHash>
#include <QRegularExpression>

namespace {

const QString kOk = QStringLiteral("OK");
const QString kError = QStringLiteral("ERROR");
const QString kProgrammingMode = QStringLiteral("PROGRAMMING MODE");
const QString kAccessDenied = QStringLiteral("ACCESS DENIED");
const QString kNotProgramming = QStringLiteral("NOT IN PROGRAMMING MODE");
const QString kNoSuchTenant = QStringLiteral("NO SUCH TENANT");
const QString kTenantPrefix = QStringLiteral("TNTDIR:");

}   // namespace

Panel::Panel(PanelState state) : m_state(std::move(state)) {}

QStringList Panel::handleLine(const QByteArray& line)
{
    const QString text = QString::fromLatin1(line);
    if (text.isEmpty())
        return {};
    if (text.startsWith(QLatin1String("PGM")))
        return enterProgramming(text.mid(3));
    if (text == QLatin1String("END")) {
        m_programming = false;
        return {kOk};
    }

    const bool tenant = text.startsWith(kTenantPrefix);
    const QString word = text.section(QLatin1Char(' '), 0, 0);
    const Handler handler = tenant ? nullptr : handlerFor(word);
    if (!tenant && !handler)
        return {kError};
    if (!m_programming)
        return {kNotProgramming};
    if (tenant)
        return storeTenant(text);
    return (this->*handler)(word, text.mid(word.size() + 1));
}

Panel::Handler Panel::handlerFor(const QString& word)
{
    static const QHash<QString, Handler> kHandlers = {
        {QStringLiteral("PARTKT"), &Panel::setParameter},
        {QStringLiteral("PARDOT1"), &Panel::setParameter},
        {QStringLiteral("PARDOT2"), &Panel::setParameter},
        {QStringLiteral("PAROHR1"), &Panel::setParameter},
        {QStringLiteral("PAROHR2"), &Panel::setParameter},
        {QStringLiteral("PARDTM"), &Panel::setParameter},
        {QStringLiteral("DAT"), &Panel::setParameter},
        {QStringLiteral("TIM"), &Panel::setParameter},
        {QStringLiteral("PARMSG"), &Panel::setMessage},
        {QStringLiteral("PARCMC"), &Panel::changeMasterCode},
        {QStringLiteral("PAROPN"), &Panel::openDoor},
        {QStringLiteral("PAROPB"), &Panel::openDoor},
        {QStringLiteral("KLR"), &Panel::clearEvents},
        {QStringLiteral("CLR"), &Panel::clearTenants},
        {QStringLiteral("PRIPAR"), &Panel::print},
        {QStringLiteral("PRITNT"), &Panel::print},
        {QStringLiteral("PRIEVR"), &Panel::print},
        {QStringLiteral("PRIALL"), &Panel::print},
    };
    return kHandlers.value(word, nullptr);
}

QStringList Panel::enterProgramming(const QString& code)
{
    if (code != m_state.masterCode()) {
        m_state.addEvent(QStringLiteral("WRONG CODE REFUSED"));
        changed();
        return {kAccessDenied};
    }
    // The program sends PGM several times in a row: only the first counts.
    if (!m_programming) {
        m_programming = true;
        m_state.addEvent(QStringLiteral("PROGRAMMING MODE ENTERED"));
        changed();
    }
    return {kProgrammingMode};
}

QStringList Panel::storeTenant(const QString& line)
{
    const std::optional<TenantRecord> tenant = TenantRecord::parse(line);
    if (!tenant)
        return {kError};
    m_state.putTenant(*tenant);
    changed();
    return {kOk};
}

QStringList Panel::setParameter(const QString& word, const QString& value)
{
    return store(word, value.trimmed());
}

QStringList Panel::setMessage(const QString& word, const QString& value)
{
    // The message travels with one trailing blank that is not part of it.
    QString message = value;
    if (message.endsWith(QLatin1Char(' ')))
        message.chop(1);
    return store(word, message);
}

QStringList Panel::store(const QString& word, const QString& value)
{
    const std::optional<QString> normalized = ParameterRules::normalize(word, value);
    if (!normalized)
        return {kError};
    m_state.setParameter(word, *normalized);
    changed();
    return {kOk};
}

QStringList Panel::changeMasterCode(const QString&, const QString& value)
{
    if (!ParameterRules::isValidMasterCode(value))
        return {kError};
    m_state.setMasterCode(value);
    m_state.addEvent(QStringLiteral("MASTER CODE CHANGED"));
    changed();
    return {kOk};
}

QStringList Panel::openDoor(const QString& word, const QString& value)
{
    if (!value.isEmpty())
        return {kError};
    m_state.addEvent(QStringLiteral("DOOR OPENED BY ") + word);
    changed();
    return {kOk};
}

QStringList Panel::clearEvents(const QString&, const QString& value)
{
    if (value != QLatin1String("EVR"))
        return {kError};
    m_state.clearEvents();
    m_state.addEvent(QStringLiteral("EVENT RECORD CLEARED"));
    changed();
    return {kOk};
}

QStringList Panel::clearTenants(const QString&, const QString& value)
{
    static const QRegularExpression kDirectory(QStringLiteral("^\\d{1,4}$"));
    static const QRegularExpression kAllZeros(QStringLiteral("^0+$"));
    if (!kDirectory.match(value).hasMatch())
        return {kError};
    if (kAllZeros.match(value).hasMatch()) {
        m_state.clearTenants();
        m_state.addEvent(QStringLiteral("ALL TENANTS CLEARED"));
    } else if (m_state.removeTenant(value)) {
        m_state.addEvent(QStringLiteral("TENANT %1 CLEARED").arg(value));
    } else {
        return {kNoSuchTenant};
    }
    changed();
    return {kOk};
}

QStringList Panel::print(const QString& word, const QString& value)
{
    if (!value.isEmpty())
        return {kError};
    const bool all = word == QLatin1String("PRIALL");
    QStringList lines;
    if (all || word == QLatin1String("PRIPAR"))
        lines += parameterLines();
    if (all || word == QLatin1String("PRITNT"))
        lines += tenantLines();
    if (all || word == QLatin1String("PRIEVR"))
        lines += eventLines();
    return lines;
}

QStringList Panel::parameterLines() const
{
    QStringList lines = {QStringLiteral("PGM") + m_state.masterCode()};
    for (const QString& word : ParameterRules::words()) {
        if (const std::optional<QString> value = m_state.parameter(word))
            lines.append(word + QLatin1Char(' ') + *value);
    }
    return lines;
}

QStringList Panel::tenantLines() const
{
    QStringList lines;
    for (const TenantRecord& tenant : m_state.tenants())
        lines.append(tenant.toLine());
    return lines;
}

QStringList Panel::eventLines() const
{
    QStringList lines;
    const QList<PanelEvent>& events = m_state.events();
    for (int i = 0; i < events.size(); ++i) {
        lines.append(QStringLiteral("%1 %2 %3")
                         .arg(i + 1, 3, 10, QLatin1Char('0'))
                         .arg(events.at(i).stamp, events.at(i).text));
    }
    return lines;
}
