// The connection-oriented client against the recording server: connections, binds,
// fragments, faults, time-outs and broken servers.
#include <gtest/gtest.h>

#include <cstring>
#include <thread>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include "platform/rpc/binding.h"
#include "platform/rpc/rpcdce.h"
#include "platform/rpc/rpcndr.h"
#include "rpc/crs_rpc.h"
#include "tests/rpc/server/recording_server.h"
#include "tests/rpc/wire_bytes.h"

using namespace std::chrono_literals;
using zyn::rpctest::Answer;
using zyn::rpctest::BindPolicy;
using zyn::rpctest::RecordingServer;
using zyn::rpctest::ServerOptions;
using zyn::rpctest::WireBytes;

namespace {

class RpcClient : public ::testing::Test {
protected:
    void SetUp() override
    {
        zyn::rpc::SetDefaultTimeouts({2000, 2000});
        Start({});
    }
    void TearDown() override
    {
        for (auto& h : m_handles)
            if (h)
                RpcBindingFree(&h);
        if (m_server)
            m_server->Stop();
        zyn::rpc::SetDefaultTimeouts(zyn::rpc::kBuiltinTimeouts);
    }
    void Start(ServerOptions o)
    {
        if (m_server)
            m_server->Stop();
        m_server = std::make_unique<RecordingServer>(std::move(o));
        std::string err;
        ASSERT_TRUE(m_server->Start(&err)) << err;
    }
    RPC_BINDING_HANDLE Bind(const std::wstring& text)
    {
        RPC_BINDING_HANDLE h = nullptr;
        EXPECT_EQ(RpcBindingFromStringBindingW(const_cast<RPC_WSTR>(text.c_str()), &h), RPC_S_OK) << text.size();
        m_handles.push_back(h);
        return h;
    }
    std::wstring Tcp() const { return L"ncacn_ip_tcp:127.0.0.1[" + std::to_wstring(m_server->Port()) + L"]"; }
    RPC_BINDING_HANDLE TcpBinding() { return Bind(Tcp()); }

    std::unique_ptr<RecordingServer> m_server;
    std::vector<RPC_BINDING_HANDLE> m_handles;
};

const zyn::rpctest::Guid kServerGuid = {0x40, 0x30, 0x20, 0x10, 0x60, 0x50, 0x80, 0x70, 1, 2, 3, 4, 5, 6, 7, 8};
const GUID kServerGuidValue = {0x10203040, 0x5060, 0x7080, {1, 2, 3, 4, 5, 6, 7, 8}};

bool SameGuid(const GUID& a, const GUID& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

} // namespace

TEST_F(RpcClient, TwoCallsShareOneConnectionAndOneBind)
{
    const RPC_BINDING_HANDLE h = TcpBinding();
    error_status_t st = 99;
    EXPECT_EQ(CRSRpc_Proc4(h, 30, &st), 1);
    EXPECT_EQ(st, 0u);
    EXPECT_EQ(CRSRpc_Proc5(h, &st), 1);
    EXPECT_EQ(st, 0u);
    EXPECT_EQ(m_server->ConnectionsAccepted(), 1);
    EXPECT_EQ(m_server->Binds().size(), 1u);
    const auto calls = m_server->Calls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].opnum, 4);
    EXPECT_EQ(calls[0].longs, std::vector<int32_t>{30});
    EXPECT_EQ(calls[1].opnum, 5);
    EXPECT_EQ(calls[0].connection, calls[1].connection);
}

