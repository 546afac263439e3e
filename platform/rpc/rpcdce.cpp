// The rpcrt4 binding functions over the binding registry.
#include "platform/rpc/rpcdce.h"

#include <atomic>
#include <cstring>
#include <mutex>
#include <new>
#include <unordered_set>

#include "platform/rpc/binding.h"
#include "platform/rpc/string_binding.h"

namespace {

using zyn::rpc::Binding;
using zyn::rpc::StringBindingParts;

// Strings handed out by the runtime, so that RpcStringFree refuses anything else.
struct StringPool {
    std::mutex mutex;
    std::unordered_set<const wchar_t*> live;
};

StringPool& Strings()
{
    static StringPool* p = new StringPool; // outlives static destructors
    return *p;
}

RPC_WSTR AllocString(std::wstring_view s)
{
    auto* p = new wchar_t[s.size() + 1];
    std::memcpy(p, s.data(), s.size() * sizeof(wchar_t));
    p[s.size()] = L'\0';
    StringPool& pool = Strings();
    std::lock_guard lock(pool.mutex);
    pool.live.insert(p);
    return p;
}

std::wstring_view View(RPC_WSTR s) { return s ? std::wstring_view(s) : std::wstring_view(); }

// The frame of a call that hands back one new string or binding through `out`: the
// pointer must be given and is cleared first, then `make(*out)` runs; running out of
// memory is answered as such.
template <class T, class Make>
RPC_STATUS HandBack(T* out, Make&& make)
{
    if (!out)
        return RPC_S_INVALID_ARG;
    *out = nullptr;
    try {
        return make(*out);
    } catch (const std::bad_alloc&) {
        return RPC_S_OUT_OF_MEMORY;
    }
}

// The binding's field behind a time-out option; null for an option we do not know.
std::atomic<uint32_t>* OptionField(Binding& b, ULONG option)
{
    switch (option) {
    case RPC_C_OPT_CALL_TIMEOUT:
        return &b.callTimeoutMs;
    case RPC_C_OPT_CONNECT_TIMEOUT:
        return &b.connectTimeoutMs;
    default:
        return nullptr;
    }
}

} // namespace

RPC_STATUS RpcStringBindingComposeW(RPC_WSTR ObjUuid, RPC_WSTR ProtSeq, RPC_WSTR NetworkAddr, RPC_WSTR Endpoint,
    RPC_WSTR Options, RPC_WSTR* StringBinding)
{
    return HandBack(StringBinding, [&](RPC_WSTR& out) {
        StringBindingParts p;
        p.objectUuid = View(ObjUuid);
        p.protseq = View(ProtSeq);
        p.networkAddress = View(NetworkAddr);
        p.endpoint = View(Endpoint);
        p.options = View(Options);
        std::wstring text;
        if (const RPC_STATUS st = zyn::rpc::ComposeStringBinding(p, text); st != RPC_S_OK)
            return st;
        out = AllocString(text);
        return RPC_S_OK;
    });
}

RPC_STATUS RpcStringBindingParseW(RPC_WSTR StringBinding, RPC_WSTR* ObjUuid, RPC_WSTR* Protseq,
    RPC_WSTR* NetworkAddr, RPC_WSTR* Endpoint, RPC_WSTR* NetworkOptions)
{
    RPC_WSTR* outs[] = {ObjUuid, Protseq, NetworkAddr, Endpoint, NetworkOptions};
    for (RPC_WSTR* o : outs)
        if (o)
            *o = nullptr;
    if (!StringBinding)
        return RPC_S_INVALID_STRING_BINDING;
    try {
        StringBindingParts p;
        const RPC_STATUS st = zyn::rpc::ParseStringBinding(StringBinding, p);
        if (st != RPC_S_OK)
            return st;
        const std::wstring* parts[] = {&p.objectUuid, &p.protseq, &p.networkAddress, &p.endpoint, &p.options};
        for (size_t i = 0; i < 5; ++i)
            if (outs[i])
                *outs[i] = AllocString(*parts[i]);
        return RPC_S_OK;
    } catch (const std::bad_alloc&) {
        for (RPC_WSTR* o : outs)
            if (o && *o)
                RpcStringFreeW(o);
        return RPC_S_OUT_OF_MEMORY;
    }
}

