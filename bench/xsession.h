// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <map>
#include <string>
#include <sys/types.h>
#include <vector>

// A virtual X server (Xvfb) for the installed-style program, with a home
// folder of its own so that the operator's settings are never touched.
// While it lives, the processes this one starts draw on it: DISPLAY, HOME
// and the Qt platform are set here and put back afterwards.
class XSession {
public:
    explicit XSession(const std::string& folder);
    ~XSession();
    XSession(const XSession&) = delete;
    XSession& operator=(const XSession&) = delete;

    bool isValid() const { return m_pid > 0 && !m_display.empty(); }
    pid_t serverPid() const { return m_pid; }

private:
    void setEnv(const char* name, const std::string& value);

    pid_t m_pid = -1;
    int m_displayPipe = -1;
    std::string m_display;
    std::map<std::string, std::pair<bool, std::string>> m_saved;   // what the environment held
};

// Whether a program of that name is on the PATH.
bool onPath(const std::string& name);