TEST_F(RpcClient, BindAndRequestOctetsAreTheHandComputedOnes)
{
    const RPC_BINDING_HANDLE h = TcpBinding();
    error_status_t st;
    ASSERT_EQ(CRSRpc_Proc13(h, 7, 45, &st), 1);
    ASSERT_EQ(st, 0u);
    ASSERT_EQ(m_server->Binds().size(), 1u);
    WireBytes bind;
    bind.Raw(0, {5, 0, 11, 3, 0x10, 0, 0, 0}).U16(8, 72).U32(12, 1);
    bind.U16(16, 5840).U16(18, 5840).U32(20, 0).U8(24, 1).U16(28, 0).U8(30, 1);
    bind.Raw(32, {0x21, 0xab, 0x45, 0xac, 0xbd, 0x93, 0xd3, 0x11, 0x99, 0xd4, 0x00, 0xc0, 0x4f, 0x27, 0xa5, 0xcd})
        .U16(48, 3)
        .U16(50, 0);
    bind.Raw(52, {0x04, 0x5d, 0x88, 0x8a, 0xeb, 0x1c, 0xc9, 0x11, 0x9f, 0xe8, 0x08, 0x00, 0x2b, 0x10, 0x48, 0x60})
        .U32(68, 2);
    EXPECT_EQ(m_server->Binds()[0], bind.Get());

    const auto calls = m_server->CallsOf(13);
    ASSERT_EQ(calls.size(), 1u);
    ASSERT_EQ(calls[0].pdus.size(), 1u);
    WireBytes req;
    req.Raw(0, {5, 0, 0, 3, 0x10, 0, 0, 0}).U16(8, 32).U32(12, 2);
    req.U32(16, 8).U16(20, 0).U16(22, 13).U32(24, 7).U32(28, 45);
    EXPECT_EQ(calls[0].pdus[0], req.Get());
}

TEST_F(RpcClient, EverySixteenProceduresRoundTrip)
{
    const RPC_BINDING_HANDLE h = TcpBinding();
    m_server->Script(8, {Answer::WithGuid(kServerGuid)});
    m_server->Script(14, {Answer::Long(0)});
    m_server->Script(15, {Answer::Long(-7)});
    m_server->Script(10, {Answer::Bool(false)});
    error_status_t st = 99;
    Proc0Data p0{};
    p0.f2 = 42;
    EXPECT_EQ(CRSRpc_Proc0(h, &p0, &st), 1);
    EXPECT_EQ(st, 0u);
    EXPECT_EQ(CRSRpc_Proc1(h, 1, &st), 1);
    Proc2Data p2{};
    EXPECT_EQ(CRSRpc_Proc2(h, &p2, &st), 1);
    EXPECT_EQ(CRSRpc_Proc3(h, 3, -3, &st), 1);
    EXPECT_EQ(CRSRpc_Proc4(h, 4, &st), 1);
    EXPECT_EQ(CRSRpc_Proc5(h, &st), 1);
    st = 99;
    CRSRpc_Proc6(h, 6, &st);
    EXPECT_EQ(st, 0u) << "procedures without a result tell only by the status";
    WCHAR text[256] = L"seven \U0001F600";
    st = 99;
    CRSRpc_Proc7(h, text, 1, &st);
    EXPECT_EQ(st, 0u);
    WCHAR a[256] = L"a", b[256] = L"b";
    GUID g{};
    EXPECT_EQ(CRSRpc_Proc8(h, a, b, &g, &st), 1);
    EXPECT_TRUE(SameGuid(g, kServerGuidValue)) << "the GUID goes in zeroed and comes back from the server";
    EXPECT_EQ(CRSRpc_Proc9(h, kServerGuidValue, &st), 1);
    EXPECT_EQ(CRSRpc_Proc10(h, kServerGuidValue, &st), 0);
    EXPECT_EQ(st, 0u);
    EXPECT_EQ(CRSRpc_Proc11(h, kServerGuidValue, &st), 1);
    Proc12Data p12{};
    EXPECT_EQ(CRSRpc_Proc12(h, &p12, &st), 1);
    EXPECT_EQ(CRSRpc_Proc13(h, 13, 31, &st), 1);
    EXPECT_EQ(CRSRpc_Proc14(h, &st), 0);
    EXPECT_EQ(CRSRpc_Proc15(h, &st), -7);
    EXPECT_EQ(st, 0u);

    const auto calls = m_server->Calls();
    ASSERT_EQ(calls.size(), 16u);
    for (uint16_t i = 0; i < 16; ++i) {
        EXPECT_EQ(calls[i].opnum, i);
        EXPECT_TRUE(calls[i].decoded) << "procedure " << i << ": " << calls[i].error;
    }
    EXPECT_EQ(calls[0].longs[0], 42);
    EXPECT_EQ(calls[7].strings[0], u"seven \xD83D\xDE00");
    EXPECT_EQ(calls[7].flag, 1);
    EXPECT_EQ(calls[8].strings, (std::vector<std::u16string>{u"a", u"b"}));
    EXPECT_EQ(calls[8].guid, zyn::rpctest::Guid{}) << "procedure 8 sends the caller's zeroed GUID";
    EXPECT_EQ(calls[9].guid, kServerGuid);
    EXPECT_EQ(calls[13].longs, (std::vector<int32_t>{13, 31}));
    EXPECT_EQ(m_server->ConnectionsAccepted(), 1);
}

