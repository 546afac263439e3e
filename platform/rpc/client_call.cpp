// The client side of one call: marshal, find or open a connection, exchange, unmarshal.
#include <new>

#include "platform/rpc/binding.h"
#include "platform/rpc/ndr.h"
#include "platform/rpc/rpcndr.h"

namespace zyn::rpc {

RPC_STATUS ClientCall(RPC_IF_HANDLE ifSpec, uint16_t opnum, RPC_BINDING_HANDLE binding, void* const* args) noexcept
{
    try {
        const auto* iface = static_cast<const RPC_CLIENT_INTERFACE*>(ifSpec);
        if (!iface || !iface->Procs)
            return RPC_S_UNKNOWN_IF;
        if (opnum >= iface->ProcCount)
            return RPC_S_PROCNUM_OUT_OF_RANGE;
        const std::shared_ptr<Binding> b = LookupBinding(binding);
        if (!b)
            return RPC_S_INVALID_BINDING;
        const ndr::ProcDesc& proc = iface->Procs[opnum];
        const ndr::Types types(iface->Types, iface->TypeCount);

        std::vector<uint8_t> stub;
        stub.reserve(64);
        RPC_STATUS st = ndr::MarshalIn(proc, types, args, stub);
        if (st != RPC_S_OK)
            return st;

        const Timeouts to = b->EffectiveTimeouts();
        std::unique_ptr<Connection> c = b->TakeConnection(iface);
        bool reused = c != nullptr;
        std::vector<uint8_t> reply;
        bool bigEndian = false;
        for (;;) {
            if (!c) {
                c = OpenConnection(*b, iface, Clock::now() + std::chrono::milliseconds(to.connectMs), st);
                if (!c)
                    return st;
            }
            st = c->Call(opnum, b->Object(), stub, reply, bigEndian,
                Clock::now() + std::chrono::milliseconds(to.receiveMs));
            // An idle connection the server had closed carried nothing of the call: the call
            // goes again on a new connection (once: a new connection is never stale).
            if (st == RPC_S_OK || !reused || !c->Stale())
                break;
            c.reset();
            reused = false;
        }
        b->ReturnConnection(std::move(c));
        if (st != RPC_S_OK)
            return st;
        return ndr::UnmarshalOut(proc, types, reply, bigEndian, args);
    } catch (const std::bad_alloc&) {
        return RPC_S_OUT_OF_MEMORY;
    } catch (const std::exception&) {
        return RPC_S_OUT_OF_RESOURCES; // a system resource (a lock, a thread) failed
    }
}

} // namespace zyn::rpc
