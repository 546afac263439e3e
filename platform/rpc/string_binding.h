#pragma once
// Composing and parsing string bindings:
//   [object-uuid@]protseq:[network-address][[endpoint][,option=value]...]
// Parsing rejects what it cannot take apart unambiguously (a missing ':', brackets in
// the address or endpoint, an unterminated '[', text after ']', an option without '=')
// with RPC_S_INVALID_STRING_BINDING, and an object UUID that is not one with
// RPC_S_INVALID_STRING_UUID.
// Composing writes only text that parses back into the very parts given: a part that
// would read as another (an address "SRV[9999]" that would become an endpoint, a
// protocol sequence with ':', an endpoint "endpoint=x") is refused the same way, so
// no part of a composed binding can smuggle in another.

#include <string>
#include <string_view>

#include "platform/base/wintypes.h"
#include "platform/rpc/rpcstatus.h"

namespace zyn::rpc {

struct StringBindingParts {
    std::wstring objectUuid;
    std::wstring protseq;
    std::wstring networkAddress;
    std::wstring endpoint;
    std::wstring options;
};

RPC_STATUS ComposeStringBinding(const StringBindingParts& parts, std::wstring& text);
RPC_STATUS ParseStringBinding(std::wstring_view text, StringBindingParts& parts);

// UUIDs in their string form, xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx (either case).
bool ParseUuid(std::wstring_view text, GUID& uuid);
std::wstring FormatUuid(const GUID& uuid);

} // namespace zyn::rpc
