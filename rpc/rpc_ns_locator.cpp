#include "rpc/rpc_ns_locator.h"

#include "platform/base/environment.h"
#include "platform/base/inifile.h"

IMPLEMENT_DYNAMIC(LRpcNsLocator, CObject)
IMPLEMENT_DYNAMIC(CCRSRPCNsLocator, LRpcNsLocator)

namespace {

constexpr const wchar_t* kIniFile = L"ACS.INI";
constexpr const wchar_t* kServiceSection = L"Service";

// Holds a critical section for a scope, whatever leaves it.
class SectionLock {
public:
    explicit SectionLock(CRITICAL_SECTION& cs) : m_cs(cs) { EnterCriticalSection(&m_cs); }
    ~SectionLock() { LeaveCriticalSection(&m_cs); }
    SectionLock(const SectionLock&) = delete;
    SectionLock& operator=(const SectionLock&) = delete;

private:
    CRITICAL_SECTION& m_cs;
};

CString LocalComputerName()
{
    WCHAR name[256] = {};
    DWORD size = 256;
    if (!GetComputerNameW(name, &size))
        return CString();
    return CString(name, static_cast<int>(size));
}

} // namespace

LRpcNsLocator::LRpcNsLocator()
    : m_nUsePipes(static_cast<int>(GetPrivateProfileIntW(kServiceSection, L"UsePipes", 0, kIniFile)))
{
    InitializeCriticalSection(&m_cs);
}

LRpcNsLocator::~LRpcNsLocator() { DeleteCriticalSection(&m_cs); }

BOOL LRpcNsLocator::FindBinding(RPC_BINDING_HANDLE* out, RPC_IF_HANDLE ifSpec, const wchar_t* entryName,
    const wchar_t* serverName, int reserved)
{
    if (!out)
        return FALSE;
    *out = nullptr;
    SectionLock lock(m_cs);
    const CString server(serverName);
    const CString computer = LocalComputerName();
    // A computer name that could not be read never matches, so such a failure cannot
    // send a remote server's calls to the local endpoint.
    if (!computer.IsEmpty() && server == computer) {
        BindLocal(out, ifSpec, entryName, serverName, reserved);
    } else if (m_nUsePipes != 0) {
        if (!BindPipe(out, ifSpec, entryName, serverName, reserved))
            BindTcp(out, ifSpec, entryName, serverName, reserved);
    } else {
        if (!BindTcp(out, ifSpec, entryName, serverName, reserved))
            BindPipe(out, ifSpec, entryName, serverName, reserved);
    }
    return *out != nullptr;
}

BOOL LRpcNsLocator::Compose(RPC_BINDING_HANDLE* out, const wchar_t* protseq, const wchar_t* networkAddress,
    const CString& endpoint)
{
    RPC_WSTR binding = nullptr;
    RPC_STATUS st = RpcStringBindingComposeW(nullptr, const_cast<RPC_WSTR>(protseq),
        const_cast<RPC_WSTR>(networkAddress), const_cast<RPC_WSTR>(endpoint.GetString()), nullptr, &binding);
    if (st == RPC_S_OK) {
        st = RpcBindingFromStringBindingW(binding, out);
        RpcStringFreeW(&binding);
    }
    return st == RPC_S_OK;
}

BOOL LRpcNsLocator::BindLocal(RPC_BINDING_HANDLE* out, RPC_IF_HANDLE, const wchar_t*, const wchar_t* serverName, int)
{
    if (!out)
        return FALSE;
    return Compose(out, L"ncalrpc", nullptr, GetLocalEndpoint(CString(serverName)));
}

BOOL LRpcNsLocator::BindTcp(RPC_BINDING_HANDLE* out, RPC_IF_HANDLE, const wchar_t*, const wchar_t* serverName, int)
{
    if (!out)
        return FALSE;
    return Compose(out, L"ncacn_ip_tcp", serverName, GetTcpEndpoint());
}

BOOL LRpcNsLocator::BindPipe(RPC_BINDING_HANDLE* out, RPC_IF_HANDLE, const wchar_t*, const wchar_t* serverName, int)
{
    if (!out)
        return FALSE;
    return Compose(out, L"ncacn_np", serverName, GetPipeEndpoint(CString(serverName)));
}

CString CCRSRPCNsLocator::GetLocalEndpoint(const CString& serverName)
{
    CString s;
    s.Format(L"CRSServer_%s", serverName.GetString());
    return s;
}

CString CCRSRPCNsLocator::GetTcpEndpoint()
{
    // Read at every call; a value that is not a number reads as 0 and is passed on as
    // it is, so the call then reports the bad endpoint.
    const int port = static_cast<int>(GetPrivateProfileIntW(kServiceSection, L"VideoServerRpcPort", 4006, kIniFile));
    CString s;
    s.Format(L"%d", port);
    return s;
}

CString CCRSRPCNsLocator::GetPipeEndpoint(const CString& serverName)
{
    CString s;
    s.Format(L"\\pipe\\CRSServer_%s", serverName.GetString());
    return s;
}
