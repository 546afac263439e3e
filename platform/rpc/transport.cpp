#include "platform/rpc/transport.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <thread>

#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <sys/un.h>
#include <unistd.h>

namespace zyn::rpc {
namespace {

class UniqueFd {
public:
    explicit UniqueFd(int fd = -1) : m_fd(fd) {}
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;
    UniqueFd(UniqueFd&& o) noexcept : m_fd(o.Release()) {}
    UniqueFd& operator=(UniqueFd&& o) noexcept
    {
        if (this != &o) {
            Reset();
            m_fd = o.Release();
        }
        return *this;
    }
    ~UniqueFd() { Reset(); }
    int Get() const { return m_fd; }
    int Release()
    {
        const int fd = m_fd;
        m_fd = -1;
        return fd;
    }
    void Reset()
    {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = -1;
    }

private:
    int m_fd;
};

// Waits for `events` on the socket until the deadline; false when it passed.
bool WaitFor(int fd, short events, Deadline deadline, short& revents)
{
    for (;;) {
        pollfd p{fd, events, 0};
        const int n = ::poll(&p, 1, RemainingMs(deadline));
        if (n > 0) {
            revents = p.revents;
            return true;
        }
        if (n == 0)
            return false;
        if (errno != EINTR)
            return false;
    }
}

// A connected stream socket. It is left blocking, so that a read waits in the kernel with
// no poll beside it: SO_RCVTIMEO bounds the wait by the caller's deadline (set again only
// when the time left calls for it). Sends pass MSG_DONTWAIT and wait with poll only when
// the socket's buffer is full. Before each exchange but the first, one look without
// waiting tells whether the peer closed the connection (or sent something unasked) while
// it was idle: the exchange is then refused as Stale, before anything is sent, so that a
// call never reaches a server twice.
class SocketTransport final : public Transport {
public:
    explicit SocketTransport(UniqueFd fd) : m_fd(std::move(fd)), m_buf(16384) {}

    IoResult Send(std::span<const uint8_t> data, Deadline deadline) override
    {
        if (m_used) {
            if (m_begin < m_end)
                return IoResult::Stale; // octets of the last exchange still unread
            const ssize_t n = ::recv(m_fd.Get(), m_buf.data(), m_buf.size(), MSG_DONTWAIT);
            if (n >= 0 || errno == ECONNRESET) {
                m_end = n > 0 ? static_cast<size_t>(n) : 0;
                return IoResult::Stale;
            }
        }
        m_used = true;
        size_t done = 0;
        while (done < data.size()) {
            const ssize_t n = ::send(m_fd.Get(), data.data() + done, data.size() - done, MSG_NOSIGNAL | MSG_DONTWAIT);
            if (n > 0) {
                done += static_cast<size_t>(n);
                continue;
            }
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
                short rev = 0;
                if (!WaitFor(m_fd.Get(), POLLOUT, deadline, rev))
                    return IoResult::Timeout;
                continue;
            }
            return (errno == EPIPE || errno == ECONNRESET) ? IoResult::Closed : IoResult::Failed;
        }
        return IoResult::Ok;
    }

    IoResult Receive(std::span<uint8_t> data, Deadline deadline) override
    {
        size_t done = 0;
        while (done < data.size()) {
            if (m_begin < m_end) {
                const size_t n = std::min(m_end - m_begin, data.size() - done);
                std::memcpy(data.data() + done, m_buf.data() + m_begin, n);
                m_begin += n;
                done += n;
                continue;
            }
            m_begin = m_end = 0;
            const ssize_t n = Wait(deadline);
            if (n > 0) {
                m_end = static_cast<size_t>(n);
                continue;
            }
            if (n == 0)
                return IoResult::Closed;
            if (errno == EINTR)
                continue;
            if (errno == EAGAIN || errno == EWOULDBLOCK) {
                if (RemainingMs(deadline) == 0)
                    return IoResult::Timeout;
                continue; // the kernel's wait ended a little before the deadline
            }
            return errno == ECONNRESET ? IoResult::Closed : IoResult::Failed;
        }
        return IoResult::Ok;
    }

