// SPDX-License-Identifier: GPL-3.0-or-later
#include "batcharguments.h"

#include "core/commandline.h"

#include <QHash>

namespace {

const QHash<QString, QString>& pullWords()
{
    static const QHash<QString, QString> words{
        {QStringLiteral("all"), CommandLine::kPullAllWord},
        {QStringLiteral("parameters"), CommandLine::kPullParametersWord},
        {QStringLiteral("events"), CommandLine::kPullEventsWord},
        {QStringLiteral("tenants"), CommandLine::kPullTenantsWord},
    };
    return words;
}

// Options that take a value, and those that do not.
const QStringList kValued = {
    QStringLiteral("--site"),     QStringLiteral("--port"),         QStringLiteral("--device"),
    QStringLiteral("--phone"),    QStringLiteral("--code-file"),    QStringLiteral("--pull"),
    QStringLiteral("--out"),      QStringLiteral("--send"),         QStringLiteral("--quiet"),
    QStringLiteral("--max-time"), QStringLiteral("--dial-timeout"),
};
const QStringList kFlags = {
    QStringLiteral("--code-stdin"), QStringLiteral("--append"), QStringLiteral("--replace"),
    QStringLiteral("--list-sites"), QStringLiteral("--help"),   QStringLiteral("-h"),
    QStringLiteral("--version"),
};

BatchArguments refused(const QString& why)
{
    BatchArguments refusal;
    refusal.action = BatchArguments::Action::Refuse;
    refusal.error = why;
    return refusal;
}

bool readSeconds(const QString& text, double* seconds)
{
    bool ok = false;
    const double value = text.toDouble(&ok);
    if (!ok || value <= 0 || value > 24 * 3600)
        return false;
    *seconds = value;
    return true;
}

}   // namespace

BatchArguments BatchArguments::read(const QStringList& arguments)
{
    QHash<QString, QString> values;
    QStringList flags;
    for (int i = 1; i < arguments.size(); ++i) {
        QString option = arguments.at(i);
        QString value;
        bool inlineValue = false;
        if (const qsizetype equals = option.indexOf(u'=');
            option.startsWith(QStringLiteral("--")) && equals > 0) {
            value = option.mid(equals + 1);
            option.truncate(equals);
            inlineValue = true;
        }
        if (option == QStringLiteral("--code") || option.startsWith(QStringLiteral("--code="))) {
            return refused(
                QStringLiteral("--code is refused: a code on the command line is seen by every user "
                               "of the computer. Use --code-stdin or --code-file."));
        }
        if (kFlags.contains(option) && !inlineValue) {
            flags << option;
        } else if (kValued.contains(option)) {
            if (!inlineValue) {
                if (++i >= arguments.size())
                    return refused(QStringLiteral("%1 needs a value.").arg(option));
                value = arguments.at(i);
            }
            if (values.contains(option))
                return refused(QStringLiteral("%1 is given twice.").arg(option));
            values.insert(option, value);
        } else {
            return refused(QStringLiteral("Unknown option: %1").arg(arguments.at(i)));
        }
    }

    BatchArguments args;
    if (flags.contains(QStringLiteral("--help")) || flags.contains(QStringLiteral("-h"))) {
        args.action = Action::ShowHelp;
        return args;
    }
    if (flags.contains(QStringLiteral("--version"))) {
        args.action = Action::ShowVersion;
        return args;
    }
    if (flags.contains(QStringLiteral("--list-sites"))) {
        if (!values.isEmpty() || flags.size() > 1)
            return refused(QStringLiteral("--list-sites takes no other option."));
        args.action = Action::ListSites;
        return args;
    }

    // Where: one of a site, a port number or a device.
    const int where = int(values.contains(QStringLiteral("--site")))
        + int(values.contains(QStringLiteral("--port"))) + int(values.contains(QStringLiteral("--device")));
    if (where != 1)
        return refused(QStringLiteral("Give one of --site, --port or --device."));
    args.site = values.value(QStringLiteral("--site"));
    args.device = values.value(QStringLiteral("--device"));
    if (values.contains(QStringLiteral("--port"))) {
        bool ok = false;
        args.port = values.value(QStringLiteral("--port")).toInt(&ok);
        if (!ok || args.port < 1 || args.port > 4)
            return refused(QStringLiteral("--port takes 1, 2, 3 or 4."));
    }
    if (values.contains(QStringLiteral("--site")) && args.site.isEmpty())
        return refused(QStringLiteral("--site needs a name."));
    if (values.contains(QStringLiteral("--device")) && args.device.isEmpty())
        return refused(QStringLiteral("--device needs a path."));
    args.phoneGiven = values.contains(QStringLiteral("--phone"));
    args.phone = values.value(QStringLiteral("--phone"));
    if (!CommandLine::fits(args.phone))
        return refused(QStringLiteral("The phone number holds characters that cannot be sent."));

    // The code: from standard input or from a private file.
    const bool fromStdin = flags.contains(QStringLiteral("--code-stdin"));
    const bool fromFile = values.contains(QStringLiteral("--code-file"));
    if (fromStdin == fromFile)
        return refused(QStringLiteral("Give one of --code-stdin or --code-file."));
    args.codeFrom = fromStdin ? CodeFrom::Stdin : CodeFrom::File;
    args.codeFile = values.value(QStringLiteral("--code-file"));

    // What: one pull into a file, or one file sent.
    const bool pulling = values.contains(QStringLiteral("--pull"));
    const bool sending = values.contains(QStringLiteral("--send"));
    if (pulling == sending)
        return refused(QStringLiteral("Give one of --pull or --send."));
    PanelJobPlan& plan = args.plan;
    if (pulling) {
        plan.action = PanelJobPlan::Action::Pull;
        plan.pullWord = pullWords().value(values.value(QStringLiteral("--pull")));
        if (plan.pullWord.isEmpty())
            return refused(QStringLiteral("--pull takes all, parameters, events or tenants."));
        plan.path = values.value(QStringLiteral("--out"));
        if (plan.path.isEmpty())
            return refused(QStringLiteral("--pull needs --out FILE."));
        const bool append = flags.contains(QStringLiteral("--append"));
        const bool replace = flags.contains(QStringLiteral("--replace"));
        if (append && replace)
            return refused(QStringLiteral("Give --append or --replace, not both."));
        plan.existing = append ? PanelJobPlan::Existing::Append
                               : (replace ? PanelJobPlan::Existing::Replace : PanelJobPlan::Existing::Refuse);
    } else {
        plan.action = PanelJobPlan::Action::Send;
        plan.path = values.value(QStringLiteral("--send"));
        if (plan.path.isEmpty())
            return refused(QStringLiteral("--send needs a file."));
        for (const QString& option :
             {QStringLiteral("--out"), QStringLiteral("--quiet"), QStringLiteral("--max-time")}) {
            if (values.contains(option))
                return refused(QStringLiteral("%1 goes with --pull only.").arg(option));
        }
        if (flags.contains(QStringLiteral("--append")) || flags.contains(QStringLiteral("--replace")))
            return refused(QStringLiteral("--append and --replace go with --pull only."));
    }
    const struct {
        QString option;
        double* seconds;
    } times[] = {{QStringLiteral("--quiet"), &plan.quietSeconds},
                 {QStringLiteral("--max-time"), &plan.maxSeconds},
                 {QStringLiteral("--dial-timeout"), &plan.dialTimeoutSeconds}};
    for (const auto& time : times) {
        if (values.contains(time.option) && !readSeconds(values.value(time.option), time.seconds))
            return refused(QStringLiteral("%1 takes a number of seconds above 0.").arg(time.option));
    }
    args.action = Action::Run;
    return args;
}

