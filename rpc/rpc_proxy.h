#pragma once
// The base of RPC proxies: a lazily connected binding and a mutex that serialises the
// calls of one proxy. The specialisation says how to connect and which interface it
// speaks.

#include "platform/base/wintypes.h"
#include "platform/rpc/rpcdce.h"

class LRpcBinding;

class LRpcProxy {
public:
    LRpcProxy();
    virtual ~LRpcProxy();
    LRpcProxy(const LRpcProxy&) = delete;
    LRpcProxy& operator=(const LRpcProxy&) = delete;

    // The binding, connecting first when none is held. A failed connect is kept as
    // "none", so the next call tries again.
    LRpcBinding* GetBinding();
    // Deletes the binding (freeing its handle); the next call connects again.
    void ReleaseBinding();

protected:
    virtual LRpcBinding* Connect() = 0;
    virtual RPC_IF_HANDLE GetInterfaceSpec() = 0;

    // Holds the proxy's call mutex for a scope (waiting without a time-out), and
    // releases it however the scope is left.
    class CallLock {
    public:
        explicit CallLock(HANDLE mutex);
        ~CallLock();
        CallLock(const CallLock&) = delete;
        CallLock& operator=(const CallLock&) = delete;
        // False when the wait failed (no mutex): the caller then makes no call.
        bool Owned() const { return m_owned; }

    private:
        HANDLE m_mutex;
        bool m_owned;
    };

    HANDLE CallMutex() const { return m_hMutex; }

private:
    LRpcBinding* m_pBinding = nullptr;
    HANDLE m_hMutex = nullptr;
};