RPC_STATUS RpcStringFreeW(RPC_WSTR* String)
{
    if (!String)
        return RPC_S_INVALID_ARG;
    if (!*String)
        return RPC_S_OK;
    StringPool& pool = Strings();
    {
        std::lock_guard lock(pool.mutex);
        if (pool.live.erase(*String) == 0)
            return RPC_S_INVALID_ARG;
    }
    delete[] *String;
    *String = nullptr;
    return RPC_S_OK;
}

RPC_STATUS RpcBindingFromStringBindingW(RPC_WSTR StringBinding, RPC_BINDING_HANDLE* Binding)
{
    return HandBack(Binding, [&](RPC_BINDING_HANDLE& out) -> RPC_STATUS {
        if (!StringBinding)
            return RPC_S_INVALID_STRING_BINDING;
        StringBindingParts p;
        const RPC_STATUS st = zyn::rpc::ParseStringBinding(StringBinding, p);
        if (st != RPC_S_OK)
            return st;
        zyn::rpc::Protocol proto;
        if (p.protseq == L"ncacn_ip_tcp")
            proto = zyn::rpc::Protocol::Tcp;
        else if (p.protseq == L"ncalrpc")
            proto = zyn::rpc::Protocol::Local;
        else
            return RPC_S_PROTSEQ_NOT_SUPPORTED; // named pipes and the rest
        GUID object{};
        const bool hasObject = !p.objectUuid.empty() && zyn::rpc::ParseUuid(p.objectUuid, object) &&
            (object.Data1 | object.Data2 | object.Data3 | object.Data4[0] | object.Data4[1] | object.Data4[2] |
                object.Data4[3] | object.Data4[4] | object.Data4[5] | object.Data4[6] | object.Data4[7]) != 0;
        out = zyn::rpc::RegisterBinding(std::make_shared<zyn::rpc::Binding>(std::move(p), proto, hasObject ? &object : nullptr));
        return RPC_S_OK;
    });
}

RPC_STATUS RpcBindingToStringBindingW(RPC_BINDING_HANDLE Binding, RPC_WSTR* StringBinding)
{
    return HandBack(StringBinding, [&](RPC_WSTR& out) {
        const auto b = zyn::rpc::LookupBinding(Binding);
        if (!b)
            return RPC_S_INVALID_BINDING;
        std::wstring text;
        if (const RPC_STATUS st = zyn::rpc::ComposeStringBinding(b->Parts(), text); st != RPC_S_OK)
            return st; // not reached: the parts came from a parsed text
        out = AllocString(text);
        return RPC_S_OK;
    });
}

RPC_STATUS RpcBindingCopy(RPC_BINDING_HANDLE SourceBinding, RPC_BINDING_HANDLE* DestinationBinding)
{
    return HandBack(DestinationBinding, [&](RPC_BINDING_HANDLE& out) {
        const auto b = zyn::rpc::LookupBinding(SourceBinding);
        if (!b)
            return RPC_S_INVALID_BINDING;
        auto copy = std::make_shared<zyn::rpc::Binding>(b->Parts(), b->GetProtocol(), b->Object());
        copy->callTimeoutMs = b->callTimeoutMs.load();
        copy->connectTimeoutMs = b->connectTimeoutMs.load();
        out = zyn::rpc::RegisterBinding(std::move(copy));
        return RPC_S_OK;
    });
}

RPC_STATUS RpcBindingFree(RPC_BINDING_HANDLE* Binding)
{
    if (!Binding)
        return RPC_S_INVALID_ARG;
    const auto b = zyn::rpc::UnregisterBinding(*Binding);
    if (!b)
        return RPC_S_INVALID_BINDING;
    // A call running on another thread keeps its own reference; its connection closes
    // when that call ends.
    b->CloseConnections();
    *Binding = nullptr;
    return RPC_S_OK;
}

