// The recording-server proxy against the loopback recording server.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <thread>
#include <type_traits>

#include "platform/base/environment.h"
#include "platform/base/utf16.h"
#include "platform/rpc/binding.h"
#include "rpc/crs_rpc_server_proxy.h"
#include "rpc/rpc_binding.h"
#include "tests/rpc/acs_ini.h"
#include "tests/rpc/server/recording_server.h"

using namespace std::chrono_literals;
using zyn::rpctest::Answer;
using zyn::rpctest::RecordingServer;
using zyn::rpctest::ServerOptions;

namespace {

constexpr LONG kNotCalled = static_cast<LONG>(0x8001FFFFu);

class RpcProxy : public ::testing::Test {
protected:
    void SetUp() override
    {
        zyn::rpctest::RemoveAcsIni();
        zyn::rpc::SetDefaultTimeouts({2000, 2000});
        std::string err;
        ASSERT_TRUE(m_server.Start(&err)) << err;
        zyn::rpctest::SetService(L"VideoServerRpcPort", std::to_wstring(m_server.Port()));
    }
    void TearDown() override
    {
        m_server.Stop();
        zyn::rpc::SetDefaultTimeouts(zyn::rpc::kBuiltinTimeouts);
        zyn::rpctest::RemoveAcsIni();
    }

    RecordingServer m_server;
};

} // namespace

namespace {

// A server description that counts its own destructions.
class CountingServerInfo : public CCRSRPCServerInfo {
public:
    CountingServerInfo(const CString& name, int& destroyed) : CCRSRPCServerInfo(name), m_destroyed(destroyed) {}
    ~CountingServerInfo() override { ++m_destroyed; }

private:
    int& m_destroyed;
};

} // namespace