TEST_F(RpcClient, NullReferencesAndBadHandlesFailWithoutSending)
{
    const RPC_BINDING_HANDLE h = TcpBinding();
    error_status_t st = 0;
    EXPECT_EQ(CRSRpc_Proc0(h, nullptr, &st), 0);
    EXPECT_EQ(st, static_cast<error_status_t>(RPC_X_NULL_REF_POINTER));
    CRSRpc_Proc2(h, nullptr, &st);
    EXPECT_EQ(st, static_cast<error_status_t>(RPC_X_NULL_REF_POINTER));
    CRSRpc_Proc12(h, nullptr, &st);
    EXPECT_EQ(st, static_cast<error_status_t>(RPC_X_NULL_REF_POINTER));
    WCHAR a[256] = L"a";
    CRSRpc_Proc8(h, a, a, nullptr, &st);
    EXPECT_EQ(st, static_cast<error_status_t>(RPC_X_NULL_REF_POINTER));
    EXPECT_EQ(m_server->ConnectionsAccepted(), 0) << "nothing is sent for a refused argument";
    WCHAR tooLong[256];
    for (auto& c : tooLong)
        c = L'x';
    CRSRpc_Proc7(h, tooLong, 0, &st);
    EXPECT_EQ(st, static_cast<error_status_t>(RPC_X_INVALID_BOUND));
    CRSRpc_Proc5(reinterpret_cast<handle_t>(0x4321), &st);
    EXPECT_EQ(st, static_cast<error_status_t>(RPC_S_INVALID_BINDING));
    CRSRpc_Proc5(nullptr, &st);
    EXPECT_EQ(st, static_cast<error_status_t>(RPC_S_INVALID_BINDING));
}

TEST_F(RpcClient, ClosedPortGivesServerUnavailable)
{
    const uint16_t port = m_server->Port();
    m_server->Stop();
    const RPC_BINDING_HANDLE h = Bind(L"ncacn_ip_tcp:127.0.0.1[" + std::to_wstring(port) + L"]");
    error_status_t st = 0;
    EXPECT_EQ(CRSRpc_Proc5(h, &st), 0);
    EXPECT_EQ(st, static_cast<error_status_t>(RPC_S_SERVER_UNAVAILABLE));
    EXPECT_EQ(CRSRpc_Proc14(h, &st), 0);
    EXPECT_EQ(st, static_cast<error_status_t>(RPC_S_SERVER_UNAVAILABLE));
}

TEST_F(RpcClient, BadEndpointsAreReportedAtTheCall)
{
    error_status_t st = 0;
    CRSRpc_Proc5(Bind(L"ncacn_ip_tcp:127.0.0.1[abc]"), &st);
    EXPECT_EQ(st, static_cast<error_status_t>(RPC_S_INVALID_ENDPOINT_FORMAT));
    CRSRpc_Proc5(Bind(L"ncacn_ip_tcp:127.0.0.1[0]"), &st);
    EXPECT_EQ(st, static_cast<error_status_t>(RPC_S_INVALID_ENDPOINT_FORMAT));
    CRSRpc_Proc5(Bind(L"ncacn_ip_tcp:127.0.0.1[65536]"), &st);
    EXPECT_EQ(st, static_cast<error_status_t>(RPC_S_INVALID_ENDPOINT_FORMAT));
    CRSRpc_Proc5(Bind(L"ncacn_ip_tcp:127.0.0.1"), &st);
    EXPECT_EQ(st, static_cast<error_status_t>(RPC_S_NO_ENDPOINT_FOUND));
    CRSRpc_Proc5(Bind(L"ncalrpc:[..]"), &st);
    EXPECT_EQ(st, static_cast<error_status_t>(RPC_S_INVALID_ENDPOINT_FORMAT));
    CRSRpc_Proc5(Bind(L"ncalrpc:[" + std::wstring(120, L'e') + L"]"), &st);
    EXPECT_EQ(st, static_cast<error_status_t>(RPC_S_INVALID_ENDPOINT_FORMAT));
}

