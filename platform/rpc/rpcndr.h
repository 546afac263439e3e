#pragma once
// What the client stubs of an interface are made of: the interface record that an
// interface compiler emits (identity, transfer syntax, the procedures' parameter
// descriptors and the type table they refer to), the IDL scalar `boolean`, and the
// stubs' memory routines. One engine (ndr.h) interprets the descriptors; no procedure
// has marshalling code of its own.

#include <cstddef>
#include <cstdint>

#include "platform/base/wintypes.h"
#include "platform/rpc/rpcdce.h"

using boolean = unsigned char;

// The stubs' allocation and release routines. The application supplies them, as an
// interface compiler's client expects.
void* MIDL_user_allocate(size_t size);
void MIDL_user_free(void* p);

struct RPC_VERSION {
    USHORT MajorVersion;
    USHORT MinorVersion;
};

struct RPC_SYNTAX_IDENTIFIER {
    GUID SyntaxGUID;
    RPC_VERSION SyntaxVersion;
};

namespace zyn::rpc::ndr {
struct ProcDesc;
struct TypeDesc;
} // namespace zyn::rpc::ndr

// The client side of one interface. Its address, cast to RPC_IF_HANDLE, is the
// interface specification the stubs and RpcBinding* callers pass around.
struct RPC_CLIENT_INTERFACE {
    RPC_SYNTAX_IDENTIFIER InterfaceId;
    RPC_SYNTAX_IDENTIFIER TransferSyntax;
    const zyn::rpc::ndr::ProcDesc* Procs;   // indexed by operation number
    USHORT ProcCount;
    const zyn::rpc::ndr::TypeDesc* Types;
    USHORT TypeCount;
};

namespace zyn::rpc {

// The NDR 2.0 transfer syntax, 8a885d04-1ceb-11c9-9fe8-08002b104860 version 2.0.
inline constexpr RPC_SYNTAX_IDENTIFIER kNdrTransferSyntax = {
    {0x8a885d04, 0x1ceb, 0x11c9, {0x9f, 0xe8, 0x08, 0x00, 0x2b, 0x10, 0x48, 0x60}}, {2, 0}};

// One remote call, as a client stub makes it. `args` holds one pointer per parameter
// of the procedure's descriptor, in order: the address of an [in] value, the pointer a
// reference parameter passes (null is refused with RPC_X_NULL_REF_POINTER before
// anything is sent), and last the address of the return value. Out values are written
// only when the whole reply decoded. Returns 0 or the failure; never throws.
RPC_STATUS ClientCall(RPC_IF_HANDLE ifSpec, uint16_t opnum, RPC_BINDING_HANDLE binding, void* const* args) noexcept;

} // namespace zyn::rpc