RPC_STATUS RpcBindingReset(RPC_BINDING_HANDLE Binding)
{
    const auto b = zyn::rpc::LookupBinding(Binding);
    if (!b)
        return RPC_S_INVALID_BINDING;
    b->CloseConnections();
    return RPC_S_OK;
}

RPC_STATUS RpcBindingSetOption(RPC_BINDING_HANDLE hBinding, ULONG option, ULONG_PTR optionValue)
{
    const auto b = zyn::rpc::LookupBinding(hBinding);
    if (!b)
        return RPC_S_INVALID_BINDING;
    auto* field = OptionField(*b, option);
    if (!field || optionValue > 0xFFFFFFFFu)
        return RPC_S_INVALID_ARG;
    *field = static_cast<uint32_t>(optionValue);
    return RPC_S_OK;
}

RPC_STATUS RpcBindingInqOption(RPC_BINDING_HANDLE hBinding, ULONG option, ULONG_PTR* pOptionValue)
{
    if (!pOptionValue)
        return RPC_S_INVALID_ARG;
    const auto b = zyn::rpc::LookupBinding(hBinding);
    if (!b)
        return RPC_S_INVALID_BINDING;
    const auto* field = OptionField(*b, option);
    if (!field)
        return RPC_S_INVALID_ARG;
    *pOptionValue = field->load();
    return RPC_S_OK;
}

RPC_STATUS UuidFromStringW(RPC_WSTR StringUuid, UUID* Uuid)
{
    if (!Uuid)
        return RPC_S_INVALID_ARG;
    if (!StringUuid) {
        *Uuid = UUID{};
        return RPC_S_OK;
    }
    UUID parsed;
    if (!zyn::rpc::ParseUuid(StringUuid, parsed))
        return RPC_S_INVALID_STRING_UUID;
    *Uuid = parsed;
    return RPC_S_OK;
}

RPC_STATUS UuidToStringW(const UUID* Uuid, RPC_WSTR* StringUuid)
{
    return HandBack(StringUuid, [&](RPC_WSTR& out) {
        if (!Uuid)
            return RPC_S_INVALID_ARG;
        out = AllocString(zyn::rpc::FormatUuid(*Uuid));
        return RPC_S_OK;
    });
}

RPC_STATUS RpcStringBindingCompose(RPC_WSTR ObjUuid, RPC_WSTR ProtSeq, RPC_WSTR NetworkAddr, RPC_WSTR Endpoint,
    RPC_WSTR Options, RPC_WSTR* StringBinding)
{
    return RpcStringBindingComposeW(ObjUuid, ProtSeq, NetworkAddr, Endpoint, Options, StringBinding);
}

RPC_STATUS RpcStringBindingParse(RPC_WSTR StringBinding, RPC_WSTR* ObjUuid, RPC_WSTR* Protseq, RPC_WSTR* NetworkAddr,
    RPC_WSTR* Endpoint, RPC_WSTR* NetworkOptions)
{
    return RpcStringBindingParseW(StringBinding, ObjUuid, Protseq, NetworkAddr, Endpoint, NetworkOptions);
}

RPC_STATUS RpcStringFree(RPC_WSTR* String) { return RpcStringFreeW(String); }

RPC_STATUS RpcBindingFromStringBinding(RPC_WSTR StringBinding, RPC_BINDING_HANDLE* Binding)
{
    return RpcBindingFromStringBindingW(StringBinding, Binding);
}

RPC_STATUS RpcBindingToStringBinding(RPC_BINDING_HANDLE Binding, RPC_WSTR* StringBinding)
{
    return RpcBindingToStringBindingW(Binding, StringBinding);
}

RPC_STATUS UuidFromString(RPC_WSTR StringUuid, UUID* Uuid) { return UuidFromStringW(StringUuid, Uuid); }

RPC_STATUS UuidToString(const UUID* Uuid, RPC_WSTR* StringUuid) { return UuidToStringW(Uuid, StringUuid); }
