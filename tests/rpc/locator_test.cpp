// Server descriptions, the endpoint locator and the binding owner.
#include <gtest/gtest.h>

#include <memory>
#include <type_traits>

#include "platform/base/environment.h"
#include "rpc/crs_rpc.h"
#include "rpc/rpc_binding.h"
#include "rpc/rpc_ns_locator.h"
#include "rpc/rpc_server_info.h"
#include "tests/rpc/acs_ini.h"

using zyn::rpctest::RemoveAcsIni;
using zyn::rpctest::SetService;

namespace {

class RpcLocator : public ::testing::Test {
protected:
    void SetUp() override { RemoveAcsIni(); }
    void TearDown() override { RemoveAcsIni(); }

    // The string binding the locator builds for a server, or "<none>".
    static std::wstring Found(const CString& server)
    {
        CCRSRPCNsLocator locator;
        RPC_BINDING_HANDLE h = reinterpret_cast<RPC_BINDING_HANDLE>(1);
        const CCRSRPCServerInfo info(server);
        const BOOL ok = locator.FindBinding(&h, CRSRpc_v3_0_c_ifspec, info.GetEntryName(), info.GetServerName(), 0);
        if (!ok) {
            EXPECT_EQ(h, nullptr);
            return L"<none>";
        }
        RPC_WSTR s = nullptr;
        EXPECT_EQ(RpcBindingToStringBindingW(h, &s), RPC_S_OK);
        std::wstring r = s ? s : L"";
        RpcStringFreeW(&s);
        RpcBindingFree(&h);
        return r;
    }
};

CString ComputerName()
{
    WCHAR name[256];
    DWORD n = 256;
    EXPECT_TRUE(GetComputerNameW(name, &n));
    return CString(name, static_cast<int>(n));
}

} // namespace

TEST(RpcServerInfo, NamesAreTrimmedUpperCasedAndDerived)
{
    const CCRSRPCServerInfo info(L"srv1 \t");
    EXPECT_EQ(info.GetServerName(), L"SRV1");
    EXPECT_EQ(info.GetObjectName(), L"SRV1CRSSERVER");
    EXPECT_EQ(info.GetEntryName(), L"/.:/CRSServers/SRV1CRSSERVER");
    const CCRSRPCServerInfo lead(L"  srv1");
    EXPECT_EQ(lead.GetServerName(), L"  SRV1") << "only trailing white space is trimmed";
    const CCRSRPCServerInfo empty;
    EXPECT_TRUE(empty.GetServerName().IsEmpty());
    EXPECT_TRUE(empty.GetEntryName().IsEmpty());
}

TEST(RpcServerInfo, CopiesAndEqualityByServerName)
{
    CCRSRPCServerInfo a(L"srv1");
    const CCRSRPCServerInfo b(L"SRV1 ");
    EXPECT_TRUE(a == b);
    EXPECT_FALSE(a != b);
    const CCRSRPCServerInfo c(L"srv2");
    EXPECT_TRUE(a != c);
    CCRSRPCServerInfo copy(c);
    EXPECT_EQ(copy.GetEntryName(), L"/.:/CRSServers/SRV2CRSSERVER");
    a = c;
    EXPECT_EQ(a.GetObjectName(), L"SRV2CRSSERVER");
    a = *&a;
    EXPECT_EQ(a.GetServerName(), L"SRV2");
}

TEST(RpcServerInfo, DescriptionsAreDestroyedThroughTheirBase)
{
    static_assert(std::has_virtual_destructor_v<CRPCServerInfo>);
    std::unique_ptr<CRPCServerInfo> p = std::make_unique<CCRSRPCServerInfo>(L"srv3");
    EXPECT_EQ(p->GetObjectName(), L"SRV3CRSSERVER");
    p.reset(); // LeakSanitizer checks the derived part's strings are freed
}

TEST_F(RpcLocator, RemoteServerWithoutServiceSectionIsTcp4006)
{
    EXPECT_EQ(Found(L"srv1 "), L"ncacn_ip_tcp:SRV1[4006]");
}

TEST_F(RpcLocator, VideoServerRpcPortIsPassedOnAsRead)
{
    const struct {
        const wchar_t* value;
        const wchar_t* expected;
    } cases[] = {
        {L"5123", L"ncacn_ip_tcp:SRV1[5123]"},
        {L"0", L"ncacn_ip_tcp:SRV1[0]"},
        {L"1", L"ncacn_ip_tcp:SRV1[1]"},
        {L"port", L"ncacn_ip_tcp:SRV1[0]"},
        {L"-5", L"ncacn_ip_tcp:SRV1[-5]"},
    };
    for (const auto& c : cases) {
        SetService(L"VideoServerRpcPort", c.value);
        EXPECT_EQ(Found(L"SRV1"), c.expected) << std::wstring(c.value);
    }
}

TEST_F(RpcLocator, TcpPortIsReadAtEveryCallUsePipesOnce)
{
    SetService(L"VideoServerRpcPort", L"7001");
    CCRSRPCNsLocator locator;
    EXPECT_EQ(locator.GetTcpEndpoint(), L"7001");
    EXPECT_EQ(locator.GetUsePipes(), 0);
    SetService(L"VideoServerRpcPort", L"7002");
    SetService(L"UsePipes", L"1");
    EXPECT_EQ(locator.GetTcpEndpoint(), L"7002");
    EXPECT_EQ(locator.GetUsePipes(), 0) << "fixed for the locator's life";
    EXPECT_EQ(CCRSRPCNsLocator().GetUsePipes(), 1);
}

