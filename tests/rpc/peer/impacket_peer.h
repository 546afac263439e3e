#pragma once
// Runs tests/rpc/peer/recording_peer.py, the recording server built on another NDR
// implementation (python3-impacket under /usr/bin/python3), as a child process of the
// test: it listens on an ephemeral loopback port, and reports each request it decoded
// as one line of "key=value" words on its standard output, which this class reads.
// The child ends when its standard input closes (the destructor closes it, and kills
// the child if it does not end by itself), so no peer outlives its test.

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#ifndef ZYN_RPC_PEER_SCRIPT
#error "the build gives the peer script's path"
#endif

namespace zyn::rpctest {

// One request as the peer decoded it: "opnum", "len" (stub octets), then either
// "error" or a key per value carried.
using PeerCall = std::map<std::string, std::string>;

class ImpacketPeer {
public:
    static constexpr const char* kPython = "/usr/bin/python3";

    ImpacketPeer() = default;
    ImpacketPeer(const ImpacketPeer&) = delete;
    ImpacketPeer& operator=(const ImpacketPeer&) = delete;
    ~ImpacketPeer() { Stop(); }

    enum class Started { Yes, Unavailable, Failed };

    // Starts the peer with the scripted replies (OPNUM=VALUE words, see the script).
    // Unavailable, with the reason in `message`, when the interpreter or impacket is
    // missing; Failed for anything else.
    Started Start(const std::vector<std::string>& replies, std::string& message)
    {
        if (::access(kPython, X_OK) != 0) {
            message = std::string(kPython) + " is not installed";
            return Started::Unavailable;
        }
        int in[2], out[2];
        if (::pipe2(in, O_CLOEXEC) != 0)
            return Fail(message, "pipe");
        if (::pipe2(out, O_CLOEXEC) != 0) {
            ::close(in[0]);
            ::close(in[1]);
            return Fail(message, "pipe");
        }
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, in[0], 0);
        posix_spawn_file_actions_adddup2(&actions, out[1], 1);
        // -I: no PYTHON* variables, no user site: Debian's interpreter and packages only.
        std::vector<std::string> words = {kPython, "-I", ZYN_RPC_PEER_SCRIPT};
        words.insert(words.end(), replies.begin(), replies.end());
        std::vector<char*> argv;
        for (auto& w : words)
            argv.push_back(w.data());
        argv.push_back(nullptr);
        std::string path = "PATH=/usr/bin:/bin", lang = "LANG=C.UTF-8";
        char* envp[] = {path.data(), lang.data(), nullptr};
        const int rc = ::posix_spawn(&m_pid, kPython, &actions, nullptr, argv.data(), envp);
        posix_spawn_file_actions_destroy(&actions);
        ::close(in[0]);
        ::close(out[1]);
        m_in = in[1];
        m_out = out[0];
        if (rc != 0) {
            m_pid = -1;
            errno = rc;
            return Fail(message, "posix_spawn");
        }
        std::string line;
        if (!ReadLine(line, std::chrono::seconds(60))) {
            message = "the peer ended or said nothing (" + line + "); see its error output above";
            return Started::Failed;
        }
        std::istringstream words1(line);
        std::string kind;
        words1 >> kind;
        if (kind == "unavailable") {
            message = "python3-impacket is not importable by " + std::string(kPython) + ":" + line.substr(kind.size());
            return Started::Unavailable;
        }
        if (kind != "port" || !(words1 >> m_port) || m_port == 0) {
            message = "unexpected first line from the peer: " + line;
            return Started::Failed;
        }
        return Started::Yes;
    }

    unsigned Port() const { return m_port; }

    // The next request the peer reports; false (with the reason in `error`) when none
    // comes within the time.
    bool NextCall(PeerCall& call, std::string& error, std::chrono::milliseconds wait = std::chrono::seconds(20))
    {
        call.clear();
        std::string line;
        if (!ReadLine(line, wait)) {
            error = "no report from the peer (" + line + ")";
            return false;
        }
        std::istringstream in(line);
        std::string word;
        in >> word;
        if (word != "call") {
            error = "unexpected line from the peer: " + line;
            return false;
        }
        while (in >> word) {
            const size_t eq = word.find('=');
            if (eq == std::string::npos) {
                error = "malformed word from the peer: " + word;
                return false;
            }
            call[word.substr(0, eq)] = word.substr(eq + 1);
        }
        return true;
    }

    void Stop()
    {
        if (m_in >= 0)
            ::close(m_in); // the peer ends when its input closes
        m_in = -1;
        if (m_pid > 0) {
            int status = 0;
            const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
            while (::waitpid(m_pid, &status, WNOHANG) == 0) {
                if (std::chrono::steady_clock::now() > until) {
                    ::kill(m_pid, SIGKILL);
                    ::waitpid(m_pid, &status, 0);
                    break;
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            }
        }
        m_pid = -1;
        if (m_out >= 0)
            ::close(m_out);
        m_out = -1;
    }

private:
    Started Fail(std::string& message, const char* what)
    {
        message = std::string(what) + ": " + std::strerror(errno);
        return Started::Failed;
    }

    // One line without its newline; false at the end of the output or after `wait`.
    bool ReadLine(std::string& line, std::chrono::milliseconds wait)
    {
        const auto until = std::chrono::steady_clock::now() + wait;
        for (;;) {
            const size_t nl = m_buffer.find('\n');
            if (nl != std::string::npos) {
                line = m_buffer.substr(0, nl);
                m_buffer.erase(0, nl + 1);
                return true;
            }
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                until - std::chrono::steady_clock::now());
            if (left.count() <= 0) {
                line = "timed out";
                return false;
            }
            pollfd p{m_out, POLLIN, 0};
            const int n = ::poll(&p, 1, static_cast<int>(left.count()));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                continue;
            char chunk[4096];
            const ssize_t got = ::read(m_out, chunk, sizeof chunk);
            if (got < 0 && errno == EINTR)
                continue;
            if (got <= 0) {
                line = "its output ended";
                return false;
            }
            m_buffer.append(chunk, static_cast<size_t>(got));
        }
    }

    pid_t m_pid = -1;
    int m_in = -1;
    int m_out = -1;
    unsigned m_port = 0;
    std::string m_buffer;
};

} // namespace zyn::rpctest
