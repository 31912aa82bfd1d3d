// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class Connection;
struct Form1Context;
struct Site;

// Puts a site to use through the main window's own handlers: its port option
// is chosen as a click on it would (Option_Click), its phone number goes into
// Text2, whose change handler stores it, and its modem setup string is stored
// as the Setting dialog's OK stores it. Nothing is sent. While the port is
// open its number cannot change, so the site is refused with a box; false then.
bool useSite(Form1Context& ctx, Connection& connection, const Site& site);
