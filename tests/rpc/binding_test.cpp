// String bindings and binding handles, without a server.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/rpc/rpcdce.h"

namespace {

std::wstring Compose(const wchar_t* uuid, const wchar_t* protseq, const wchar_t* addr, const wchar_t* ep,
    const wchar_t* opts)
{
    RPC_WSTR s = nullptr;
    EXPECT_EQ(RpcStringBindingComposeW(const_cast<RPC_WSTR>(uuid), const_cast<RPC_WSTR>(protseq),
                  const_cast<RPC_WSTR>(addr), const_cast<RPC_WSTR>(ep), const_cast<RPC_WSTR>(opts), &s),
        RPC_S_OK);
    std::wstring r = s ? s : L"<null>";
    EXPECT_EQ(RpcStringFreeW(&s), RPC_S_OK);
    EXPECT_EQ(s, nullptr);
    return r;
}

RPC_STATUS FromString(const wchar_t* text, RPC_BINDING_HANDLE* h)
{
    return RpcBindingFromStringBindingW(const_cast<RPC_WSTR>(text), h);
}

std::wstring ToString(RPC_BINDING_HANDLE h)
{
    RPC_WSTR s = nullptr;
    if (RpcBindingToStringBindingW(h, &s) != RPC_S_OK)
        return L"<invalid>";
    std::wstring r = s;
    RpcStringFreeW(&s);
    return r;
}

} // namespace

TEST(RpcStringBinding, ComposeLeavesOutAbsentParts)
{
    EXPECT_EQ(Compose(nullptr, L"ncacn_ip_tcp", L"SRV1", L"4006", nullptr), L"ncacn_ip_tcp:SRV1[4006]");
    EXPECT_EQ(Compose(nullptr, L"ncalrpc", nullptr, L"CRSServer_SRV1", nullptr), L"ncalrpc:[CRSServer_SRV1]");
    EXPECT_EQ(Compose(nullptr, L"ncacn_np", L"SRV1", L"\\pipe\\CRSServer_SRV1", nullptr),
        L"ncacn_np:SRV1[\\pipe\\CRSServer_SRV1]");
    EXPECT_EQ(Compose(L"", L"ncacn_ip_tcp", L"", L"", L""), L"ncacn_ip_tcp:");
    EXPECT_EQ(Compose(L"6d3b5a10-0000-4000-8000-00c04f27a5cd", L"ncacn_ip_tcp", L"h", L"1", L"a=b"),
        L"6d3b5a10-0000-4000-8000-00c04f27a5cd@ncacn_ip_tcp:h[1,a=b]");
    EXPECT_EQ(RpcStringBindingComposeW(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr), RPC_S_INVALID_ARG);
}

TEST(RpcStringBinding, ParseRoundTripsAndRejectsMalformedText)
{
    RPC_WSTR uuid, protseq, addr, ep, opts;
    wchar_t text[] = L"6d3b5a10-0000-4000-8000-00c04f27a5cd@ncacn_ip_tcp:srv.example[4006,timeout=5]";
    ASSERT_EQ(RpcStringBindingParseW(text, &uuid, &protseq, &addr, &ep, &opts), RPC_S_OK);
    EXPECT_STREQ(uuid, L"6d3b5a10-0000-4000-8000-00c04f27a5cd");
    EXPECT_STREQ(protseq, L"ncacn_ip_tcp");
    EXPECT_STREQ(addr, L"srv.example");
    EXPECT_STREQ(ep, L"4006");
    EXPECT_STREQ(opts, L"timeout=5");
    for (RPC_WSTR* s : {&uuid, &protseq, &addr, &ep, &opts})
        EXPECT_EQ(RpcStringFreeW(s), RPC_S_OK);

    const struct {
        const wchar_t* text;
        RPC_STATUS status;
    } bad[] = {
        {L"ncacn_ip_tcp", RPC_S_INVALID_STRING_BINDING},          // no colon
        {L":SRV1[4006]", RPC_S_INVALID_STRING_BINDING},           // no protocol sequence
        {L"ncacn ip:SRV1", RPC_S_INVALID_STRING_BINDING},         // blank in the protocol sequence
        {L"ncacn_ip_tcp:SRV1[4006", RPC_S_INVALID_STRING_BINDING}, // unterminated endpoint
        {L"ncacn_ip_tcp:SRV1[4006]x", RPC_S_INVALID_STRING_BINDING},
        {L"ncacn_ip_tcp:A[B[4006]", RPC_S_INVALID_STRING_BINDING},
        {L"ncacn_ip_tcp:A]B", RPC_S_INVALID_STRING_BINDING},
        {L"ncacn_ip_tcp:h[1,novalue]", RPC_S_INVALID_STRING_BINDING},
        {L"not-a-uuid@ncacn_ip_tcp:h[1]", RPC_S_INVALID_STRING_UUID},
    };
    for (const auto& b : bad) {
        RPC_WSTR p = nullptr;
        EXPECT_EQ(RpcStringBindingParseW(const_cast<RPC_WSTR>(b.text), nullptr, &p, nullptr, nullptr, nullptr), b.status)
            << std::wstring(b.text).size();
        EXPECT_EQ(p, nullptr);
        RPC_BINDING_HANDLE h = reinterpret_cast<RPC_BINDING_HANDLE>(1);
        EXPECT_EQ(FromString(b.text, &h), b.status);
        EXPECT_EQ(h, nullptr);
    }
}