TEST_F(RpcClient, ServerDroppingMidCallGivesCallFailedAndTheNextCallReconnects)
{
    const RPC_BINDING_HANDLE h = TcpBinding();
    m_server->Script(5, {Answer::DropCall(), Answer::Bool(false)});
    error_status_t st = 0;
    EXPECT_EQ(CRSRpc_Proc5(h, &st), 0);
    EXPECT_EQ(st, static_cast<error_status_t>(RPC_S_CALL_FAILED));
    EXPECT_EQ(CRSRpc_Proc5(h, &st), 0);
    EXPECT_EQ(st, 0u);
    EXPECT_EQ(m_server->ConnectionsAccepted(), 2);
}

TEST_F(RpcClient, HungServerEndsTheCallAtTheReceiveTimeout)
{
    const RPC_BINDING_HANDLE h = TcpBinding();
    ASSERT_EQ(RpcBindingSetOption(h, RPC_C_OPT_CALL_TIMEOUT, 200), RPC_S_OK);
    m_server->Script(14, {Answer::HangForever(), Answer::Long(1)});
    error_status_t st = 0;
    const auto t0 = std::chrono::steady_clock::now();
    EXPECT_EQ(CRSRpc_Proc14(h, &st), 0);
    const auto took = std::chrono::steady_clock::now() - t0;
    EXPECT_EQ(st, static_cast<error_status_t>(RPC_S_CALL_FAILED));
    EXPECT_GE(took, 190ms);
    EXPECT_LT(took, 1500ms);
    EXPECT_EQ(CRSRpc_Proc14(h, &st), 1) << "the hung connection is dropped; a new one works";
    EXPECT_EQ(st, 0u);
}

TEST_F(RpcClient, AShorterTimeoutOnAReusedConnectionIsKept)
{
    // The connection waited up to 2 s for its last call; the next call allows 200 ms.
    const RPC_BINDING_HANDLE h = TcpBinding();
    ASSERT_EQ(RpcBindingSetOption(h, RPC_C_OPT_CALL_TIMEOUT, 2000), RPC_S_OK);
    m_server->Script(14, {Answer::Long(1), Answer::HangForever(), Answer::Long(2)});
    error_status_t st = 0;
    EXPECT_EQ(CRSRpc_Proc14(h, &st), 1);
    ASSERT_EQ(RpcBindingSetOption(h, RPC_C_OPT_CALL_TIMEOUT, 200), RPC_S_OK);
    const auto t0 = std::chrono::steady_clock::now();
    CRSRpc_Proc14(h, &st);
    const auto took = std::chrono::steady_clock::now() - t0;
    EXPECT_EQ(st, static_cast<error_status_t>(RPC_S_CALL_FAILED));
    EXPECT_GE(took, 190ms);
    EXPECT_LT(took, 1500ms);
}

TEST_F(RpcClient, SlowAnswerWithinTheTimeoutSucceeds)
{
    const RPC_BINDING_HANDLE h = TcpBinding();
    ASSERT_EQ(RpcBindingSetOption(h, RPC_C_OPT_CALL_TIMEOUT, 1000), RPC_S_OK);
    m_server->Script(4, {Answer::Bool(true).After(100ms)});
    error_status_t st = 1;
    EXPECT_EQ(CRSRpc_Proc4(h, 1, &st), 1);
    EXPECT_EQ(st, 0u);
}

TEST_F(RpcClient, FaultsBecomeStatusesAndKeepTheConnection)
{
    const RPC_BINDING_HANDLE h = TcpBinding();
    m_server->Script(5, {Answer::FaultWith(0x1c010002), Answer::FaultWith(0xC0000005),
                            Answer::FaultWith(0x1c000012, 0x20), Answer::Bool(true)});
    error_status_t st = 0;
    CRSRpc_Proc5(h, &st);
    EXPECT_EQ(st, static_cast<error_status_t>(RPC_S_PROCNUM_OUT_OF_RANGE));
    CRSRpc_Proc5(h, &st);
    EXPECT_EQ(st, 0xC0000005u);
    CRSRpc_Proc5(h, &st);
    EXPECT_EQ(st, static_cast<error_status_t>(RPC_S_CALL_FAILED));
    EXPECT_EQ(CRSRpc_Proc5(h, &st), 1);
    EXPECT_EQ(st, 0u);
    EXPECT_EQ(m_server->ConnectionsAccepted(), 1);
}

