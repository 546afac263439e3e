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
};

class Transport {
public:
    virtual ~Transport() = default;
    // Sends all of `data`.
    virtual IoResult Send(std::span<const uint8_t> data, Deadline deadline) = 0;
    // Fills all of `data`.
    virtual IoResult Receive(std::span<uint8_t> data, Deadline deadline) = 0;
    // True when nothing is waiting to be read and the peer has not closed: the
    // connection may carry a new call.
    virtual bool IdleAndHealthy() = 0;
};

// Connects to a TCP port; an empty host is the local machine. RPC_S_SERVER_UNAVAILABLE
// when the name does not resolve, nobody listens or the deadline passes.
std::unique_ptr<Transport> ConnectTcp(const std::string& host, uint16_t port, Deadline deadline, RPC_STATUS& status);

// Connects to a local socket by path. RPC_S_SERVER_UNAVAILABLE when nobody listens.
std::unique_ptr<Transport> ConnectLocal(const std::string& path, Deadline deadline, RPC_STATUS& status);

// Milliseconds left until the deadline, clamped to [0, INT_MAX].
int RemainingMs(Deadline deadline);

} // namespace zyn::rpc
