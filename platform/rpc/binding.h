#pragma once
// Binding handles behind the RPC_BINDING_HANDLE values: what a string binding named,
// the call time-outs, and the idle connections the handle keeps for its next calls.
// Handle values come from a counter that never repeats, so a freed or foreign handle
// is refused (RPC_S_INVALID_BINDING) and never reaches another binding.

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/rpc/connection.h"
#include "platform/rpc/rpcdce.h"
#include "platform/rpc/string_binding.h"

namespace zyn::rpc {

enum class Protocol { Tcp, Local };

// Time-outs of a call, in real time. Connect covers connecting and binding; receive
// covers sending the request and reading the whole reply.
struct Timeouts {
    uint32_t connectMs;
    uint32_t receiveMs;
};
inline constexpr Timeouts kBuiltinTimeouts{10'000, 60'000};

// The process-wide defaults a binding uses unless RpcBindingSetOption overrides them.
void SetDefaultTimeouts(Timeouts t);
Timeouts DefaultTimeouts();

class Binding {
public:
    Binding(StringBindingParts parts, Protocol protocol, const GUID* object);

    const StringBindingParts& Parts() const { return m_parts; }
    Protocol GetProtocol() const { return m_protocol; }
    const GUID* Object() const { return m_hasObject ? &m_object : nullptr; }

    // An idle connection bound to the interface that is still healthy, or null.
    std::unique_ptr<Connection> TakeConnection(const RPC_CLIENT_INTERFACE* iface);
    // Keeps a connection for a later call (a few at most; the rest are closed).
    void ReturnConnection(std::unique_ptr<Connection> c);
    void CloseConnections();

    Timeouts EffectiveTimeouts() const;
    std::atomic<uint32_t> callTimeoutMs{0};    // 0: the default
    std::atomic<uint32_t> connectTimeoutMs{0}; // 0: the default

private:
    StringBindingParts m_parts;
    Protocol m_protocol;
    GUID m_object{};
    bool m_hasObject = false;
    std::mutex m_mutex;
    std::vector<std::unique_ptr<Connection>> m_idle;
};

RPC_BINDING_HANDLE RegisterBinding(std::shared_ptr<Binding> b);
std::shared_ptr<Binding> LookupBinding(RPC_BINDING_HANDLE h);
std::shared_ptr<Binding> UnregisterBinding(RPC_BINDING_HANDLE h);

// Opens a new connection for the binding and binds the interface.
std::unique_ptr<Connection> OpenConnection(const Binding& b, const RPC_CLIENT_INTERFACE* iface, Deadline deadline,
    RPC_STATUS& status);

} // namespace zyn::rpc
