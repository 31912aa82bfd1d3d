// SPDX-License-Identifier: GPL-3.0-or-later
#include "batchrun.h"

#include "core/appsettings.h"
#include "core/commandline.h"
#include "core/journal.h"
#include "core/linksession.h"
#include "core/panellink.h"
#include "core/teamshipping.h"
#include "platform/clock.h"
#include "platform/inisettingsstore.h"
#include "platform/qtserialport.h"
#include "store/journalwriter.h"
#include "store/sqlitestore.h"
#include "store/teamconnection.h"
#include "store/teamsites.h"

#include <QFile>

#include <memory>
#include <optional>

#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int kJournalWaitMs = 5000;
// How long the run's entries may take to reach the team's server; what
// waits longer goes with the next run, or the window.
constexpr int kShipWaitMs = 30000;

// The first line, without its end.
QString firstLine(QFile& file)
{
    QByteArray line = file.readLine(1024);
    while (line.endsWith('\n') || line.endsWith('\r'))
        line.chop(1);
    return QString::fromLocal8Bit(line);
}

// A code file must be the user's own and readable by nobody else.
QString privateFileRefusal(const QString& path)
{
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return QStringLiteral("%1 cannot be read.").arg(path);
    if (!S_ISREG(info.st_mode))
        return QStringLiteral("%1 is not a file.").arg(path);
    if (info.st_uid != geteuid())
        return QStringLiteral("%1 belongs to another user.").arg(path);
    if ((info.st_mode & (S_IRWXG | S_IRWXO)) != 0)
        return QStringLiteral("%1 may be read by others: make it private (chmod 600).").arg(path);
    return QString();
}

// The team's book, from its server, connected to directly (velno-batch has
// no window to keep answering) with the address's connect timeout.
bool readTeamBook(const QString& team, QList<Site>* sites, QString* reason, bool* tablesRefused)
{
    const std::optional<TeamAddress> address = TeamAddress::read(team, reason);
    if (!address)
        return false;
    const std::unique_ptr<TeamConnection> server = TeamConnection::openReady(*address, reason, tablesRefused);
    return server && TeamSites::read(server->database(), sites, reason);
}

// The sites of the book the window uses: in a team the team's, else the
// local copy of it, said in one line on err; working alone the store's own.
// Why not, if they cannot be read; a team whose tables need --team-setup
// (or a newer program) is not read from the copy: that is no passing outage.
QString readSiteBook(QTextStream& err, QList<Site>* sites, bool* tablesRefused)
{
    IniSettingsStore settingsStore;
    const QString team = AppSettings(settingsStore).teamDatabase();
    QString unreachable;
    const bool fromTeam = !team.isEmpty() && readTeamBook(team, sites, &unreachable, tablesRefused);
    if (*tablesRefused)
        return unreachable;
    SqliteStore store(QString{});
    const SqliteStore::Opening opening = store.open(SqliteStore::Damage::Refuse);
    if (fromTeam) {
        // The copy follows the server; a copy that cannot be written is only older next time.
        if (opening.outcome != SqliteStore::Opening::Outcome::Failed)
            store.keepTeamSites(team, *sites);
        return QString();
    }
    if (opening.outcome == SqliteStore::Opening::Outcome::Failed)
        return opening.reason;
    if (team.isEmpty())
        return store.readSites(sites) ? QString() : store.lastError();
    err << "velno-batch: team database unreachable: using the local copy of its site book. " << unreachable
        << Qt::endl;
    return store.readTeamSites(team, sites) ? QString() : store.lastError();
}

}   // namespace

BatchRun::BatchRun(const BatchArguments& arguments, QTextStream& err) : m_args(arguments), m_err(err) {}

int BatchRun::refuse(PanelJobResult result, const QString& message)
{
    m_err << "velno-batch: " << message << Qt::endl;
    return int(result);
}

