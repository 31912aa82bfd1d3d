// SPDX-License-Identifier: GPL-3.0-or-later
#include "xsession.h"

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {
constexpr int kStartMs = 10000;
}

XSession::XSession(const std::string& folder)
{
    const std::string home = folder + "/home";
    const std::string runtime = folder + "/runtime";
    mkdir(folder.c_str(), 0700);
    mkdir(home.c_str(), 0700);
    mkdir(runtime.c_str(), 0700);

    int fds[2];
    if (pipe(fds) != 0)
        return;
    const std::string displayFd = std::to_string(fds[1]);
    const char* argv[] = {
        "Xvfb", "-displayfd", displayFd.c_str(), "-screen", "0", "1920x1080x24", "-nolisten", "tcp", nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, (folder + "/xvfb.log").c_str(),
                                     O_WRONLY | O_CREAT | O_APPEND, 0644);
    if (posix_spawnp(&m_pid, "Xvfb", &actions, nullptr, const_cast<char**>(argv), environ) != 0)
        m_pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);

    // The server writes its display number, then a line end, once it takes
    // connections; the pipe stays open while it lives, so that it never
    // writes into a closed one.
    m_displayPipe = fds[0];
    std::string number;
    pollfd p{m_displayPipe, POLLIN, 0};
    char c = 0;
    while (m_pid > 0 && poll(&p, 1, kStartMs) > 0 && read(m_displayPipe, &c, 1) == 1 && c != '\n')
        number.push_back(c);
    if (c != '\n' || number.empty())
        return;
    m_display = ":" + number;
    setEnv("DISPLAY", m_display);
    setEnv("QT_QPA_PLATFORM", "xcb");
    setEnv("HOME", home);
    setEnv("XDG_RUNTIME_DIR", runtime);
    setEnv("XDG_CONFIG_HOME", home + "/.config");
}

XSession::~XSession()
{
    for (const auto& [name, old] : m_saved) {
        if (old.first)
            setenv(name.c_str(), old.second.c_str(), 1);
        else
            unsetenv(name.c_str());
    }
    if (m_pid > 0) {
        kill(m_pid, SIGTERM);
        waitpid(m_pid, nullptr, 0);
    }
    if (m_displayPipe >= 0)
        close(m_displayPipe);
}

void XSession::setEnv(const char* name, const std::string& value)
{
    const char* old = std::getenv(name);
    m_saved[name] = {old != nullptr, old ? old : ""};
    setenv(name, value.c_str(), 1);
}

bool onPath(const std::string& name)
{
    const char* path = std::getenv("PATH");
    std::string dirs = path ? path : "";
    for (size_t start = 0; start <= dirs.size();) {
        const size_t end = std::min(dirs.find(':', start), dirs.size());
        if (access((dirs.substr(start, end - start) + "/" + name).c_str(), X_OK) == 0)
            return true;
        start = end + 1;
    }
    return false;
}
