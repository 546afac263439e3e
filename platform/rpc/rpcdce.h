#pragma once
// The binding part of the RPC runtime: string bindings and binding handles.
//
// A string binding reads  [object-uuid@]protseq:[network-address][[endpoint][,option=value]...]
// for example ncacn_ip_tcp:SRV1[4006] or ncalrpc:[CRSServer_SRV1]. Composing and
// parsing are textual; neither contacts a server. A binding handle connects on its
// first call and keeps the connection for the calls that follow.
//
// Protocol sequences: ncacn_ip_tcp (TCP; the endpoint is the port, an empty network
// address is this machine), ncalrpc (a local socket named by the endpoint in the
// user's runtime folder, see local_endpoint.h; the network address is not used).
// A binding without an endpoint fails at its first call with RPC_S_NO_ENDPOINT_FOUND:
// there is no endpoint mapper.
// Every other protocol sequence, named pipes included, answers
// RPC_S_PROTSEQ_NOT_SUPPORTED when a handle is made from it.

#include "platform/base/wintypes.h"
#include "platform/rpc/rpcstatus.h"

using RPC_BINDING_HANDLE = void*;
using handle_t = RPC_BINDING_HANDLE;
using RPC_IF_HANDLE = void*;
using RPC_WSTR = wchar_t*;
using RPC_CSTR = unsigned char*;
using error_status_t = ULONG;

// Options of RpcBindingSetOption / RpcBindingInqOption.
inline constexpr ULONG RPC_C_OPT_CALL_TIMEOUT = 12;     // receive time-out of a call, ms; 0: the default
inline constexpr ULONG RPC_C_OPT_CONNECT_TIMEOUT = 0x5A01; // ours: connect and bind time-out, ms; 0: the default

// Composes a string binding from its parts; null or empty parts are left out. The
// result is freed with RpcStringFreeW. Parts that would not parse back as themselves
// (string_binding.h) are refused with RPC_S_INVALID_STRING_BINDING, or
// RPC_S_INVALID_STRING_UUID for an object UUID that is not one; *StringBinding is null then.
RPC_STATUS RpcStringBindingComposeW(RPC_WSTR ObjUuid, RPC_WSTR ProtSeq, RPC_WSTR NetworkAddr, RPC_WSTR Endpoint,
    RPC_WSTR Options, RPC_WSTR* StringBinding);
// Splits a string binding; every non-null output receives a string to free with
// RpcStringFreeW (empty when the part is absent).
RPC_STATUS RpcStringBindingParseW(RPC_WSTR StringBinding, RPC_WSTR* ObjUuid, RPC_WSTR* Protseq,
    RPC_WSTR* NetworkAddr, RPC_WSTR* Endpoint, RPC_WSTR* NetworkOptions);
// Frees a string the runtime returned and sets *String to null. A pointer the runtime
// did not hand out is refused with RPC_S_INVALID_ARG.
RPC_STATUS RpcStringFreeW(RPC_WSTR* String);

RPC_STATUS RpcBindingFromStringBindingW(RPC_WSTR StringBinding, RPC_BINDING_HANDLE* Binding);
RPC_STATUS RpcBindingToStringBindingW(RPC_BINDING_HANDLE Binding, RPC_WSTR* StringBinding);
// A copy has the same destination and options and its own connections.
RPC_STATUS RpcBindingCopy(RPC_BINDING_HANDLE SourceBinding, RPC_BINDING_HANDLE* DestinationBinding);
// Frees the handle, closes its connections and sets *Binding to null.
RPC_STATUS RpcBindingFree(RPC_BINDING_HANDLE* Binding);
// Closes the handle's idle connections; the next call connects again.
RPC_STATUS RpcBindingReset(RPC_BINDING_HANDLE Binding);
RPC_STATUS RpcBindingSetOption(RPC_BINDING_HANDLE hBinding, ULONG option, ULONG_PTR optionValue);
RPC_STATUS RpcBindingInqOption(RPC_BINDING_HANDLE hBinding, ULONG option, ULONG_PTR* pOptionValue);

// UUIDs as text: xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx in hexadecimal digits of either
// case, nothing around it. UuidFromString of a null string gives the nil UUID; text
// that is not a UUID gives RPC_S_INVALID_STRING_UUID and leaves *Uuid as it was.
// UuidToString hands back lower-case text to free with RpcStringFreeW.
RPC_STATUS UuidFromStringW(RPC_WSTR StringUuid, UUID* Uuid);
RPC_STATUS UuidToStringW(const UUID* Uuid, RPC_WSTR* StringUuid);

// The unsuffixed names: the wide forms.
RPC_STATUS RpcStringBindingCompose(RPC_WSTR ObjUuid, RPC_WSTR ProtSeq, RPC_WSTR NetworkAddr, RPC_WSTR Endpoint,
    RPC_WSTR Options, RPC_WSTR* StringBinding);
RPC_STATUS RpcStringBindingParse(RPC_WSTR StringBinding, RPC_WSTR* ObjUuid, RPC_WSTR* Protseq,
    RPC_WSTR* NetworkAddr, RPC_WSTR* Endpoint, RPC_WSTR* NetworkOptions);
RPC_STATUS RpcStringFree(RPC_WSTR* String);
RPC_STATUS RpcBindingFromStringBinding(RPC_WSTR StringBinding, RPC_BINDING_HANDLE* Binding);
RPC_STATUS RpcBindingToStringBinding(RPC_BINDING_HANDLE Binding, RPC_WSTR* StringBinding);
RPC_STATUS UuidFromString(RPC_WSTR StringUuid, UUID* Uuid);
RPC_STATUS UuidToString(const UUID* Uuid, RPC_WSTR* StringUuid);