    bool Idle() override { return m_begin == m_end; }

private:
    // One read that waits at most until the deadline (a deadline already passed: a look).
    ssize_t Wait(Deadline deadline)
    {
        const int left = RemainingMs(deadline);
        if (left == 0)
            return ::recv(m_fd.Get(), m_buf.data(), m_buf.size(), MSG_DONTWAIT);
        // The socket's time-out stays while it ends at most an eighth of the time left
        // before the deadline (the loop then waits the rest): calls with the same receive
        // time-out set it once.
        if (m_timeoutMs == 0 || m_timeoutMs > left || m_timeoutMs < left - left / 8) {
            const int ms = std::max(1, left - left / 16);
            const timeval tv{ms / 1000, static_cast<suseconds_t>(ms % 1000) * 1000};
            if (::setsockopt(m_fd.Get(), SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv) != 0)
                return -1;
            m_timeoutMs = ms;
        }
        return ::recv(m_fd.Get(), m_buf.data(), m_buf.size(), 0);
    }

    UniqueFd m_fd;
    std::vector<uint8_t> m_buf;
    size_t m_begin = 0;
    size_t m_end = 0;
    bool m_used = false;    // an exchange was made
    int m_timeoutMs = 0;    // SO_RCVTIMEO as set (0: never set, no time-out)
};

// Makes a connected socket blocking (see SocketTransport).
bool MakeBlocking(int fd)
{
    const int flags = ::fcntl(fd, F_GETFL);
    return flags >= 0 && ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) == 0;
}

// Connects a non-blocking socket, waiting for completion until the deadline.
bool ConnectSocket(int fd, const sockaddr* addr, socklen_t len, Deadline deadline)
{
    for (;;) {
        if (::connect(fd, addr, len) == 0)
            return true;
        if (errno == EINTR)
            continue;
        if (errno == EAGAIN && addr->sa_family == AF_UNIX) {
            // A local listener's backlog is full: try again shortly.
            if (RemainingMs(deadline) == 0)
                return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
            continue;
        }
        break;
    }
    if (errno != EINPROGRESS)
        return false;
    short rev = 0;
    if (!WaitFor(fd, POLLOUT, deadline, rev))
        return false;
    int err = 0;
    socklen_t errLen = sizeof err;
    if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &err, &errLen) != 0 || err != 0)
        return false;
    return true;
}

} // namespace

int RemainingMs(Deadline deadline)
{
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (left <= 0)
        return 0;
    return left > INT_MAX ? INT_MAX : static_cast<int>(left);
}

std::unique_ptr<Transport> ConnectTcp(const std::string& host, uint16_t port, Deadline deadline, RPC_STATUS& status)
{
    status = RPC_S_SERVER_UNAVAILABLE;
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_NUMERICSERV;
    addrinfo* list = nullptr;
    const std::string service = std::to_string(port);
    if (::getaddrinfo(host.empty() ? nullptr : host.c_str(), service.c_str(), &hints, &list) != 0 || !list)
        return nullptr;
    std::unique_ptr<addrinfo, decltype(&::freeaddrinfo)> owner(list, &::freeaddrinfo);
    for (const addrinfo* a = list; a; a = a->ai_next) {
        UniqueFd fd(::socket(a->ai_family, a->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, a->ai_protocol));
        if (fd.Get() < 0)
            continue;
        if (!ConnectSocket(fd.Get(), a->ai_addr, a->ai_addrlen, deadline)) {
            if (RemainingMs(deadline) == 0)
                break;
            continue;
        }
        const int one = 1;
        ::setsockopt(fd.Get(), IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
        if (!MakeBlocking(fd.Get()))
            continue;
        status = RPC_S_OK;
        return std::make_unique<SocketTransport>(std::move(fd));
    }
    return nullptr;
}

std::unique_ptr<Transport> ConnectLocal(const std::string& path, Deadline deadline, RPC_STATUS& status)
{
    sockaddr_un addr{};
    if (path.empty() || path.size() >= sizeof addr.sun_path) {
        status = RPC_S_INVALID_ENDPOINT_FORMAT;
        return nullptr;
    }
    status = RPC_S_SERVER_UNAVAILABLE;
    addr.sun_family = AF_UNIX;
    std::memcpy(addr.sun_path, path.data(), path.size());
    UniqueFd fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    if (fd.Get() < 0)
        return nullptr;
    if (!ConnectSocket(fd.Get(), reinterpret_cast<const sockaddr*>(&addr), sizeof addr, deadline) ||
        !MakeBlocking(fd.Get()))
        return nullptr;
    status = RPC_S_OK;
    return std::make_unique<SocketTransport>(std::move(fd));
}

} // namespace zyn::rpc