TEST_F(RpcClient, ShortReplyIsBadStubDataAndLeavesOutValuesAlone)
{
    const RPC_BINDING_HANDLE h = TcpBinding();
    m_server->Script(8, {Answer::ShortReply()});
    m_server->Script(14, {Answer::ShortReply()});
    WCHAR a[256] = L"a";
    GUID g{};
    error_status_t st = 0;
    EXPECT_EQ(CRSRpc_Proc8(h, a, a, &g, &st), 0);
    EXPECT_EQ(st, static_cast<error_status_t>(RPC_X_BAD_STUB_DATA));
    EXPECT_TRUE(SameGuid(g, GUID{})) << "a reply that does not decode whole writes nothing";
    EXPECT_EQ(CRSRpc_Proc14(h, &st), 0);
    EXPECT_EQ(st, static_cast<error_status_t>(RPC_X_BAD_STUB_DATA));
}

TEST_F(RpcClient, RefusedBindsMapToStatuses)
{
    const struct {
        BindPolicy policy;
        RPC_STATUS status;
    } cases[] = {
        {{BindPolicy::Kind::Nak, 0}, RPC_S_CALL_FAILED_DNE},
        {{BindPolicy::Kind::Nak, 1}, RPC_S_SERVER_TOO_BUSY},
        {{BindPolicy::Kind::RejectContext, 1}, RPC_S_UNKNOWN_IF},
        {{BindPolicy::Kind::RejectContext, 2}, RPC_S_UNSUPPORTED_TRANS_SYN},
        {{BindPolicy::Kind::Drop, 0}, RPC_S_SERVER_UNAVAILABLE},
    };
    const RPC_BINDING_HANDLE h = TcpBinding();
    for (const auto& c : cases) {
        m_server->SetBindPolicy(c.policy);
        error_status_t st = 0;
        EXPECT_EQ(CRSRpc_Proc4(h, 1, &st), 0);
        EXPECT_EQ(st, static_cast<error_status_t>(c.status));
    }
    EXPECT_TRUE(m_server->Calls().empty()) << "no request follows a refused bind";
    m_server->SetBindPolicy({});
    error_status_t st = 1;
    EXPECT_EQ(CRSRpc_Proc4(h, 1, &st), 1);
    EXPECT_EQ(st, 0u);
}

TEST_F(RpcClient, RequestsAreFragmentedToTheServersReceiveSize)
{
    ServerOptions o;
    o.bind.maxRecvFrag = 256;
    Start(o);
    const RPC_BINDING_HANDLE h = TcpBinding();
    Proc0Data d{};
    d.f19 = 1919;
    error_status_t st = 1;
    EXPECT_EQ(CRSRpc_Proc0(h, &d, &st), 1);
    EXPECT_EQ(st, 0u);
    const auto calls = m_server->CallsOf(0);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_TRUE(calls[0].decoded) << calls[0].error;
    EXPECT_EQ(calls[0].longs.back(), 1919);
    EXPECT_EQ(calls[0].pdus.size(), 10u) << "2176 octets in pieces of 232 (256 - 24): nine and a last of 88";
    for (const auto& p : calls[0].pdus)
        EXPECT_LE(p.size(), 256u);
}

