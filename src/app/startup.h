#pragma once

struct Platform;
class QApplication;

// The program's start: the splash while the event loop is yielded to 20001
// times, then the main window until it is closed. Returns the exit code.
int runProgram(QApplication& app, Platform& platform);

// The splash's loop: processes pending events once per pass; returns the passes.
int yieldToEventLoop();