TEST(RpcStringBinding, ComposeRefusesPartsThatWouldReadAsOthers)
{
    // Each row, composed as it stands, would parse into other parts than it was given
    // (shown after the arrow), or not at all.
    const struct {
        const wchar_t *uuid, *protseq, *addr, *ep, *opts;
        RPC_STATUS status;
        const char* why;
    } rows[] = {
        {nullptr, L"ncacn_ip_tcp", L"SRV1[9999]", nullptr, nullptr, RPC_S_INVALID_STRING_BINDING,
            "-> address SRV1, endpoint 9999"},
        {nullptr, L"ncacn_ip_tcp:evil", L"SRV1", L"4006", nullptr, RPC_S_INVALID_STRING_BINDING,
            "-> protocol sequence ncacn_ip_tcp, address evil:SRV1"},
        {nullptr, L"ncacn_ip_tcp", L"SRV1", L"endpoint=4006", nullptr, RPC_S_INVALID_STRING_BINDING,
            "-> endpoint 4006"},
        {nullptr, L"ncacn_ip_tcp", L"SRV1", L"4006,a=b", nullptr, RPC_S_INVALID_STRING_BINDING,
            "-> endpoint 4006, option a=b"},
        {nullptr, L"ncacn_ip_tcp", L"SRV1", L"4006", L"a=b,c", RPC_S_INVALID_STRING_BINDING, "option c has no value"},
        {nullptr, L"ncacn_ip_tcp", L"SRV1", L"40]06", nullptr, RPC_S_INVALID_STRING_BINDING, "bracket in the endpoint"},
        {nullptr, L"ncacn_ip_tcp", L"A@B", L"1", nullptr, RPC_S_INVALID_STRING_BINDING, "'@' in the address"},
        {nullptr, nullptr, L"SRV1", L"4006", nullptr, RPC_S_INVALID_STRING_BINDING, "no protocol sequence"},
        {nullptr, L"nc acn", L"SRV1", L"4006", nullptr, RPC_S_INVALID_STRING_BINDING, "blank in the protocol sequence"},
        {L"not-a-uuid", L"ncacn_ip_tcp", L"SRV1", L"4006", nullptr, RPC_S_INVALID_STRING_UUID, "not a UUID"},
    };
    for (const auto& r : rows) {
        RPC_WSTR out = reinterpret_cast<RPC_WSTR>(1);
        EXPECT_EQ(RpcStringBindingComposeW(const_cast<RPC_WSTR>(r.uuid), const_cast<RPC_WSTR>(r.protseq),
                      const_cast<RPC_WSTR>(r.addr), const_cast<RPC_WSTR>(r.ep), const_cast<RPC_WSTR>(r.opts), &out),
            r.status)
            << r.why;
        EXPECT_EQ(out, nullptr) << r.why;
    }
    // Text the parser takes apart on its own (':' in an address, '=' in an option's
    // value, characters outside the BMP) composes as it is.
    EXPECT_EQ(Compose(nullptr, L"ncacn_ip_tcp", L"fe80::1", L"4006", L"k=v=w"), L"ncacn_ip_tcp:fe80::1[4006,k=v=w]");
    EXPECT_EQ(Compose(nullptr, L"ncalrpc", nullptr, L"CRSServer_\U0001F600", nullptr), L"ncalrpc:[CRSServer_\U0001F600]");
}

