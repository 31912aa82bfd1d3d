// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QApplication;

// The measurements the program side makes, one process each; every one
// reports its figures as "key value" lines (see usagesnapshot.h) and
// returns the exit code.

// Connects on device (and captures into capturePath unless empty), says
// "ready", and reports the CPU and time spent until the pane shows the end
// of the load the driver writes.
int runIngest(const QString& device, const QString& capturePath);

// Connects on device (and captures into capturePath unless empty), says
// "ready" once the text cursor is steady, and on the load end writes to
// paintLogPath, a line per paint of the pane, the time and the characters
// received by then; the driver measures the CPU and works out from the log
// how long each byte waited to be seen.
int runLineRate(const QString& device, const QString& paintLogPath, const QString& capturePath);

// Connects on device and reports the CPU used over the given seconds while
// the program waits for the panel.
int runIdle(const QString& device, int seconds);

// Connects on device, starts sending a tenant file written into workDir, and
// reports the CPU used over the given seconds while the send waits between
// its lines on the real tick.
int runPacedSend(const QString& device, int seconds, const QString& workDir);

// For reference, not the program: a bare window whose one label shows the
// time each second, measured like runIdle's untouched span.
int runClockReference(int seconds);

// Runs the program's own start-up with its real services (settings under
// settingsRoot) and reports when the main window is usable (usable_ns),
// then closes it (close_ns).
int runStartup(QApplication& app, const QString& settingsRoot);

// Times the file operations on files written into workDir, each the median
// of runs.
int runFiles(const QString& workDir, int runs);

// Times reading a journal of 100,000 entries written into workDir and
// recording a 10,000-line file send, each the median of runs.
int runJournal(const QString& workDir, int runs);
