// SPDX-License-Identifier: GPL-3.0-or-later
#include "teamsetupcommand.h"

#include "store/teamaddress.h"
#include "store/teamconnection.h"
#include "store/teamschema.h"

#include <QString>

#include <cstdio>

namespace {

void say(std::FILE* stream, const QString& line)
{
    std::fprintf(stream, "%s\n", line.toLocal8Bit().constData());
}

void complain(const QString& line)
{
    say(stderr, QStringLiteral("velno: ") + line);
}

int statusOf(TeamSchema::State::Kind kind)
{
    switch (kind) {
    case TeamSchema::State::Kind::Ready: return 0;
    case TeamSchema::State::Kind::Newer: return TeamSetupStatus::kNewer;
    default: return TeamSetupStatus::kRefused;
    }
}

}   // namespace

int setUpTeamDatabase(const std::string& uri)
{
    QString error;
    const std::optional<TeamAddress> address = TeamAddress::read(QString::fromLocal8Bit(uri.c_str()), &error);
    if (!address) {
        complain(error);
        return TeamSetupStatus::kBadAddress;
    }
    if (address->weakTls)
        complain(address->weakTlsText);
    TeamConnection connection(*address);
    if (!connection.open()) {
        complain(connection.error());
        return TeamSetupStatus::kUnreachable;
    }
    const TeamSchema::State state = TeamSchema::setUp(connection.database());
    if (state.kind == TeamSchema::State::Kind::Ready) {
        say(stdout, state.text);
        say(stdout, state.note);
    } else
        complain(state.text);
    return statusOf(state.kind);
}