TEST(RpcUuidText, ParsesEitherCaseFormatsLowerCaseAndRefusesTheRest)
{
    // Data1 is the first eight digits, Data2 and Data3 the next four each, Data4 the
    // last sixteen digits as eight octets in order.
    UUID u{};
    ASSERT_EQ(UuidFromStringW(const_cast<RPC_WSTR>(L"A1B2C3D4-E5F6-0718-293A-4B5C6D7E8F90"), &u), RPC_S_OK);
    EXPECT_EQ(u.Data1, 0xA1B2C3D4u);
    EXPECT_EQ(u.Data2, 0xE5F6);
    EXPECT_EQ(u.Data3, 0x0718);
    const uint8_t data4[8] = {0x29, 0x3A, 0x4B, 0x5C, 0x6D, 0x7E, 0x8F, 0x90};
    EXPECT_EQ(std::memcmp(u.Data4, data4, 8), 0);
    RPC_WSTR s = nullptr;
    ASSERT_EQ(UuidToStringW(&u, &s), RPC_S_OK);
    EXPECT_STREQ(s, L"a1b2c3d4-e5f6-0718-293a-4b5c6d7e8f90");
    EXPECT_EQ(RpcStringFreeW(&s), RPC_S_OK);

    const UUID nil{};
    UUID v = u;
    EXPECT_EQ(UuidFromString(nullptr, &v), RPC_S_OK) << "a null string is the nil UUID";
    EXPECT_EQ(std::memcmp(&v, &nil, sizeof v), 0);

    const wchar_t* bad[] = {
        L"",
        L"{a1b2c3d4-e5f6-0718-293a-4b5c6d7e8f90}",  // braces
        L"a1b2c3d4-e5f6-0718-293a-4b5c6d7e8f9",     // a digit short
        L"a1b2c3d4-e5f6-0718-293a-4b5c6d7e8f900",   // a digit over
        L"a1b2c3d4e5f6-0718-293a-4b5c6d7e8f90-",    // hyphen in the wrong place
        L"a1b2c3d4-e5f6-0718-293a-4b5c6d7e8f9g",    // not hexadecimal
        L" a1b2c3d4-e5f6-0718-293a-4b5c6d7e8f9",    // leading blank
        L"a1b2c3d4-e5f6-0718-293a-4b5c6d7e8f9\uFF10", // a full-width digit
    };
    for (const wchar_t* text : bad) {
        UUID w = u;
        EXPECT_EQ(UuidFromStringW(const_cast<RPC_WSTR>(text), &w), RPC_S_INVALID_STRING_UUID) << std::wstring(text).size();
        EXPECT_EQ(std::memcmp(&w, &u, sizeof w), 0) << "a refused text leaves the UUID alone";
    }
    EXPECT_EQ(UuidFromStringW(const_cast<RPC_WSTR>(L"a1b2c3d4-e5f6-0718-293a-4b5c6d7e8f90"), nullptr), RPC_S_INVALID_ARG);
    RPC_WSTR out = reinterpret_cast<RPC_WSTR>(1);
    EXPECT_EQ(UuidToString(nullptr, &out), RPC_S_INVALID_ARG);
    EXPECT_EQ(out, nullptr);
}

TEST(RpcStringBinding, StringFreeRefusesForeignPointersAndToleratesNull)
{
    wchar_t mine[] = L"not from the runtime";
    RPC_WSTR p = mine;
    EXPECT_EQ(RpcStringFreeW(&p), RPC_S_INVALID_ARG);
    EXPECT_EQ(p, mine);
    RPC_WSTR null = nullptr;
    EXPECT_EQ(RpcStringFreeW(&null), RPC_S_OK);
    EXPECT_EQ(RpcStringFreeW(nullptr), RPC_S_INVALID_ARG);
}

TEST(RpcBindingHandle, SupportedProtocolSequencesOnly)
{
    RPC_BINDING_HANDLE h = nullptr;
    EXPECT_EQ(FromString(L"ncacn_np:SRV1[\\pipe\\CRSServer_SRV1]", &h), RPC_S_PROTSEQ_NOT_SUPPORTED);
    EXPECT_EQ(h, nullptr);
    EXPECT_EQ(FromString(L"ncadg_ip_udp:SRV1[4006]", &h), RPC_S_PROTSEQ_NOT_SUPPORTED);
    ASSERT_EQ(FromString(L"ncacn_ip_tcp:SRV1[4006]", &h), RPC_S_OK);
    EXPECT_EQ(ToString(h), L"ncacn_ip_tcp:SRV1[4006]");
    EXPECT_EQ(RpcBindingFree(&h), RPC_S_OK);
    ASSERT_EQ(FromString(L"ncalrpc:[CRSServer_SRV1]", &h), RPC_S_OK);
    EXPECT_EQ(ToString(h), L"ncalrpc:[CRSServer_SRV1]");
    EXPECT_EQ(RpcBindingFree(&h), RPC_S_OK);
}

