#pragma once
// Owns one RPC binding handle (null when empty) and frees it when replaced or destroyed.

#include "platform/base/object.h"
#include "platform/rpc/rpcdce.h"

class LRpcBinding : public CObject {
    DECLARE_DYNAMIC(LRpcBinding)
public:
    LRpcBinding() = default;
    ~LRpcBinding() override;
    LRpcBinding(const LRpcBinding&) = delete;
    LRpcBinding& operator=(const LRpcBinding&) = delete;

    // Frees the held handle, then holds a copy of h (none when h is null or the copy
    // fails). TRUE when a handle is held.
    BOOL SetHandle(RPC_BINDING_HANDLE h);
    RPC_BINDING_HANDLE GetHandle() const { return m_hBinding; }

private:
    RPC_BINDING_HANDLE m_hBinding = nullptr;
};
