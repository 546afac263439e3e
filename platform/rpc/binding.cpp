#include "platform/rpc/binding.h"

#include <unordered_map>

#include "platform/base/utf16.h"
#include "platform/rpc/local_endpoint.h"

namespace zyn::rpc {
namespace {

constexpr size_t kMaxIdleConnections = 4;

std::atomic<uint32_t> g_defaultConnectMs{kBuiltinTimeouts.connectMs};
std::atomic<uint32_t> g_defaultReceiveMs{kBuiltinTimeouts.receiveMs};

struct Registry {
    std::mutex mutex;
    std::unordered_map<uintptr_t, std::shared_ptr<Binding>> map;
    uintptr_t next = 0x52500000; // well above the resource-ID range; never reused
};

Registry& GetRegistry()
{
    static Registry* r = new Registry; // lives to the end of the process, past static destructors
    return *r;
}

bool ParsePort(std::wstring_view s, uint16_t& port)
{
    if (s.empty() || s.size() > 5)
        return false;
    uint32_t v = 0;
    for (wchar_t c : s) {
        if (c < L'0' || c > L'9')
            return false;
        v = v * 10 + static_cast<uint32_t>(c - L'0');
    }
    if (v == 0 || v > 65535)
        return false;
    port = static_cast<uint16_t>(v);
    return true;
}

} // namespace

void SetDefaultTimeouts(Timeouts t)
{
    g_defaultConnectMs = t.connectMs ? t.connectMs : kBuiltinTimeouts.connectMs;
    g_defaultReceiveMs = t.receiveMs ? t.receiveMs : kBuiltinTimeouts.receiveMs;
}

Timeouts DefaultTimeouts() { return Timeouts{g_defaultConnectMs.load(), g_defaultReceiveMs.load()}; }

Binding::Binding(StringBindingParts parts, Protocol protocol, const GUID* object)
    : m_parts(std::move(parts)), m_protocol(protocol)
{
    if (object) {
        m_object = *object;
        m_hasObject = true;
    }
}

std::unique_ptr<Connection> Binding::TakeConnection(const RPC_CLIENT_INTERFACE* iface)
{
    std::vector<std::unique_ptr<Connection>> stale; // closed after the lock is released
    std::unique_ptr<Connection> found;
    {
        std::lock_guard lock(m_mutex);
        for (size_t i = m_idle.size(); i-- > 0;) {
            if (m_idle[i]->Interface() != iface)
                continue;
            std::unique_ptr<Connection> c = std::move(m_idle[i]);
            m_idle.erase(m_idle.begin() + static_cast<std::ptrdiff_t>(i));
            if (c->Idle()) {
                found = std::move(c);
                break;
            }
            stale.push_back(std::move(c)); // octets of an earlier exchange were left over
        }
    }
    return found;
}

void Binding::ReturnConnection(std::unique_ptr<Connection> c)
{
    if (!c || !c->Usable())
        return;
    std::lock_guard lock(m_mutex);
    if (m_idle.size() < kMaxIdleConnections)
        m_idle.push_back(std::move(c));
}

void Binding::CloseConnections()
{
    std::vector<std::unique_ptr<Connection>> old;
    std::lock_guard lock(m_mutex);
    old.swap(m_idle);
}

Timeouts Binding::EffectiveTimeouts() const
{
    const Timeouts d = DefaultTimeouts();
    const uint32_t c = connectTimeoutMs.load();
    const uint32_t r = callTimeoutMs.load();
    return Timeouts{c ? c : d.connectMs, r ? r : d.receiveMs};
}

RPC_BINDING_HANDLE RegisterBinding(std::shared_ptr<Binding> b)
{
    Registry& r = GetRegistry();
    std::lock_guard lock(r.mutex);
    const uintptr_t v = r.next;
    r.next += 0x10;
    r.map.emplace(v, std::move(b));
    return reinterpret_cast<RPC_BINDING_HANDLE>(v);
}

std::shared_ptr<Binding> LookupBinding(RPC_BINDING_HANDLE h)
{
    Registry& r = GetRegistry();
    std::lock_guard lock(r.mutex);
    const auto it = r.map.find(reinterpret_cast<uintptr_t>(h));
    return it == r.map.end() ? nullptr : it->second;
}

std::shared_ptr<Binding> UnregisterBinding(RPC_BINDING_HANDLE h)
{
    Registry& r = GetRegistry();
    std::lock_guard lock(r.mutex);
    const auto it = r.map.find(reinterpret_cast<uintptr_t>(h));
    if (it == r.map.end())
        return nullptr;
    std::shared_ptr<Binding> b = std::move(it->second);
    r.map.erase(it);
    return b;
}

std::unique_ptr<Connection> OpenConnection(const Binding& b, const RPC_CLIENT_INTERFACE* iface, Deadline deadline,
    RPC_STATUS& status)
{
    const StringBindingParts& p = b.Parts();
    if (p.endpoint.empty()) {
        status = RPC_S_NO_ENDPOINT_FOUND; // there is no endpoint mapper to ask
        return nullptr;
    }
    std::unique_ptr<Transport> t;
    if (b.GetProtocol() == Protocol::Tcp) {
        uint16_t port = 0;
        if (!ParsePort(p.endpoint, port)) {
            status = RPC_S_INVALID_ENDPOINT_FORMAT;
            return nullptr;
        }
        t = ConnectTcp(base::ToUtf8(p.networkAddress), port, deadline, status);
    } else {
        std::string path;
        status = LocalEndpointPath(p.endpoint, path);
        if (status != RPC_S_OK)
            return nullptr;
        t = ConnectLocal(path, deadline, status);
    }
    if (!t)
        return nullptr;
    auto c = std::make_unique<Connection>(std::move(t), iface);
    status = c->Bind(deadline);
    if (status != RPC_S_OK)
        return nullptr;
    return c;
}

} // namespace zyn::rpc