TEST(RpcBindingHandle, CopiesAreIndependentAndFreedHandlesStayInvalid)
{
    RPC_BINDING_HANDLE h = nullptr, copy = nullptr;
    ASSERT_EQ(FromString(L"ncacn_ip_tcp:127.0.0.1[4006]", &h), RPC_S_OK);
    ASSERT_EQ(RpcBindingSetOption(h, RPC_C_OPT_CALL_TIMEOUT, 1234), RPC_S_OK);
    ASSERT_EQ(RpcBindingCopy(h, &copy), RPC_S_OK);
    EXPECT_NE(copy, h);
    ULONG_PTR v = 0;
    EXPECT_EQ(RpcBindingInqOption(copy, RPC_C_OPT_CALL_TIMEOUT, &v), RPC_S_OK);
    EXPECT_EQ(v, 1234u);
    RPC_BINDING_HANDLE stale = h;
    EXPECT_EQ(RpcBindingFree(&h), RPC_S_OK);
    EXPECT_EQ(h, nullptr);
    EXPECT_EQ(ToString(copy), L"ncacn_ip_tcp:127.0.0.1[4006]") << "the copy outlives its source";
    EXPECT_EQ(RpcBindingFree(&stale), RPC_S_INVALID_BINDING);
    EXPECT_NE(stale, nullptr) << "a refused free leaves the handle alone";
    RPC_BINDING_HANDLE out = reinterpret_cast<RPC_BINDING_HANDLE>(1);
    EXPECT_EQ(RpcBindingCopy(stale, &out), RPC_S_INVALID_BINDING);
    EXPECT_EQ(out, nullptr);
    RPC_BINDING_HANDLE foreign = reinterpret_cast<RPC_BINDING_HANDLE>(0x1234);
    EXPECT_EQ(RpcBindingFree(&foreign), RPC_S_INVALID_BINDING);
    EXPECT_EQ(RpcBindingSetOption(foreign, RPC_C_OPT_CALL_TIMEOUT, 1), RPC_S_INVALID_BINDING);
    EXPECT_EQ(RpcBindingSetOption(copy, 999, 1), RPC_S_INVALID_ARG);
    EXPECT_EQ(RpcBindingFree(&copy), RPC_S_OK);
}

TEST(RpcBindingHandle, OptionsAndOutPointersFollowOneRule)
{
    RPC_BINDING_HANDLE h = nullptr;
    ASSERT_EQ(FromString(L"ncacn_ip_tcp:127.0.0.1[4006]", &h), RPC_S_OK);
    // Both time-outs are kept apart and read back; unknown options and values beyond
    // 32 bits are refused without touching anything.
    ASSERT_EQ(RpcBindingSetOption(h, RPC_C_OPT_CALL_TIMEOUT, 11), RPC_S_OK);
    ASSERT_EQ(RpcBindingSetOption(h, RPC_C_OPT_CONNECT_TIMEOUT, 22), RPC_S_OK);
    if constexpr (sizeof(ULONG_PTR) > 4) {
        EXPECT_EQ(RpcBindingSetOption(h, RPC_C_OPT_CALL_TIMEOUT, static_cast<ULONG_PTR>(0x100000000ull)),
            RPC_S_INVALID_ARG);
    }
    ULONG_PTR v = 0;
    EXPECT_EQ(RpcBindingInqOption(h, RPC_C_OPT_CALL_TIMEOUT, &v), RPC_S_OK);
    EXPECT_EQ(v, 11u);
    EXPECT_EQ(RpcBindingInqOption(h, RPC_C_OPT_CONNECT_TIMEOUT, &v), RPC_S_OK);
    EXPECT_EQ(v, 22u);
    v = 5;
    EXPECT_EQ(RpcBindingInqOption(h, 999, &v), RPC_S_INVALID_ARG);
    EXPECT_EQ(v, 5u);
    EXPECT_EQ(RpcBindingInqOption(h, RPC_C_OPT_CALL_TIMEOUT, nullptr), RPC_S_INVALID_ARG);
    // Calls that hand something back refuse a missing out pointer and clear a given one
    // before anything else can fail.
    EXPECT_EQ(RpcBindingCopy(h, nullptr), RPC_S_INVALID_ARG);
    EXPECT_EQ(RpcBindingToStringBindingW(h, nullptr), RPC_S_INVALID_ARG);
    EXPECT_EQ(RpcBindingFromStringBindingW(nullptr, nullptr), RPC_S_INVALID_ARG);
    EXPECT_EQ(RpcStringBindingComposeW(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr), RPC_S_INVALID_ARG);
    RPC_WSTR s = reinterpret_cast<RPC_WSTR>(1);
    EXPECT_EQ(RpcBindingToStringBindingW(reinterpret_cast<RPC_BINDING_HANDLE>(0x1234), &s), RPC_S_INVALID_BINDING);
    EXPECT_EQ(s, nullptr);
    RPC_BINDING_HANDLE out = reinterpret_cast<RPC_BINDING_HANDLE>(1);
    EXPECT_EQ(RpcBindingFromStringBindingW(nullptr, &out), RPC_S_INVALID_STRING_BINDING);
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(RpcBindingFree(&h), RPC_S_OK);
}
