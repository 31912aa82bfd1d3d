// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QApplication;
class RealPlatform;

// The program's start: the splash while the event loop is yielded to 20001
// times, then the main window until it is closed; the boxes and dialogs of
// the real services belong to that window. Returns the exit code.
int runProgram(QApplication& app, RealPlatform& real);

// The splash's loop: processes pending events once per pass; returns the passes.
int yieldToEventLoop();
