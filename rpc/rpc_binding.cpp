#include "rpc/rpc_binding.h"

IMPLEMENT_DYNAMIC(LRpcBinding, CObject)

LRpcBinding::~LRpcBinding()
{
    if (m_hBinding)
        RpcBindingFree(&m_hBinding);
}

BOOL LRpcBinding::SetHandle(RPC_BINDING_HANDLE h)
{
    if (m_hBinding)
        RpcBindingFree(&m_hBinding);
    m_hBinding = nullptr;
    if (h && RpcBindingCopy(h, &m_hBinding) != RPC_S_OK)
        m_hBinding = nullptr;
    return m_hBinding != nullptr;
}