TEST_F(RpcLocator, UsePipesTriesThePipeAndFallsBackToTcp)
{
    for (const wchar_t* v : {L"0", L"1", L"yes"}) {
        SetService(L"UsePipes", v);
        EXPECT_EQ(Found(L"SRV1"), L"ncacn_ip_tcp:SRV1[4006]") << std::wstring(v);
    }
    SetService(L"UsePipes", L"1");
    CCRSRPCNsLocator locator;
    ASSERT_EQ(locator.GetUsePipes(), 1);
    RPC_BINDING_HANDLE h = reinterpret_cast<RPC_BINDING_HANDLE>(1);
    EXPECT_FALSE(locator.BindPipe(&h, CRSRpc_v3_0_c_ifspec, L"", L"SRV1", 0)) << "named pipes are not supported";
    EXPECT_EQ(h, nullptr);
    // What the pipe path composes, before the runtime refuses it.
    EXPECT_EQ(locator.GetPipeEndpoint(L"SRV1"), L"\\pipe\\CRSServer_SRV1");
    RPC_WSTR s = nullptr;
    ASSERT_EQ(RpcStringBindingComposeW(nullptr, const_cast<RPC_WSTR>(L"ncacn_np"), const_cast<RPC_WSTR>(L"SRV1"),
                  const_cast<RPC_WSTR>(locator.GetPipeEndpoint(L"SRV1").GetString()), nullptr, &s),
        RPC_S_OK);
    EXPECT_STREQ(s, L"ncacn_np:SRV1[\\pipe\\CRSServer_SRV1]");
    RpcStringFreeW(&s);
}

TEST_F(RpcLocator, LocalComputerIsReachedOverTheLocalTransportWhateverUsePipesSays)
{
    const CString name = ComputerName();
    ASSERT_FALSE(name.IsEmpty());
    EXPECT_EQ(name, CString(name).MakeUpper()) << "the computer name comes in the form server names are held in";
    const std::wstring expected = L"ncalrpc:[CRSServer_" + std::wstring(name.GetString()) + L"]";
    EXPECT_EQ(Found(name), expected);
    CString lower(name);
    lower.MakeLower();
    EXPECT_EQ(Found(lower), expected) << "the description upper-cases the name first";
    SetService(L"UsePipes", L"1");
    EXPECT_EQ(Found(name), expected);
}

TEST_F(RpcLocator, NameThatCannotBeBoundGivesNoBinding)
{
    EXPECT_EQ(Found(L"BAD[NAME"), L"<none>");
    CCRSRPCNsLocator locator;
    EXPECT_FALSE(locator.FindBinding(nullptr, nullptr, nullptr, L"SRV1", 0));
}

TEST_F(RpcLocator, LocatorsAreRuntimeClasses)
{
    CCRSRPCNsLocator locator;
    EXPECT_TRUE(locator.IsKindOf(RUNTIME_CLASS(LRpcNsLocator)));
    EXPECT_STREQ(locator.GetRuntimeClass()->m_lpszClassName, "CCRSRPCNsLocator");
    LRpcBinding binding;
    EXPECT_TRUE(binding.IsKindOf(RUNTIME_CLASS(CObject)));
}

TEST(RpcBindingOwner, SetHandleCopiesFreesAndRefusesStaleHandles)
{
    RPC_BINDING_HANDLE h = nullptr;
    ASSERT_EQ(RpcBindingFromStringBindingW(const_cast<RPC_WSTR>(L"ncacn_ip_tcp:SRV1[4006]"), &h), RPC_S_OK);
    RPC_BINDING_HANDLE held = nullptr;
    {
        LRpcBinding b;
        EXPECT_EQ(b.GetHandle(), nullptr);
        EXPECT_TRUE(b.SetHandle(h));
        held = b.GetHandle();
        EXPECT_NE(held, h) << "the owner holds its own copy";
        const RPC_BINDING_HANDLE stale = h;
        RpcBindingFree(&h);
        RPC_WSTR s = nullptr;
        EXPECT_EQ(RpcBindingToStringBindingW(held, &s), RPC_S_OK) << "the copy outlives the original";
        RpcStringFreeW(&s);
        EXPECT_FALSE(b.SetHandle(reinterpret_cast<RPC_BINDING_HANDLE>(0x5678)));
        EXPECT_EQ(b.GetHandle(), nullptr);
        EXPECT_EQ(RpcBindingFree(&held), RPC_S_INVALID_BINDING) << "the old copy was freed on replacement";
        EXPECT_FALSE(b.SetHandle(stale));
        EXPECT_FALSE(b.SetHandle(nullptr));
    }
    ASSERT_EQ(RpcBindingFromStringBindingW(const_cast<RPC_WSTR>(L"ncalrpc:[X]"), &h), RPC_S_OK);
    {
        LRpcBinding b;
        ASSERT_TRUE(b.SetHandle(h));
        held = b.GetHandle();
    }
    EXPECT_EQ(RpcBindingFree(&held), RPC_S_INVALID_BINDING) << "the destructor freed its handle";
    RpcBindingFree(&h);
}
