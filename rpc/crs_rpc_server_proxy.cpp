#include "rpc/crs_rpc_server_proxy.h"

#include <memory>

#include "platform/base/utf16.h"
#include "rpc/rpc_binding.h"
#include "rpc/rpc_ns_locator.h"

namespace {

// Copies text into a 256-character [string] argument: at most 255 UTF-16 units, never
// half a surrogate pair, always terminated.
void CopyArgument(WCHAR (&dst)[256], const CString& text)
{
    size_t units = 0;
    int n = 0;
    for (; n < text.GetLength() && text[n] != L'\0'; ++n) {
        const wchar_t c = text[n];
        const size_t u = zyn::base::Utf16Length(std::wstring_view(&c, 1));
        if (units + u > 255)
            break;
        units += u;
        dst[n] = c;
    }
    dst[n] = L'\0';
}

} // namespace

// One wrapper's frame: the call mutex held, the binding looked up (connecting if need
// be) and the local status preset, whether or not a call follows.
class CCRSRPCServerProxy::CallFrame {
public:
    explicit CallFrame(CCRSRPCServerProxy& proxy) : m_lock(proxy.CallMutex())
    {
        if (!m_lock.Owned())
            return;
        if (LRpcBinding* b = proxy.GetBinding())
            m_handle = b->GetHandle();
    }
    bool Bound() const { return m_handle != nullptr; }
    handle_t Handle() const { return m_handle; }
    error_status_t* StatusPtr() { return &m_status; }
    LONG Status() const { return static_cast<LONG>(m_status); }

private:
    CallLock m_lock;
    handle_t m_handle = nullptr;
    error_status_t m_status = static_cast<error_status_t>(kNotCalled);
};

CCRSRPCServerProxy::CCRSRPCServerProxy(const CString& serverName) : m_server(serverName) {}

CCRSRPCServerProxy::CCRSRPCServerProxy(const CCRSRPCServerInfo& server) : m_server(server) {}

void CCRSRPCServerProxy::SelectServer(const CString& serverName) { SelectServer(CCRSRPCServerInfo(serverName)); }

void CCRSRPCServerProxy::SelectServer(const CCRSRPCServerInfo& server)
{
    if (server.GetServerName() != m_server.GetServerName()) {
        ReleaseBinding();
        m_server = server;
    }
}

CString CCRSRPCServerProxy::GetStatusText(LONG status)
{
    switch (static_cast<ULONG>(status)) {
    case 0:
        return CString(L"The call has completed successfully.");
    case 1722:
        return CString(L"RPC Server Unavailable.");
    case 1726:
        return CString(L"The remote procedure call failed.");
    case 1727:
        return CString(L"The remote procedure call failed and did not execute.");
    case 0xC0000005u:
        return CString(L"Access Violation.");
    default: {
        CString s;
        s.Format(L"%lu", static_cast<ULONG>(status));
        return s;
    }
    }
}

LRpcBinding* CCRSRPCServerProxy::Connect()
{
    CCRSRPCNsLocator locator;
    RPC_BINDING_HANDLE h = nullptr;
    LRpcBinding* result = nullptr;
    if (locator.FindBinding(&h, GetInterfaceSpec(), m_server.GetEntryName(), m_server.GetServerName(), 0)) {
        auto binding = std::make_unique<LRpcBinding>();
        if (binding->SetHandle(h))
            result = binding.release();
        RpcBindingFree(&h);
    }
    return result;
}

RPC_IF_HANDLE CCRSRPCServerProxy::GetInterfaceSpec() { return CRSRpc_v3_0_c_ifspec; }

BOOL CCRSRPCServerProxy::RuleA(const CallFrame& f, boolean result)
{
    if (!f.Bound())
        return FALSE;
    if (f.Status() == 0 && result == 1) {
        m_lLastStatus = 0;
        return TRUE;
    }
    m_lLastStatus = f.Status();
    return FALSE;
}

BOOL CCRSRPCServerProxy::RuleB(const CallFrame& f, boolean result)
{
    m_lLastStatus = f.Status();
    return f.Bound() && f.Status() == 0 && result == 1;
}

BOOL CCRSRPCServerProxy::Proc0(const Proc0Data& data)
{
    CallFrame f(*this);
    const boolean r = f.Bound() ? CRSRpc_Proc0(f.Handle(), &data, f.StatusPtr()) : 0;
    return RuleA(f, r);
}

BOOL CCRSRPCServerProxy::Proc1(LONG a)
{
    CallFrame f(*this);
    const boolean r = f.Bound() ? CRSRpc_Proc1(f.Handle(), a, f.StatusPtr()) : 0;
    return RuleA(f, r);
}