QString BatchArguments::usage()
{
    return QStringLiteral(
        "Usage: velno-batch (--site NAME | --port N | --device PATH) [--phone NUMBER]\n"
        "                   (--code-stdin | --code-file PATH)\n"
        "                   (--pull all|parameters|events|tenants --out FILE [--append | --replace]\n"
        "                    [--quiet SECONDS] [--max-time SECONDS] | --send FILE)\n"
        "                   [--dial-timeout SECONDS]\n"
        "       velno-batch --list-sites | --help | --version\n"
        "\n"
        "Connects to the panel, enters programming mode, pulls a database into a file or\n"
        "sends a tenant file, sends END and closes; every line is journalled.\n"
        "\n"
        "  --site NAME          the port, phone number and modem setup of a site in the book\n"
        "  --port N             port 1 to 4, as the window's Comm Port options\n"
        "  --device PATH        a serial device, whatever the ports are mapped to\n"
        "  --phone NUMBER       dial through the modem first (also overrides the site's)\n"
        "  --code-stdin         read the programming code from the first line of standard input\n"
        "  --code-file PATH     read it from a file only its owner may read\n"
        "  --pull WHAT          ask for all, parameters, events or tenants\n"
        "  --out FILE           the capture file; an existing one needs --append or --replace\n"
        "  --quiet SECONDS      the capture ends after this long without a byte (10)\n"
        "  --max-time SECONDS   and after this long in all (no limit)\n"
        "  --send FILE          send a tenant file line by line, paced by the ByteCycle setting\n"
        "  --dial-timeout SECONDS  wait this long for the modem's CONNECT (60)\n"
        "  --list-sites         print the names of the site book, one a line\n"
        "\n"
        "Exit status: 0 done, 2 usage, 3 the port did not open, 4 NO CARRIER, 5 BUSY,\n"
        "6 NO DIALTONE, 7 no CONNECT in time, 8 nothing received, 9 line lost,\n"
        "10 line error, 11 file error, 12 the team database's tables need --team-setup.\n");
}