TEST_F(RpcClient, FragmentedAndBigEndianRepliesAreReassembled)
{
    const RPC_BINDING_HANDLE h = TcpBinding();
    Answer frag = Answer::WithGuid(kServerGuid);
    frag.fragmentStub = 1; // seventeen one-octet fragments
    Answer big = Answer::WithGuid(kServerGuid);
    big.bigEndian = true;
    big.fragmentStub = 5;
    m_server->Script(8, {frag, big});
    Answer bigLong = Answer::Long(0x01020304);
    bigLong.bigEndian = true;
    m_server->Script(15, {bigLong});
    WCHAR a[256] = L"a";
    for (int i = 0; i < 2; ++i) {
        GUID g{};
        error_status_t st = 1;
        EXPECT_EQ(CRSRpc_Proc8(h, a, a, &g, &st), 1);
        EXPECT_EQ(st, 0u);
        EXPECT_TRUE(SameGuid(g, kServerGuidValue)) << i;
    }
    error_status_t st = 1;
    EXPECT_EQ(CRSRpc_Proc15(h, &st), 0x01020304);
    EXPECT_EQ(st, 0u);
    EXPECT_EQ(m_server->ConnectionsAccepted(), 1);
}

TEST_F(RpcClient, GarbageRepliesAreProtocolErrorsAndDropTheConnection)
{
    const RPC_BINDING_HANDLE h = TcpBinding();
    WireBytes wrongCall;
    wrongCall.Raw(0, {5, 0, 2, 3, 0x10, 0, 0, 0}).U16(8, 25).U32(12, 77).U32(16, 1).U8(24, 1);
    WireBytes notFirst = wrongCall;
    notFirst.U32(12, 2).U8(3, 2); // the call asked, but no first-fragment flag
    m_server->Script(5, {Answer::RawBytes({0xde, 0xad, 0xbe, 0xef, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}),
                            Answer::RawBytes(wrongCall.Get()), Answer::RawBytes(notFirst.Get()), Answer::Bool(true)});
    error_status_t st = 0;
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(CRSRpc_Proc5(h, &st), 0);
        EXPECT_EQ(st, static_cast<error_status_t>(RPC_S_PROTOCOL_ERROR)) << i;
    }
    EXPECT_EQ(CRSRpc_Proc5(h, &st), 1);
    EXPECT_EQ(st, 0u);
    EXPECT_EQ(m_server->ConnectionsAccepted(), 4) << "a connection that went wrong is never reused";
}

TEST_F(RpcClient, ServerRestartBetweenCallsIsNoticedBeforeSending)
{
    const RPC_BINDING_HANDLE h = TcpBinding();
    error_status_t st = 1;
    EXPECT_EQ(CRSRpc_Proc4(h, 1, &st), 1);
    m_server->DropConnections();
    std::this_thread::sleep_for(20ms);
    EXPECT_EQ(CRSRpc_Proc4(h, 2, &st), 1);
    EXPECT_EQ(st, 0u) << "the idle connection closed by the server is replaced, not used";
    EXPECT_EQ(m_server->ConnectionsAccepted(), 2);
}

TEST_F(RpcClient, LocalEndpointInTheRuntimeFolder)
{
    ServerOptions o;
    o.listenTcp = false;
    o.localEndpoint = "CRSServer_LOCALTEST";
    Start(o);
    EXPECT_EQ(m_server->LocalPath(), std::string(std::getenv("XDG_RUNTIME_DIR")) + "/CRSServer_LOCALTEST");
    error_status_t st = 1;
    EXPECT_EQ(CRSRpc_Proc13(Bind(L"ncalrpc:[CRSServer_LOCALTEST]"), 2, 3, &st), 1);
    EXPECT_EQ(st, 0u);
    CRSRpc_Proc5(Bind(L"ncalrpc:[CRSServer_NOBODY]"), &st);
    EXPECT_EQ(st, static_cast<error_status_t>(RPC_S_SERVER_UNAVAILABLE));
}

TEST_F(RpcClient, ThreadsSharingOneBindingUseSeparateConnections)
{
    const RPC_BINDING_HANDLE h = TcpBinding();
    m_server->Script(4, {Answer::Bool(true).After(150ms)});
    error_status_t s1 = 1, s2 = 1;
    std::thread t1([&] { CRSRpc_Proc4(h, 1, &s1); });
    std::thread t2([&] { CRSRpc_Proc4(h, 2, &s2); });
    t1.join();
    t2.join();
    EXPECT_EQ(s1, 0u);
    EXPECT_EQ(s2, 0u);
    EXPECT_EQ(m_server->MaxConcurrentCalls(), 2);
    EXPECT_EQ(m_server->ConnectionsAccepted(), 2);
}

