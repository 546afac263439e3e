#include "rpc/rpc_proxy.h"

#include "platform/base/kernel_object.h"
#include "platform/base/synch.h"
#include "rpc/rpc_binding.h"

LRpcProxy::LRpcProxy() : m_hMutex(CreateMutexW(nullptr, FALSE, nullptr)) {}

LRpcProxy::~LRpcProxy()
{
    ReleaseBinding();
    if (m_hMutex)
        CloseHandle(m_hMutex);
}

LRpcBinding* LRpcProxy::GetBinding()
{
    if (!m_pBinding)
        m_pBinding = Connect();
    return m_pBinding;
}

void LRpcProxy::ReleaseBinding()
{
    delete m_pBinding;
    m_pBinding = nullptr;
}

LRpcProxy::CallLock::CallLock(HANDLE mutex) : m_mutex(mutex), m_owned(false)
{
    if (!m_mutex)
        return;
    const DWORD r = WaitForSingleObject(m_mutex, INFINITE);
    // An abandoned mutex still passes ownership: the thread that held it died, the
    // proxy's own state is whole (nothing is half-written under the lock).
    m_owned = r == WAIT_OBJECT_0 || r == WAIT_ABANDONED;
}

LRpcProxy::CallLock::~CallLock()
{
    if (m_owned)
        ReleaseMutex(m_mutex);
}
