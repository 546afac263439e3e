#include "recorder_process.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace host {

uint16_t ParsePortLine(const std::string& text)
{
    static const char prefix[] = "port ";
    if (text.compare(0, sizeof prefix - 1, prefix) != 0)
        return 0;
    uint32_t value = 0;
    size_t i = sizeof prefix - 1;
    const size_t first = i;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + static_cast<uint32_t>(text[i] - '0');
        if (value > 65535)
            return 0;
    }
    if (i == first || (i < text.size() && text[i] != '\n' && text[i] != '\r'))
        return 0;
    return static_cast<uint16_t>(value);
}

RecorderProcess::~RecorderProcess() { Stop(); }

bool RecorderProcess::Start(const std::string& program, int timeoutMs, std::string* why)
{
    Stop();
    auto fail = [&](const std::string& reason) {
        if (why)
            *why = reason;
        Stop();
        return false;
    };
    int in[2], out[2];
    if (::pipe2(in, O_CLOEXEC) != 0)
        return fail(std::string("pipe: ") + std::strerror(errno));
    if (::pipe2(out, O_CLOEXEC) != 0) {
        ::close(in[0]), ::close(in[1]);
        return fail(std::string("pipe: ") + std::strerror(errno));
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, in[0], STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    char* argv[] = {const_cast<char*>(program.c_str()), nullptr};
    const int spawned = ::posix_spawn(&m_pid, program.c_str(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(in[0]);
    ::close(out[1]);
    m_input = in[1];
    if (spawned != 0) {
        m_pid = -1;
        ::close(out[0]);
        return fail(program + ": " + std::strerror(spawned));
    }
    // The first line, within the time allowed.
    std::string line;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (line.find('\n') == std::string::npos) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            break;
        pollfd p{out[0], POLLIN, 0};
        const int ready = ::poll(&p, 1, static_cast<int>(left.count()));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            break;
        char buffer[64];
        const ssize_t n = ::read(out[0], buffer, sizeof buffer);
        if (n <= 0)
            break;
        line.append(buffer, static_cast<size_t>(n));
    }
    ::close(out[0]);
    m_port = ParsePortLine(line);
    if (m_port == 0)
        return fail(program + " did not tell its port" + (line.empty() ? std::string() : ": " + line));
    return true;
}

void RecorderProcess::Stop()
{
    if (m_input >= 0) {
        ::close(m_input); // the server ends when its input does
        m_input = -1;
    }
    if (m_pid > 0) {
        // A server that does not end within two seconds is ended.
        int status = 0;
        for (int i = 0; i < 200; ++i) {
            if (::waitpid(m_pid, &status, WNOHANG) == m_pid) {
                m_pid = -1;
                break;
            }
            ::usleep(10'000);
        }
        if (m_pid > 0) {
            ::kill(m_pid, SIGKILL);
            ::waitpid(m_pid, &status, 0);
            m_pid = -1;
        }
    }
    m_port = 0;
}

} // namespace host