TEST_F(RpcProxy, ObjectsDeletedThroughTheirBasesReleaseWhatTheyHold)
{
    static_assert(std::has_virtual_destructor_v<LRpcProxy>);
    static_assert(std::has_virtual_destructor_v<CRPCServerInfo>);

    int destroyed = 0;
    std::unique_ptr<CRPCServerInfo> info = std::make_unique<CountingServerInfo>(CString(L"srv"), destroyed);
    EXPECT_EQ(info->GetObjectName(), L"SRVCRSSERVER");
    info.reset();
    EXPECT_EQ(destroyed, 1) << "the derived part of a description deleted through its base";

    // A proxy deleted through its base frees its binding handle, and with it the
    // connection the server holds open.
    std::unique_ptr<LRpcProxy> proxy = std::make_unique<CCRSRPCServerProxy>(CString(L"127.0.0.1"));
    ASSERT_TRUE(static_cast<CCRSRPCServerProxy&>(*proxy).Proc1(1));
    ASSERT_NE(proxy->GetBinding(), nullptr);
    const RPC_BINDING_HANDLE held = proxy->GetBinding()->GetHandle();
    RPC_WSTR text = nullptr;
    ASSERT_EQ(RpcBindingToStringBindingW(held, &text), RPC_S_OK);
    RpcStringFreeW(&text);
    EXPECT_EQ(m_server.ConnectionsEnded(), 0);
    proxy.reset();
    EXPECT_EQ(RpcBindingToStringBindingW(held, &text), RPC_S_INVALID_BINDING) << "the proxy's handle is freed";
    const auto until = std::chrono::steady_clock::now() + 5s;
    while (m_server.ConnectionsEnded() == 0 && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(5ms);
    EXPECT_EQ(m_server.ConnectionsEnded(), 1) << "the server saw the connection close";
    EXPECT_EQ(m_server.ConnectionsAccepted(), 1);
}

TEST(RpcProxyStatusText, TableAndUnsignedDecimalForTheRest)
{
    EXPECT_EQ(CCRSRPCServerProxy::GetStatusText(0), L"The call has completed successfully.");
    EXPECT_EQ(CCRSRPCServerProxy::GetStatusText(1722), L"RPC Server Unavailable.");
    EXPECT_EQ(CCRSRPCServerProxy::GetStatusText(1726), L"The remote procedure call failed.");
    EXPECT_EQ(CCRSRPCServerProxy::GetStatusText(1727), L"The remote procedure call failed and did not execute.");
    EXPECT_EQ(CCRSRPCServerProxy::GetStatusText(static_cast<LONG>(0xC0000005u)), L"Access Violation.");
    EXPECT_EQ(CCRSRPCServerProxy::GetStatusText(kNotCalled), L"2147614719");
    EXPECT_EQ(CCRSRPCServerProxy::GetStatusText(1783), L"1783");
    EXPECT_EQ(CCRSRPCServerProxy::GetStatusText(-1), L"4294967295");
}

TEST_F(RpcProxy, TwoCallsConnectOnceAndReuseTheBinding)
{
    CCRSRPCServerProxy proxy;
    proxy.SelectServer(L"127.0.0.1");
    EXPECT_EQ(proxy.GetServerName(), L"127.0.0.1");
    EXPECT_TRUE(proxy.StartVideoArchive(30));
    EXPECT_TRUE(proxy.IsVideoArchiveRunning());
    EXPECT_EQ(m_server.ConnectionsAccepted(), 1);
    EXPECT_EQ(m_server.Binds().size(), 1u);
    EXPECT_EQ(m_server.CallsOf(4).at(0).longs, std::vector<int32_t>{30});
}

TEST_F(RpcProxy, SelectingTheSameServerKeepsTheBindingAnotherDropsIt)
{
    CCRSRPCServerProxy proxy(CString(L"localhost"));
    EXPECT_EQ(proxy.GetServerName(), L"LOCALHOST");
    ASSERT_TRUE(proxy.Proc1(1)) << proxy.GetLastStatusText().GetString();
    proxy.SelectServer(L"localhost ");
    EXPECT_TRUE(proxy.Proc1(2));
    EXPECT_EQ(m_server.ConnectionsAccepted(), 1) << "same server: the binding is kept";
    proxy.SelectServer(L"127.0.0.1");
    EXPECT_EQ(proxy.GetServerName(), L"127.0.0.1");
    EXPECT_TRUE(proxy.Proc1(3));
    EXPECT_EQ(m_server.ConnectionsAccepted(), 2) << "another server: bound anew";
    proxy.SelectServer(CCRSRPCServerInfo(L"127.0.0.1"));
    EXPECT_TRUE(proxy.Proc1(4));
    EXPECT_EQ(m_server.ConnectionsAccepted(), 2);
}

TEST_F(RpcProxy, RuleAResultsAndLastStatus)
{
    CCRSRPCServerProxy proxy(CString(L"127.0.0.1"));
    m_server.Script(1, {Answer::Bool(true), Answer::Bool(false), Answer::FaultWith(0xC0000005), Answer::Bool(true)});
    EXPECT_TRUE(proxy.Proc1(1));
    EXPECT_EQ(proxy.LastStatus(), 0);
    EXPECT_EQ(proxy.GetLastStatusText(), L"The call has completed successfully.");
    EXPECT_FALSE(proxy.Proc1(1)) << "the server's false";
    EXPECT_EQ(proxy.LastStatus(), 0);
    EXPECT_FALSE(proxy.Proc1(1));
    EXPECT_EQ(proxy.LastStatus(), static_cast<LONG>(0xC0000005u));
    EXPECT_EQ(proxy.GetLastStatusText(), L"Access Violation.");
    EXPECT_TRUE(proxy.Proc1(1));
    EXPECT_EQ(proxy.LastStatus(), 0);
    Proc0Data p0{};
    Proc2Data p2{};
    Proc12Data p12{};
    EXPECT_TRUE(proxy.Proc0(p0));
    EXPECT_TRUE(proxy.Proc2(p2));
    EXPECT_TRUE(proxy.Proc3(3, 4));
    EXPECT_TRUE(proxy.Proc12(p12));
    for (uint16_t op : {0, 2, 3, 12})
        EXPECT_TRUE(m_server.CallsOf(op).at(0).decoded) << op;
}

TEST_F(RpcProxy, RuleBRecordsTheStatusSoAFailureIsNotAFinish)
{
    CCRSRPCServerProxy proxy(CString(L"127.0.0.1"));
    m_server.Script(5, {Answer::Bool(false), Answer::FaultWith(0x1c000012)});
    EXPECT_FALSE(proxy.IsVideoArchiveRunning());
    EXPECT_EQ(proxy.LastStatus(), 0) << "the server says the run is over";
    EXPECT_FALSE(proxy.IsVideoArchiveRunning());
    EXPECT_EQ(proxy.LastStatus(), 1726) << "the poll failed: nothing is known about the run";
    m_server.Stop();
    EXPECT_FALSE(proxy.StartVideoArchive(10));
    EXPECT_EQ(proxy.LastStatus(), 1722);
    EXPECT_FALSE(proxy.StartContinuousVideoPurge(1, 10));
    EXPECT_EQ(proxy.GetLastStatusText(), L"RPC Server Unavailable.");
}

TEST_F(RpcProxy, ClosedPortGivesServerUnavailable)
{
    const uint16_t port = m_server.Port();
    m_server.Stop();
    zyn::rpctest::SetService(L"VideoServerRpcPort", std::to_wstring(port));
    CCRSRPCServerProxy proxy(CString(L"127.0.0.1"));
    EXPECT_FALSE(proxy.Proc3(1, 2));
    EXPECT_EQ(proxy.LastStatus(), 1722);
    EXPECT_EQ(proxy.GetLastStatusText(), L"RPC Server Unavailable.");
}

TEST_F(RpcProxy, ServerDroppedMidCallGivesCallFailed)
{
    CCRSRPCServerProxy proxy(CString(L"127.0.0.1"));
    m_server.Script(1, {Answer::DropCall(), Answer::Bool(true)});
    EXPECT_FALSE(proxy.Proc1(5));
    EXPECT_EQ(proxy.LastStatus(), 1726);
    EXPECT_EQ(proxy.GetLastStatusText(), L"The remote procedure call failed.");
    EXPECT_TRUE(proxy.Proc1(5)) << "the next call connects again";
}

TEST_F(RpcProxy, HungServerEndsThePollAtTheReceiveTimeout)
{
    zyn::rpc::SetDefaultTimeouts({2000, 250});
    CCRSRPCServerProxy proxy(CString(L"127.0.0.1"));
    m_server.Script(5, {Answer::HangForever()});
    const auto t0 = std::chrono::steady_clock::now();
    EXPECT_FALSE(proxy.IsVideoArchiveRunning());
    EXPECT_LT(std::chrono::steady_clock::now() - t0, 2s);
    EXPECT_EQ(proxy.LastStatus(), 1726);
    m_server.Script(14, {Answer::HangForever()});
    EXPECT_EQ(proxy.GetContinuousVideoPurgeState(), E_FAIL);
}

TEST_F(RpcProxy, PurgeStateAgainstAStoppedServerIsEFail)
{
    CCRSRPCServerProxy proxy(CString(L"127.0.0.1"));
    m_server.Script(14, {Answer::Long(0)});
    EXPECT_EQ(proxy.GetContinuousVideoPurgeState(), 0);
    proxy.Proc1(1);
    const LONG before = proxy.LastStatus();
    m_server.Stop();
    EXPECT_EQ(proxy.GetContinuousVideoPurgeState(), E_FAIL);
    EXPECT_EQ(proxy.LastStatus(), before) << "the purge state leaves the last status alone";
}

TEST_F(RpcProxy, ArchiveStartAndPollSequence)
{
    CCRSRPCServerProxy proxy;
    proxy.SelectServer(L"127.0.0.1");
    m_server.Script(5, {Answer::Bool(true), Answer::Bool(true), Answer::Bool(false)});
    ASSERT_TRUE(proxy.StartVideoArchive(90));
    int polls = 0;
    while (proxy.IsVideoArchiveRunning())
        ++polls;
    EXPECT_EQ(polls, 2);
    EXPECT_EQ(proxy.LastStatus(), 0) << "finished, not failed";
    const auto calls = m_server.Calls();
    ASSERT_EQ(calls.size(), 4u);
    EXPECT_EQ(calls[0].opnum, 4);
    EXPECT_EQ(calls[0].longs, std::vector<int32_t>{90});
    for (size_t i = 1; i < 4; ++i)
        EXPECT_EQ(calls[i].opnum, 5);
}

TEST_F(RpcProxy, ContinuousPurgeStartAndPollSequence)
{
    CCRSRPCServerProxy proxy(CString(L"127.0.0.1"));
    m_server.Script(14, {Answer::Long(0), Answer::Long(0), Answer::Long(1)});
    ASSERT_TRUE(proxy.StartContinuousVideoPurge(17, 60));
    LONG state = 0;
    int polls = 0;
    while ((state = proxy.GetContinuousVideoPurgeState()) == 0)
        ++polls;
    EXPECT_EQ(state, 1);
    EXPECT_EQ(polls, 2);
    EXPECT_EQ(m_server.CallsOf(13).at(0).longs, (std::vector<int32_t>{17, 60}));

    // A lost server ends the wait as a failure, never as "still running".
    m_server.Script(14, {Answer::Long(0), Answer::DropCall(), Answer::Long(0)});
    ASSERT_TRUE(proxy.StartContinuousVideoPurge(17, 60));
    EXPECT_EQ(proxy.GetContinuousVideoPurgeState(), 0);
    EXPECT_EQ(proxy.GetContinuousVideoPurgeState(), E_FAIL);
}

TEST_F(RpcProxy, TwoThreadsOnOneProxyNeverOverlapAtTheServer)
{
    CCRSRPCServerProxy proxy(CString(L"127.0.0.1"));
    m_server.Script(5, {Answer::Bool(true).After(40ms)});
    auto work = [&] {
        for (int i = 0; i < 3; ++i)
            proxy.IsVideoArchiveRunning();
    };
    std::thread a(work), b(work);
    a.join();
    b.join();
    EXPECT_EQ(m_server.CallsOf(5).size(), 6u);
    EXPECT_EQ(m_server.MaxConcurrentCalls(), 1);
    EXPECT_EQ(m_server.ConnectionsAccepted(), 1);
}

TEST_F(RpcProxy, GuidAndStringWrappers)
{
    CCRSRPCServerProxy proxy(CString(L"127.0.0.1"));
    const zyn::rpctest::Guid wire = {0x44, 0x33, 0x22, 0x11, 0x66, 0x55, 0x88, 0x77, 9, 9, 9, 9, 9, 9, 9, 9};
    m_server.Script(8, {Answer::WithGuid(wire, false), Answer::FaultWith(0x1c000012)});
    const GUID g = proxy.Proc8(L"first", L"second");
    EXPECT_EQ(g.Data1, 0x11223344u) << "the procedure's false does not matter";
    EXPECT_EQ(g.Data2, 0x5566);
    EXPECT_EQ(proxy.LastStatus(), 0);
    const auto call = m_server.CallsOf(8).at(0);
    EXPECT_EQ(call.strings, (std::vector<std::u16string>{u"first", u"second"}));
    EXPECT_EQ(call.guid, zyn::rpctest::Guid{}) << "a zeroed GUID goes in";
    const GUID failed = proxy.Proc8(L"a", L"b");
    const GUID zero{};
    EXPECT_EQ(std::memcmp(&failed, &zero, sizeof(GUID)), 0);
    EXPECT_EQ(proxy.LastStatus(), 1726);

    m_server.Script(9, {Answer::Bool(true)});
    m_server.Script(10, {Answer::Bool(false), Answer::FaultWith(0x1c000012)});
    m_server.Script(11, {Answer::Bool(true), Answer::FaultWith(0x1c000012)});
    EXPECT_TRUE(proxy.Proc9(g));
    EXPECT_EQ(proxy.LastStatus(), 0);
    EXPECT_FALSE(proxy.Proc10(g));
    EXPECT_TRUE(proxy.Proc10(g)) << "a failed call counts as true for procedure 10";
    EXPECT_EQ(proxy.LastStatus(), 1726);
    EXPECT_TRUE(proxy.Proc11(g));
    EXPECT_FALSE(proxy.Proc11(g));
    EXPECT_EQ(proxy.LastStatus(), 1726);
    EXPECT_EQ(m_server.CallsOf(9).at(0).guid, wire);

    m_server.Script(15, {Answer::Long(42), Answer::DropCall()});
    EXPECT_EQ(proxy.Proc15(), 42);
    EXPECT_EQ(proxy.LastStatus(), 42);
    EXPECT_EQ(proxy.Proc15(), 1726) << "a failed call returns and keeps its status";
    EXPECT_EQ(proxy.LastStatus(), 1726);
}

TEST_F(RpcProxy, TextArgumentsAreCutAt255Utf16UnitsWithoutSplittingAPair)
{
    CCRSRPCServerProxy proxy(CString(L"127.0.0.1"));
    proxy.Proc7(CString(L'x', 300), true);
    CString pairAtTheEdge(L'y', 254);
    pairAtTheEdge += L"\U0001F600tail";
    proxy.Proc7(pairAtTheEdge, false);
    CString fits(L'z', 253);
    fits += L"\U0001F600";
    proxy.Proc8(fits, L"");
    const auto calls = m_server.CallsOf(7);
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].strings[0], std::u16string(255, u'x'));
    EXPECT_EQ(calls[0].flag, 1);
    EXPECT_EQ(calls[1].strings[0], std::u16string(254, u'y')) << "the pair would need units 255 and 256";
    EXPECT_EQ(calls[1].flag, 0);
    EXPECT_EQ(m_server.CallsOf(8).at(0).strings[0], std::u16string(253, u'z') + u"\xD83D\xDE00");
    proxy.Proc6(6);
    EXPECT_EQ(m_server.CallsOf(6).at(0).longs, std::vector<int32_t>{6});
}