TEST_F(RpcClient, ServerAcceptsOnlyItsInterfaceAndTransferSyntax)
{
    const auto& crs = *static_cast<const RPC_CLIENT_INTERFACE*>(CRSRpc_v3_0_c_ifspec);
    RPC_CLIENT_INTERFACE otherVersion = crs;
    otherVersion.InterfaceId.SyntaxVersion.MajorVersion = 2;
    RPC_CLIENT_INTERFACE otherSyntax = crs;
    otherSyntax.TransferSyntax.SyntaxGUID.Data1 ^= 1;
    const RPC_BINDING_HANDLE h = TcpBinding();
    boolean r = 0;
    void* args[] = {&r};
    EXPECT_EQ(zyn::rpc::ClientCall(&otherVersion, 5, h, args), RPC_S_UNKNOWN_IF);
    EXPECT_EQ(zyn::rpc::ClientCall(&otherSyntax, 5, h, args), RPC_S_UNSUPPORTED_TRANS_SYN);
    EXPECT_EQ(zyn::rpc::ClientCall(const_cast<RPC_CLIENT_INTERFACE*>(&crs), 16, h, args), RPC_S_PROCNUM_OUT_OF_RANGE);
    EXPECT_EQ(zyn::rpc::ClientCall(nullptr, 5, h, args), RPC_S_UNKNOWN_IF);
    EXPECT_EQ(zyn::rpc::ClientCall(const_cast<RPC_CLIENT_INTERFACE*>(&crs), 5, h, args), RPC_S_OK);
    EXPECT_EQ(r, 1);
}

TEST_F(RpcClient, ObjectUuidTravelsInEveryRequest)
{
    const RPC_BINDING_HANDLE h =
        Bind(L"6d3b5a10-0102-4304-8506-00c04f27a5cd@ncacn_ip_tcp:127.0.0.1[" + std::to_wstring(m_server->Port()) + L"]");
    error_status_t st = 1;
    EXPECT_EQ(CRSRpc_Proc4(h, 9, &st), 1);
    EXPECT_EQ(st, 0u);
    const auto calls = m_server->CallsOf(4);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_TRUE(calls[0].decoded) << calls[0].error;
    const auto& pdu = calls[0].pdus.at(0);
    ASSERT_EQ(pdu.size(), 44u);
    EXPECT_EQ(pdu[3], 0x83);
    EXPECT_EQ(std::vector<uint8_t>(pdu.begin() + 24, pdu.begin() + 28), (std::vector<uint8_t>{0x10, 0x5a, 0x3b, 0x6d}));
}

TEST_F(RpcClient, ServerThatNeverAnswersTheBindTimesOutAsUnavailable)
{
    // A listener that never accepts: the kernel completes the connection, nobody answers.
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof a;
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a), 0);
    ASSERT_EQ(::listen(fd, 8), 0);
    ASSERT_EQ(::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len), 0);
    const RPC_BINDING_HANDLE h = Bind(L"ncacn_ip_tcp:127.0.0.1[" + std::to_wstring(ntohs(a.sin_port)) + L"]");
    ASSERT_EQ(RpcBindingSetOption(h, RPC_C_OPT_CONNECT_TIMEOUT, 200), RPC_S_OK);
    error_status_t st = 0;
    const auto t0 = std::chrono::steady_clock::now();
    CRSRpc_Proc5(h, &st);
    const auto took = std::chrono::steady_clock::now() - t0;
    EXPECT_EQ(st, static_cast<error_status_t>(RPC_S_SERVER_UNAVAILABLE));
    EXPECT_GE(took, 190ms);
    EXPECT_LT(took, 1500ms);
    ::close(fd);
}

TEST_F(RpcClient, ResetClosesIdleConnections)
{
    const RPC_BINDING_HANDLE h = TcpBinding();
    error_status_t st = 1;
    CRSRpc_Proc5(h, &st);
    ASSERT_EQ(RpcBindingReset(h), RPC_S_OK);
    CRSRpc_Proc5(h, &st);
    EXPECT_EQ(st, 0u);
    EXPECT_EQ(m_server->ConnectionsAccepted(), 2);
    EXPECT_EQ(RpcBindingReset(reinterpret_cast<RPC_BINDING_HANDLE>(0x77)), RPC_S_INVALID_BINDING);
}
