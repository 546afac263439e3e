#pragma once
// Where an ncalrpc endpoint lives. The local protocol sequence is a stream socket
// (AF_UNIX) named by the endpoint inside the user's runtime folder:
//   $XDG_RUNTIME_DIR/<endpoint>             when XDG_RUNTIME_DIR is an absolute path,
//   /tmp/zyn-rpc-<uid>/<endpoint>           otherwise, a folder private to the user
//                                           (mode 0700, owned by the user, not a link).
// The endpoint is one file name (UTF-8; no '/', not "." or ".."), and the whole path
// must fit the 108-octet socket address with its terminator. A server of this
// convention creates the folder; the client only checks it.

#include <string>
#include <string_view>

#include "platform/rpc/rpcstatus.h"

namespace zyn::rpc {

// The runtime folder, without a trailing slash.
std::string LocalRuntimeFolder();

// The socket path of an endpoint. RPC_S_INVALID_ENDPOINT_FORMAT for an endpoint that is
// not a plain file name or makes the path too long; RPC_S_SERVER_UNAVAILABLE when the
// private /tmp folder is missing or not safely the user's own.
RPC_STATUS LocalEndpointPath(std::wstring_view endpoint, std::string& path);

} // namespace zyn::rpc