TEST_F(RpcProxy, UnboundProxyPresetsTheStatusWhereTheWrapperRecordsIt)
{
    CCRSRPCServerProxy proxy(CString(L"BAD[NAME")); // no string binding can be built from it
    ASSERT_TRUE(proxy.Proc1(1) == FALSE);
    EXPECT_EQ(proxy.LastStatus(), 0) << "rule A leaves the last status alone when unbound";
    const GUID g = proxy.Proc8(L"a", L"b");
    EXPECT_EQ(g.Data1, 0u);
    EXPECT_EQ(proxy.LastStatus(), kNotCalled);
    EXPECT_EQ(proxy.GetLastStatusText(), L"2147614719");
    for (auto call : {&CCRSRPCServerProxy::Proc9, &CCRSRPCServerProxy::Proc10, &CCRSRPCServerProxy::Proc11}) {
        m_server.ClearRecords();
        EXPECT_FALSE((proxy.*call)(g));
        EXPECT_EQ(proxy.LastStatus(), kNotCalled);
    }
    EXPECT_FALSE(proxy.IsVideoArchiveRunning());
    EXPECT_EQ(proxy.LastStatus(), kNotCalled) << "an unbound poll is a failure, not a finish";
    EXPECT_EQ(proxy.GetContinuousVideoPurgeState(), E_FAIL);
    EXPECT_EQ(proxy.Proc15(), E_UNEXPECTED);
    EXPECT_EQ(proxy.LastStatus(), kNotCalled);
    EXPECT_TRUE(m_server.Calls().empty());
}

TEST_F(RpcProxy, LocalComputerIsServedOverTheLocalEndpoint)
{
    WCHAR name[256];
    DWORD n = 256;
    ASSERT_TRUE(GetComputerNameW(name, &n));
    const std::wstring computer(name, n);
    ServerOptions o;
    o.listenTcp = false;
    o.localEndpoint = "CRSServer_" + zyn::base::ToUtf8(computer);
    RecordingServer local(o);
    std::string err;
    ASSERT_TRUE(local.Start(&err)) << err;
    CCRSRPCServerProxy proxy;
    CString lower(computer.c_str());
    lower.MakeLower();
    proxy.SelectServer(lower);
    EXPECT_TRUE(proxy.StartContinuousVideoPurge(3, 4)) << proxy.GetLastStatusText().GetString();
    EXPECT_EQ(local.CallsOf(13).size(), 1u);
    EXPECT_TRUE(m_server.Calls().empty());
}
