// SPDX-License-Identifier: GPL-3.0-or-later
#include "programprocess.h"

#include "monotonic.h"

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

ProgramProcess::ProgramProcess(const std::string& executable, const std::vector<std::string>& args,
                               const std::string& logPath)
{
    int pipeFds[2];
    if (pipe(pipeFds) != 0)
        return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, logPath.c_str(), O_WRONLY | O_CREAT | O_APPEND,
                                     0644);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);

    std::vector<char*> argv{const_cast<char*>(executable.c_str())};
    for (const std::string& arg : args)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);

    m_spawnNs = monotonicNs();
    if (posix_spawnp(&m_pid, executable.c_str(), &actions, nullptr, argv.data(), environ) != 0)
        m_pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    close(pipeFds[1]);
    m_output = pipeFds[0];
}

ProgramProcess::~ProgramProcess()
{
    kill();
    if (m_output >= 0)
        close(m_output);
}

bool ProgramProcess::waitFor(const std::string& key, int timeoutMs)
{
    const long long deadline = monotonicNs() + timeoutMs * 1000000LL;
    while (!has(key)) {
        const long long left = (deadline - monotonicNs()) / 1000000LL;
        if (left <= 0 || !readSome(int(left)))
            return false;
    }
    return true;
}

bool ProgramProcess::finish(int timeoutMs)
{
    const long long deadline = monotonicNs() + timeoutMs * 1000000LL;
    for (;;) {
        const long long left = (deadline - monotonicNs()) / 1000000LL;
        if (left <= 0) {
            kill();
            return false;
        }
        if (!readSome(int(left)))
            break;   // end of its output: the process is ending
    }
    int status = 0;
    const bool ended = m_pid > 0 && waitpid(m_pid, &status, 0) == m_pid;
    m_exitNs = monotonicNs();
    m_pid = -1;
    return ended && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

double ProgramProcess::figure(const std::string& key) const
{
    const auto it = m_figures.find(key);
    return it == m_figures.end() ? 0 : it->second;
}

// Reads what has arrived, waiting up to timeoutMs; false at the end of the
// output or on the timeout.
bool ProgramProcess::readSome(int timeoutMs)
{
    pollfd p{m_output, POLLIN, 0};
    if (m_output < 0 || poll(&p, 1, timeoutMs) <= 0)
        return false;
    char buffer[4096];
    const ssize_t n = read(m_output, buffer, sizeof buffer);
    if (n <= 0)
        return false;
    m_pending.append(buffer, size_t(n));
    for (size_t end; (end = m_pending.find('\n')) != std::string::npos;) {
        parse(m_pending.substr(0, end));
        m_pending.erase(0, end + 1);
    }
    return true;
}

void ProgramProcess::parse(const std::string& line)
{
    const size_t blank = line.find(' ');
    if (blank != std::string::npos)
        m_figures[line.substr(0, blank)] = std::strtod(line.c_str() + blank + 1, nullptr);
}

void ProgramProcess::kill()
{
    if (m_pid <= 0)
        return;
    ::kill(m_pid, SIGKILL);
    waitpid(m_pid, nullptr, 0);
    m_pid = -1;
}
