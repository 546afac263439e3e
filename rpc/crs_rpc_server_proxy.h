#pragma once
// The client of one video recording server: remembers the selected server, binds to it
// on the first call, serialises its calls and wraps the sixteen procedures of the
// recording-server interface. No wrapper raises for an RPC failure; each turns the
// call's status into its result and, as its rule says, into the last status.
//
// Rule A (Proc0 to Proc3, Proc12): TRUE when bound, the status is 0 and the server
// answered true; the last status becomes 0 then, else the call's status; unbound, the
// last status is left alone.
// Rule B (StartVideoArchive, IsVideoArchiveRunning, StartContinuousVideoPurge): TRUE
// on the same condition, and the last status becomes the call's status (0x8001FFFF
// when unbound), so a caller can tell the server's "no" (last status 0) from a failure.

#include "platform/base/cstring.h"
#include "rpc/crs_rpc.h"
#include "rpc/rpc_proxy.h"
#include "rpc/rpc_server_info.h"

class CCRSRPCServerProxy : public LRpcProxy {
public:
    // The status a call starts from, kept when no call is made.
    static constexpr LONG kNotCalled = static_cast<LONG>(0x8001FFFFu);

    CCRSRPCServerProxy() = default;
    explicit CCRSRPCServerProxy(const CString& serverName);
    explicit CCRSRPCServerProxy(const CCRSRPCServerInfo& server);
    ~CCRSRPCServerProxy() override = default;

    // Selecting another server (by its trimmed, upper-cased name) drops the binding;
    // selecting the same one keeps it. Not to be called while another thread is inside
    // a wrapper of this proxy.
    void SelectServer(const CString& serverName);
    void SelectServer(const CCRSRPCServerInfo& server);
    CString GetServerName() const { return m_server.GetServerName(); }

    LONG LastStatus() const { return m_lLastStatus; }
    CString GetLastStatusText() const { return GetStatusText(m_lLastStatus); }
    static CString GetStatusText(LONG status);

    BOOL Proc0(const Proc0Data& data);
    BOOL Proc1(LONG a);
    BOOL Proc2(const Proc2Data& data);
    BOOL Proc3(LONG a, LONG b);
    // Starts archiving the event video older than `days`.
    BOOL StartVideoArchive(LONG days);
    // TRUE while the archive run goes on; FALSE with LastStatus() 0 when it finished.
    BOOL IsVideoArchiveRunning();
    void Proc6(LONG a);
    // The text travels as at most 255 UTF-16 units, cut before a character that would not
    // fit whole.
    void Proc7(CString text, bool flag);
    GUID Proc8(const CString& a, const CString& b);
    BOOL Proc9(const GUID& guid);
    BOOL Proc10(const GUID& guid);
    BOOL Proc11(const GUID& guid);
    BOOL Proc12(const Proc12Data& data);
    // Starts purging the recorder's continuous video older than `days`.
    BOOL StartContinuousVideoPurge(LONG recorderId, LONG days);
    // 0 while the purge runs, 1 when it finished well, another value when it failed;
    // E_FAIL when the call failed or no server is bound.
    LONG GetContinuousVideoPurgeState();
    LONG Proc15();

protected:
    LRpcBinding* Connect() override;
    RPC_IF_HANDLE GetInterfaceSpec() override;

private:
    class CallFrame;
    BOOL RuleA(const CallFrame& f, boolean result);
    BOOL RuleB(const CallFrame& f, boolean result);

    CCRSRPCServerInfo m_server;
    LONG m_lLastStatus = 0;
};
