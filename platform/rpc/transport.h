#pragma once
// Byte streams under the connection-oriented protocol: TCP and local (AF_UNIX)
// sockets with deadlines in real time. Every wait is bounded by the caller's deadline;
// nothing blocks without one.

#include <chrono>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "platform/rpc/rpcstatus.h"

namespace zyn::rpc {

using Clock = std::chrono::steady_clock;
using Deadline = Clock::time_point;

enum class IoResult {
    Ok,
    Timeout,  // the deadline passed
    Closed,   // the peer closed or reset the connection
    Failed,   // any other socket error
    // Send: the peer closed the connection, or sent something unasked, while it was
    // idle; nothing was sent.
    Stale,
};

class Transport {
public:
    virtual ~Transport() = default;
    // Sends all of `data`. A connection used before is first checked for the peer having
    // left while it was idle (Stale).
    virtual IoResult Send(std::span<const uint8_t> data, Deadline deadline) = 0;
    // Fills all of `data`.
    virtual IoResult Receive(std::span<uint8_t> data, Deadline deadline) = 0;
    // True when nothing of an earlier exchange is left over: the connection may carry a
    // new call. Asks the system nothing: a peer that left meanwhile shows when the next
    // exchange is sent (Stale).
    virtual bool Idle() = 0;
};

// Connects to a TCP port; an empty host is the local machine. RPC_S_SERVER_UNAVAILABLE
// when the name does not resolve, nobody listens or the deadline passes.
std::unique_ptr<Transport> ConnectTcp(const std::string& host, uint16_t port, Deadline deadline, RPC_STATUS& status);

// Connects to a local socket by path. RPC_S_SERVER_UNAVAILABLE when nobody listens.
std::unique_ptr<Transport> ConnectLocal(const std::string& path, Deadline deadline, RPC_STATUS& status);

// Milliseconds left until the deadline, clamped to [0, INT_MAX].
int RemainingMs(Deadline deadline);

} // namespace zyn::rpc