BOOL CCRSRPCServerProxy::Proc2(const Proc2Data& data)
{
    CallFrame f(*this);
    const boolean r = f.Bound() ? CRSRpc_Proc2(f.Handle(), &data, f.StatusPtr()) : 0;
    return RuleA(f, r);
}

BOOL CCRSRPCServerProxy::Proc3(LONG a, LONG b)
{
    CallFrame f(*this);
    const boolean r = f.Bound() ? CRSRpc_Proc3(f.Handle(), a, b, f.StatusPtr()) : 0;
    return RuleA(f, r);
}

BOOL CCRSRPCServerProxy::StartVideoArchive(LONG days)
{
    CallFrame f(*this);
    const boolean r = f.Bound() ? CRSRpc_Proc4(f.Handle(), days, f.StatusPtr()) : 0;
    return RuleB(f, r);
}

BOOL CCRSRPCServerProxy::IsVideoArchiveRunning()
{
    CallFrame f(*this);
    const boolean r = f.Bound() ? CRSRpc_Proc5(f.Handle(), f.StatusPtr()) : 0;
    return RuleB(f, r);
}

void CCRSRPCServerProxy::Proc6(LONG a)
{
    CallFrame f(*this);
    if (f.Bound())
        CRSRpc_Proc6(f.Handle(), a, f.StatusPtr());
}

void CCRSRPCServerProxy::Proc7(CString text, bool flag)
{
    WCHAR buffer[256] = {};
    CopyArgument(buffer, text);
    CallFrame f(*this);
    if (f.Bound())
        CRSRpc_Proc7(f.Handle(), buffer, flag ? 1 : 0, f.StatusPtr());
}

GUID CCRSRPCServerProxy::Proc8(const CString& a, const CString& b)
{
    WCHAR bufferA[256] = {};
    WCHAR bufferB[256] = {};
    CopyArgument(bufferA, a);
    CopyArgument(bufferB, b);
    GUID guid{};
    CallFrame f(*this);
    if (f.Bound())
        CRSRpc_Proc8(f.Handle(), bufferA, bufferB, &guid, f.StatusPtr());
    m_lLastStatus = f.Status();
    if (f.Status() != 0)
        guid = GUID{};
    return guid;
}

BOOL CCRSRPCServerProxy::Proc9(const GUID& guid)
{
    CallFrame f(*this);
    const boolean r = f.Bound() ? CRSRpc_Proc9(f.Handle(), guid, f.StatusPtr()) : 0;
    m_lLastStatus = f.Status();
    return f.Status() == 0 && r != 0; // a failed call brought no answer
}

BOOL CCRSRPCServerProxy::Proc10(const GUID& guid)
{
    CallFrame f(*this);
    const boolean r = f.Bound() ? CRSRpc_Proc10(f.Handle(), guid, f.StatusPtr()) : 0;
    m_lLastStatus = f.Status();
    if (!f.Bound())
        return FALSE;
    return f.Status() != 0 || r != 0;
}

BOOL CCRSRPCServerProxy::Proc11(const GUID& guid)
{
    CallFrame f(*this);
    const boolean r = f.Bound() ? CRSRpc_Proc11(f.Handle(), guid, f.StatusPtr()) : 0;
    m_lLastStatus = f.Status();
    return f.Status() == 0 && r != 0;
}

BOOL CCRSRPCServerProxy::Proc12(const Proc12Data& data)
{
    CallFrame f(*this);
    const boolean r = f.Bound() ? CRSRpc_Proc12(f.Handle(), &data, f.StatusPtr()) : 0;
    return RuleA(f, r);
}

BOOL CCRSRPCServerProxy::StartContinuousVideoPurge(LONG recorderId, LONG days)
{
    CallFrame f(*this);
    const boolean r = f.Bound() ? CRSRpc_Proc13(f.Handle(), recorderId, days, f.StatusPtr()) : 0;
    return RuleB(f, r);
}

LONG CCRSRPCServerProxy::GetContinuousVideoPurgeState()
{
    CallFrame f(*this);
    if (!f.Bound())
        return E_FAIL;
    const LONG state = CRSRpc_Proc14(f.Handle(), f.StatusPtr());
    return f.Status() == 0 ? state : E_FAIL;
}

LONG CCRSRPCServerProxy::Proc15()
{
    CallFrame f(*this);
    if (!f.Bound())
        return E_UNEXPECTED;
    const LONG value = CRSRpc_Proc15(f.Handle(), f.StatusPtr());
    // A failed call brought no value: the failure itself is returned and kept.
    m_lLastStatus = f.Status() == 0 ? value : f.Status();
    return m_lLastStatus;
}
