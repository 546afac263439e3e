#pragma once
// Endpoint location: turns a server name into an RPC binding handle without asking any
// name service. The local computer is reached over the local protocol sequence; any
// other server over TCP, or first over named pipes when ACS.INI [Service] "UsePipes"
// is non-zero. Composing a binding contacts nobody, so the fall-back from one
// transport to the other happens only when a binding cannot be built at all (named
// pipes are not supported here, so "UsePipes" ends on TCP). An unreachable server shows
// in the status of the first call.

#include "platform/base/cstring.h"
#include "platform/base/object.h"
#include "platform/base/synch.h"
#include "platform/rpc/rpcdce.h"

class LRpcNsLocator : public CObject {
    DECLARE_DYNAMIC(LRpcNsLocator)
public:
    // Reads the use-pipes flag once, from ACS.INI [Service] "UsePipes" (default 0).
    LRpcNsLocator();
    ~LRpcNsLocator() override;
    LRpcNsLocator(const LRpcNsLocator&) = delete;
    LRpcNsLocator& operator=(const LRpcNsLocator&) = delete;

    // Sets *out to a new binding handle for the server (the caller frees it) and returns
    // TRUE, or leaves it null and returns FALSE when no composition worked. The interface
    // specification, entry name and last argument are accepted and not used.
    BOOL FindBinding(RPC_BINDING_HANDLE* out, RPC_IF_HANDLE ifSpec, const wchar_t* entryName,
        const wchar_t* serverName, int reserved);

    // The composing functions: TRUE when both the composition and the handle succeeded.
    BOOL BindLocal(RPC_BINDING_HANDLE* out, RPC_IF_HANDLE ifSpec, const wchar_t* entryName, const wchar_t* serverName,
        int reserved);
    BOOL BindTcp(RPC_BINDING_HANDLE* out, RPC_IF_HANDLE ifSpec, const wchar_t* entryName, const wchar_t* serverName,
        int reserved);
    BOOL BindPipe(RPC_BINDING_HANDLE* out, RPC_IF_HANDLE ifSpec, const wchar_t* entryName, const wchar_t* serverName,
        int reserved);

    int GetUsePipes() const { return m_nUsePipes; }

    virtual CString GetLocalEndpoint(const CString& serverName) = 0;
    virtual CString GetTcpEndpoint() = 0;
    virtual CString GetPipeEndpoint(const CString& serverName) = 0;

protected:
    int m_nUsePipes;
    CRITICAL_SECTION m_cs;

private:
    BOOL Compose(RPC_BINDING_HANDLE* out, const wchar_t* protseq, const wchar_t* networkAddress,
        const CString& endpoint);
};

// The recording server's endpoints: local "CRSServer_<NAME>", TCP the port of ACS.INI
// [Service] "VideoServerRpcPort" (default 4006, read at every call), named pipe
// "\pipe\CRSServer_<NAME>".
class CCRSRPCNsLocator : public LRpcNsLocator {
    DECLARE_DYNAMIC(CCRSRPCNsLocator)
public:
    CCRSRPCNsLocator() = default;

    CString GetLocalEndpoint(const CString& serverName) override;
    CString GetTcpEndpoint() override;
    CString GetPipeEndpoint(const CString& serverName) override;
};
