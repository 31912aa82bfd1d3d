// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <functional>

class QThread;

// A thread for work with the team's server, whose worker is shared with it
// so that it may outlive its owner: a server that does not answer must not
// hold up the window when the owner goes.
namespace WorkerThread {

// Starts run() on a new thread of this name, which deletes itself once
// run() returns.
QThread* start(const QString& name, std::function<void()> run);
// Waits at most waitMs for the thread, its worker told to stop, and
// deletes it; past that it is left to end, and go, when the server answers.
void release(QThread* thread, int waitMs);

}   // namespace WorkerThread
