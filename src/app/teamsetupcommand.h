// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

// velno --team-setup URI: makes the team database's tables, or brings them up
// to date, without a window, as the role the URI names, and prints one line
// saying so. Returns the exit status: 0, or one of these.
namespace TeamSetupStatus {
constexpr int kBadAddress = 2;   // the URI is not one to use, a password in it say
constexpr int kUnreachable = 3;   // no connection: server, name, TLS or password
constexpr int kRefused = 4;   // not allowed, or the tables could not be made
constexpr int kNewer = 5;   // the tables are of a newer program
}   // namespace TeamSetupStatus

int setUpTeamDatabase(const std::string& uri);
