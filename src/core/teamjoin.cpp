// SPDX-License-Identifier: GPL-3.0-or-later
#include "teamjoin.h"

#include "core/appsettings.h"
#include "platform/prompter.h"
#include "store/store.h"
#include "store/teamsiteimport.h"

const QString TeamJoin::kTitle = QStringLiteral("Team");

TeamJoin::TeamJoin(AppSettings& settings, Prompter& prompter, Store& local, QObject* parent)
    : QObject(parent), m_settings(settings), m_prompter(prompter), m_local(local)
{
    connect(&m_task, &TeamTask::finished, this, &TeamJoin::finished);
}

QString TeamJoin::team() const
{
    return m_settings.teamDatabase();
}

bool TeamJoin::test(const QString& uri)
{
    return start(uri, Step::Test);
}

bool TeamJoin::join(const QString& uri)
{
    return start(uri, Step::Join);
}

void TeamJoin::leave()
{
    m_settings.storeTeamDatabase(QString());
    emit teamChanged();
}

bool TeamJoin::start(const QString& uri, Step step)
{
    if (busy())
        return false;
    const std::optional<TeamAddress> address = readAddress(uri);
    if (!address)
        return false;
    m_step = step;
    m_uri = uri.trimmed();
    m_address = *address;
    emit progress(QStringLiteral("Testing..."));
    return m_task.start(m_address,
                        [address = m_address](QSqlDatabase& db) { return TeamTask::connected(db, address); });
}

std::optional<TeamAddress> TeamJoin::readAddress(const QString& uri)
{
    QString error;
    const std::optional<TeamAddress> address = TeamAddress::read(uri, &error);
    if (!address) {
        warn(error);
        return std::nullopt;
    }
    if (!address->weakTls)
        return address;
    MessageBox box;
    box.prompt = address->weakTlsText + QStringLiteral("\nConnect all the same?");
    box.title = kTitle;
    box.buttons = MessageBox::Buttons::YesNo;
    box.icon = MessageBox::Icon::Exclamation;
    box.defaultButton = MessageBox::Answer::No;
    if (m_prompter.ask(box) != MessageBox::Answer::Yes)
        return std::nullopt;
    return address;
}

void TeamJoin::finished(bool ok, const QString& text, const QStringList& left)
{
    if (m_step == Step::BringSitesIn)
        sitesBroughtIn(ok, text, left);
    else if (ok && m_step == Step::Join)
        joined(text);
    else
        emit done(ok, text);
}

// The key is stored only once the entries made so far are kept out of shipping.
void TeamJoin::joined(const QString& connectedText)
{
    if (!keepOlderEntriesHere()) {
        warn(QStringLiteral("The journal's database cannot be written, so the team is not joined."),
             m_local.lastError());
        emit done(false, connectedText);
        return;
    }
    m_settings.storeTeamDatabase(m_uri);
    emit teamChanged();
    emit done(true, connectedText + QStringLiteral(" This computer's journal goes to the team from now on."));
    offerSites();
}

// A team joined before keeps its mark: what was made since goes too.
bool TeamJoin::keepOlderEntriesHere()
{
    qint64 shipped = 0;
    if (!m_local.readShipped(m_uri, &shipped))
        return false;
    if (shipped > 0)
        return true;
    QList<JournalRecord> newest;
    if (!m_local.readEntriesBefore(JournalFilter(), Store::kPastNewest, 1, &newest))
        return false;
    return m_local.setShipped(m_uri, newest.isEmpty() ? 0 : newest.back().id);
}

void TeamJoin::offerSites()
{
    QList<Site> sites;
    if (!m_local.readSites(&sites) || sites.isEmpty())
        return;
    MessageBox box;
    box.prompt =
        QStringLiteral("This computer's site book has %1. Bring them into the team's site book?\n"
                       "A site whose name the team has already is left out; nothing is removed "
                       "here.")
            .arg(sites.size() == 1 ? QStringLiteral("1 site") : QStringLiteral("%1 sites").arg(sites.size()));
    box.title = kTitle;
    box.buttons = MessageBox::Buttons::YesNo;
    box.icon = MessageBox::Icon::Question;
    box.defaultButton = MessageBox::Answer::No;
    if (m_prompter.ask(box) != MessageBox::Answer::Yes)
        return;
    m_step = Step::BringSitesIn;
    emit progress(QStringLiteral("Bringing the sites in..."));
    m_task.start(m_address, [sites](QSqlDatabase& db) { return TeamSiteImport::run(db, sites); });
}

void TeamJoin::sitesBroughtIn(bool ok, const QString& text, const QStringList& left)
{
    emit done(ok, text);
    MessageBox box;
    box.prompt = text;
    box.title = kTitle;
    box.icon = ok ? MessageBox::Icon::Information : MessageBox::Icon::Exclamation;
    if (!left.isEmpty()) {
        box.prompt += QStringLiteral("\nLeft out, as the team has a site of the name already: ")
            + left.join(QStringLiteral(", ")) + u'.';
    }
    m_prompter.ask(box);
}

void TeamJoin::warn(const QString& prompt, const QString& detail)
{
    MessageBox box;
    box.prompt = prompt;
    box.title = kTitle;
    box.icon = MessageBox::Icon::Exclamation;
    box.detail = detail;
    m_prompter.ask(box);
}