// As the code field takes it: one line of 8-bit characters, at most five.
bool BatchRun::readCode(QString* code)
{
    QFile file;
    if (m_args.codeFrom == BatchArguments::CodeFrom::Stdin) {
        if (!file.open(stdin, QIODevice::ReadOnly))
            return refuse(PanelJobResult::Usage, QStringLiteral("Standard input cannot be read.")), false;
    } else {
        if (const QString refusal = privateFileRefusal(m_args.codeFile); !refusal.isEmpty())
            return refuse(PanelJobResult::Usage, refusal), false;
        file.setFileName(m_args.codeFile);
        if (!file.open(QIODevice::ReadOnly))
            return refuse(PanelJobResult::Usage,
                          QStringLiteral("%1: %2").arg(m_args.codeFile, file.errorString())),
                   false;
    }
    *code = firstLine(file);
    QString why;
    if (code->isEmpty())
        why = QStringLiteral("No programming code was given.");
    else if (code->size() > PanelLink::kCodeMaxLength)
        why = QStringLiteral("A programming code has at most %1 characters.").arg(PanelLink::kCodeMaxLength);
    else if (!CommandLine::fits(*code))
        why = QStringLiteral("The programming code holds characters that cannot be sent.");
    if (why.isEmpty())
        return true;
    refuse(PanelJobResult::Usage, why);
    return false;
}

// The site's port, phone number and modem setup; a phone number given on
// the command line goes before the site's.
int BatchRun::takeSite(PanelJobPlan& plan, int* port)
{
    QList<Site> sites;
    bool tablesRefused = false;
    if (const QString why = readSiteBook(m_err, &sites, &tablesRefused); !why.isEmpty())
        return refuse(tablesRefused ? PanelJobResult::TeamTables : PanelJobResult::FileError,
                      QStringLiteral("The site book cannot be read: %1").arg(why));
    for (const Site& site : sites) {
        if (site.name != m_args.site)
            continue;
        *port = site.port;
        if (!m_args.phoneGiven)
            plan.phone = site.phone;
        plan.setupString = site.setup;
        return 0;
    }
    return refuse(PanelJobResult::Usage, QStringLiteral("No site is named \"%1\".").arg(m_args.site));
}

int BatchRun::listSites(QTextStream& out)
{
    QList<Site> sites;
    bool tablesRefused = false;
    if (const QString why = readSiteBook(m_err, &sites, &tablesRefused); !why.isEmpty())
        return refuse(tablesRefused ? PanelJobResult::TeamTables : PanelJobResult::FileError,
                      QStringLiteral("The site book cannot be read: %1").arg(why));
    for (const Site& site : sites)
        out << site.name << '\n';
    out.flush();
    return 0;
}

// In a team, the journal's entries go to its server before the run ends.
void BatchRun::shipJournal(AppSettings& settings)
{
    TeamShipping shipping(settings, SqliteStore::writerStore(QString{}));
    qint64 waiting = 0;
    QString reason;
    if (shipping.waitUntilShipped(kShipWaitMs, &waiting, &reason))
        return;
    const QString count = waiting < 0 ? QStringLiteral("The run's") : QString::number(waiting);
    m_err << "velno-batch: " << count << " journal entries wait to be shipped to the team: " << reason
          << Qt::endl;
}

int BatchRun::run()
{
    IniSettingsStore settingsStore;
    AppSettings settings(settingsStore);
    PanelJobPlan plan = m_args.plan;
    plan.phone = m_args.phone;
    plan.setupString = settings.setupString();
    plan.byteCycle = settings.byteCycle();
    int portNumber = m_args.port > 0 ? m_args.port : 1;
    if (!m_args.site.isEmpty()) {
        if (const int refused = takeSite(plan, &portNumber); refused != 0)
            return refused;
    }
    if (!CommandLine::fits(plan.setupString))
        return refuse(PanelJobResult::Usage,
                      QStringLiteral("The modem setup string holds characters that cannot be sent."));
    if (!readCode(&plan.code))
        return int(PanelJobResult::Usage);

    QtSerialPort port(settingsStore);
    port.setPortNumber(portNumber);
    port.setDevice(m_args.device);
    LinkSession session(port);
    JournalWriter writer(SqliteStore::writerStore(QString{}));
    SystemClock clock;
    Journal journal(clock, writer);
    journal.setSite(m_args.site);
    journal.follow(session);

    PanelJob job(session, port);
    const bool showProgress = plan.action == PanelJobPlan::Action::Send && isatty(STDERR_FILENO);
    if (showProgress) {
        QObject::connect(&job, &PanelJob::sendProgress, [this](qint64 sent, qint64 total) {
            m_err << "\rSent " << sent << " of " << total << " lines" << Qt::flush;
        });
    }
    const PanelJobResult result = job.run(plan);
    if (showProgress)
        m_err << Qt::endl;
    if (!writer.waitUntilWritten(kJournalWaitMs))
        m_err << "velno-batch: " << writer.waiting() << " journal entries could not be written." << Qt::endl;
    shipJournal(settings);
    if (result != PanelJobResult::Done)
        return refuse(result, job.message());
    return 0;
}
