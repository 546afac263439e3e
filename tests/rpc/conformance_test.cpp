// The client against an independent peer: a recording server whose requests and replies
// are laid out by another NDR implementation (python3-impacket, see peer/). Every
// procedure is called with extreme numbers, full-length arrays and text outside the
// BMP; the peer reports each value it decoded, and the values its replies carry must
// come back. Expected values are the arguments themselves, written out by the test in
// the peer's report format (text as code points, which a 32-bit wchar_t holds as they
// are), and the stub lengths are worked out by hand from the NDR 2.0 rule: members in
// order, each at its own alignment, nothing after a structure's last member.
#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <cstring>
#include <functional>

#include "platform/rpc/binding.h"
#include "rpc/crs_rpc.h"
#include "rpc/crs_rpc_server_proxy.h"
#include "tests/rpc/acs_ini.h"
#include "tests/rpc/peer/impacket_peer.h"

using zyn::rpctest::ImpacketPeer;
using zyn::rpctest::PeerCall;

namespace {

// ---- the peer's report format, written from the arguments -------------------------------

std::string Text(const WCHAR* p, size_t capacity)
{
    std::string s;
    char buf[16];
    for (size_t i = 0; i < capacity && p[i] != L'\0'; ++i) {
        std::snprintf(buf, sizeof buf, "%s%x", s.empty() ? "" : ".", static_cast<unsigned>(p[i]));
        s += buf;
    }
    return s;
}

template <class T>
std::string Numbers(const T* p, size_t n)
{
    std::string s;
    for (size_t i = 0; i < n; ++i)
        s += (i ? "," : "") + std::to_string(static_cast<int64_t>(p[i]));
    return s;
}

std::string Hex(const BYTE* p, size_t n)
{
    std::string s;
    char buf[3];
    for (size_t i = 0; i < n; ++i) {
        std::snprintf(buf, sizeof buf, "%02x", p[i]);
        s += buf;
    }
    return s;
}

template <class T>
std::string N(T v)
{
    return std::to_string(static_cast<int64_t>(v));
}

void AddGuid(PeerCall& v, const std::string& key, const GUID& g)
{
    v[key + ".Data1"] = N(g.Data1);
    v[key + ".Data2"] = N(g.Data2);
    v[key + ".Data3"] = N(g.Data3);
    v[key + ".Data4"] = Hex(g.Data4, 8);
}

void AddTime(PeerCall& v, const std::string& key, const SYSTEMTIME& t)
{
    v[key + ".wYear"] = N(t.wYear);
    v[key + ".wMonth"] = N(t.wMonth);
    v[key + ".wDayOfWeek"] = N(t.wDayOfWeek);
    v[key + ".wDay"] = N(t.wDay);
    v[key + ".wHour"] = N(t.wHour);
    v[key + ".wMinute"] = N(t.wMinute);
    v[key + ".wSecond"] = N(t.wSecond);
    v[key + ".wMilliseconds"] = N(t.wMilliseconds);
}

std::string GuidText(const GUID& g)
{
    char buf[40];
    std::snprintf(buf, sizeof buf, "%08x-%04x-%04x-%02x%02x-%02x%02x%02x%02x%02x%02x", g.Data1, g.Data2, g.Data3,
        g.Data4[0], g.Data4[1], g.Data4[2], g.Data4[3], g.Data4[4], g.Data4[5], g.Data4[6], g.Data4[7]);
    return buf;
}

// Fills a wide array with `text` followed by zeros (no terminator when it fills the array).
template <size_t N>
void Put(WCHAR (&dst)[N], std::wstring_view text)
{
    std::memset(dst, 0, sizeof dst);
    std::copy(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(std::min(text.size(), N)), dst);
}

// `count` characters from `first` on, skipping the surrogate range.
std::wstring Run(wchar_t first, size_t count)
{
    std::wstring s;
    for (wchar_t c = first; s.size() < count; ++c)
        if (c < 0xD800 || c > 0xDFFF)
            s.push_back(c);
    return s;
}

// ---- the arguments ---------------------------------------------------------------------

const GUID kGuidA{0xA1B2C3D4, 0xE5F6, 0x0718, {0x29, 0x3A, 0x4B, 0x5C, 0x6D, 0x7E, 0x8F, 0x90}};
const GUID kGuidB{0xFFFFFFFF, 0x0001, 0x8000, {0x00, 0xFF, 0x01, 0xFE, 0x02, 0xFD, 0x03, 0xFC}};
// What the peer hands back from procedure 8 (scripted below as text): the value in its
// fields, written out by hand.
const GUID kPeerGuid{0x01234567, 0x89AB, 0xCDEF, {0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF}};

Proc0Data MakeProc0()
{
    Proc0Data d{};
    d.f1 = 0xFE;
    d.f2 = INT32_MIN;
    d.f3 = INT32_MAX;
    d.f4 = kGuidA;
    Put(d.f5, std::wstring(128, L'\U0001F600')); // 128 pairs: all 256 units, no terminator
    d.f6.f1 = -1;
    d.f6.f2 = 0;
    d.f6.f3 = 1;
    d.f6.f4 = SYSTEMTIME{2024, 2, 4, 29, 23, 59, 58, 999};
    d.f6.f5 = SYSTEMTIME{0xFFFF, 12, 6, 31, 0, 0, 0, 1};
    d.f6.f6 = 0x01020304;
    d.f6.f7 = 0x89; // the period's last member: the outer record goes on right after it
    d.f7 = 0x17;
    d.f8 = 8;
    d.f9 = -9;
    d.f10 = 0xAA;
    d.f11 = 11;
    d.f12 = 0xBB;
    d.f13 = SYSTEMTIME{1999, 12, 5, 31, 23, 59, 59, 999};
    d.f14 = 14;
    d.f15 = -15;
    Put(d.f16, Run(0x4E00, 256)); // 256 BMP characters, no terminator
    Put(d.f17, L"");
    Put(d.f18, L"Kamera \U00010348 \u03A9 \u20AC \U0010FFFF \uFFFD\uE000");
    d.f19 = -19;
    return d;
}

PeerCall ExpectProc0(const Proc0Data& d)
{
    PeerCall v{{"f1", N(d.f1)}, {"f2", N(d.f2)}, {"f3", N(d.f3)}, {"f5", Text(d.f5, 256)}};
    AddGuid(v, "f4", d.f4);
    v["f6.f1"] = N(d.f6.f1);
    v["f6.f2"] = N(d.f6.f2);
    v["f6.f3"] = N(d.f6.f3);
    AddTime(v, "f6.f4", d.f6.f4);
    AddTime(v, "f6.f5", d.f6.f5);
    v["f6.f6"] = N(d.f6.f6);
    v["f6.f7"] = N(d.f6.f7);
    const std::initializer_list<std::pair<const char*, int64_t>> scalars = {{"f7", d.f7}, {"f8", d.f8},
        {"f9", d.f9}, {"f10", d.f10}, {"f11", d.f11}, {"f12", d.f12}, {"f14", d.f14}, {"f15", d.f15}, {"f19", d.f19}};
    for (const auto& [key, value] : scalars)
        v[key] = N(value);
    AddTime(v, "f13", d.f13);
    v["f16"] = Text(d.f16, 256);
    v["f17"] = Text(d.f17, 256);
    v["f18"] = Text(d.f18, 256);
    return v;
}

Proc2Data MakeProc2()
{
    Proc2Data d{};
    auto longs = [](LONG* p, size_t n, LONG base) {
        for (size_t i = 0; i < n; ++i)
            p[i] = base - static_cast<LONG>(i) * 0x01010101;
    };
    longs(d.f1, 3, 0x7F000001);
    Put(d.f2, std::wstring(64, L'\U00020000')); // 128 units, full
    longs(d.f3, 13, -1);
    d.f4 = 0x04;
    d.f5 = INT32_MIN;
    for (int i = 0; i < 32; ++i)
        for (int j = 0; j < 24; ++j)
            d.f6[i][j] = static_cast<BYTE>(i * 24 + j * 7);
    d.f7 = 0x07;
    longs(d.f8, 3, 800);
    d.f9 = 0x09;
    d.f10 = 10;
    d.f11 = 0xFF;
    longs(d.f12, 4, 1200);
    d.f13 = kGuidB;
    d.f14 = -14;
    Put(d.f15, Run(L'a', 32)); // full: a..z then {, |, }, ~, DEL, U+0080
    Put(d.f16, L"\U0001F3A5 rec");
    longs(d.f17, 2, 1700);
    d.f18 = SHRT_MIN;
    d.f19[0] = 1, d.f19[1] = 0x80, d.f19[2] = 0xFF;
    longs(d.f20, 7, 2000);
    Put(d.f21, std::wstring(16, L'\U0010FFFD')); // 32 units, full
    Put(d.f22, L"");
    longs(d.f23, 8, 2300);
    d.f24 = 0x24; // the discriminant follows at the next even octet
    d.f25.arm1[0] = INT32_MIN, d.f25.arm1[1] = 0, d.f25.arm1[2] = INT32_MAX;
    d.f25.items[4].f5 = 0x99; // memory of the default arm, which does not travel
    longs(d.f26, 2, 2600);
    for (int i = 0; i < 5; ++i)
        d.f27[i] = static_cast<BYTE>(0xF0 + i);
    longs(d.f28, 2, 2800);
    Put(d.f29, L"end \u00E9\u00E8");
    d.f30 = 30;
    d.f31[0] = 0x31, d.f31[1] = 0x13;
    longs(d.f32, 4, -3200);
    return d;
}

PeerCall ExpectProc2(const Proc2Data& d)
{
    PeerCall v{
        {"f1", Numbers(d.f1, 3)}, {"f2", Text(d.f2, 128)}, {"f3", Numbers(d.f3, 13)}, {"f4", N(d.f4)},
        {"f5", N(d.f5)}, {"f6", Hex(&d.f6[0][0], 32 * 24)}, {"f7", N(d.f7)}, {"f8", Numbers(d.f8, 3)},
        {"f9", N(d.f9)}, {"f10", N(d.f10)}, {"f11", N(d.f11)}, {"f12", Numbers(d.f12, 4)}, {"f14", N(d.f14)},
        {"f15", Text(d.f15, 32)}, {"f16", Text(d.f16, 32)}, {"f17", Numbers(d.f17, 2)}, {"f18", N(d.f18)},
        {"f19", Hex(d.f19, 3)}, {"f20", Numbers(d.f20, 7)}, {"f21", Text(d.f21, 32)}, {"f22", Text(d.f22, 32)},
        {"f23", Numbers(d.f23, 8)}, {"f24", N(d.f24)}, {"f25.tag", "1"}, {"f25.arm1", Numbers(d.f25.arm1, 3)},
        {"f26", Numbers(d.f26, 2)}, {"f27", Hex(d.f27, 5)}, {"f28", Numbers(d.f28, 2)}, {"f29", Text(d.f29, 32)},
        {"f30", N(d.f30)}, {"f31", Hex(d.f31, 2)}, {"f32", Numbers(d.f32, 4)},
    };
    AddGuid(v, "f13", d.f13);
    return v;
}

Proc12Data MakeProc12()
{
    Proc12Data d{};
    d.f1[0] = INT32_MIN, d.f1[1] = -1, d.f1[2] = INT32_MAX;
    d.f2 = SHRT_MAX;
    d.f3 = 0x03;
    for (int i = 0; i < 6; ++i)
        for (int j = 0; j < 6; ++j)
            d.f4[i][j] = static_cast<BYTE>(0xC0 + i * 6 + j);
    d.f5 = 0x05;
    d.f6 = 0x06;
    for (int k = 0; k < 6; ++k)
        d.f7[k] = Proc12Entry{static_cast<SHORT>(-1000 * k - 1), static_cast<SHORT>(1000 * k), static_cast<BYTE>(0xE0 + k)};
    d.f8[0] = 0x81, d.f8[1] = 0x82, d.f8[2] = 0x83;
    d.f9 = 0x99; // last octet of the request
    return d;
}

PeerCall ExpectProc12(const Proc12Data& d)
{
    PeerCall v{{"f1", Numbers(d.f1, 3)}, {"f2", N(d.f2)}, {"f3", N(d.f3)}, {"f4", Hex(&d.f4[0][0], 36)},
        {"f5", N(d.f5)}, {"f6", N(d.f6)}, {"f8", Hex(d.f8, 3)}, {"f9", N(d.f9)}};
    for (int k = 0; k < 6; ++k) {
        const std::string e = "f7[" + std::to_string(k) + "]";
        v[e + ".f1"] = N(d.f7[k].f1);
        v[e + ".f2"] = N(d.f7[k].f2);
        v[e + ".f3"] = N(d.f7[k].f3);
    }
    return v;
}

// The replies the peer is scripted to give, and what each result must read as here.
const std::vector<std::string> kReplies = {"0=1", "1=0", "2=1", "3=0", "4=1", "5=0", "8=" + GuidText(kPeerGuid) + ",0",
    "9=1", "10=0", "11=1", "12=1", "13=0", "14=-5", "15=305419896"};

// Compares what the peer decoded with what was sent, key by key, both ways.
void ExpectDecoded(const PeerCall& got, PeerCall want, uint16_t opnum, size_t length)
{
    SCOPED_TRACE("procedure " + std::to_string(opnum));
    want["opnum"] = std::to_string(opnum);
    want["len"] = std::to_string(length);
    if (const auto e = got.find("error"); e != got.end()) {
        ADD_FAILURE() << "the peer could not decode the request (" << got.at("len") << " octets): " << e->second;
        return;
    }
    for (const auto& [key, value] : want) {
        const auto it = got.find(key);
        if (it == got.end())
            ADD_FAILURE() << key << " missing from the peer's report";
        else
            EXPECT_EQ(it->second, value) << key;
    }
    for (const auto& [key, value] : got)
        if (!want.count(key))
            ADD_FAILURE() << "the peer decoded " << key << "=" << value << ", which was not sent";
}

class RpcConformance : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string message;
        switch (m_peer.Start(kReplies, message)) {
        case ImpacketPeer::Started::Yes:
            break;
        case ImpacketPeer::Started::Unavailable:
            GTEST_SKIP() << "no independent NDR peer: " << message;
        case ImpacketPeer::Started::Failed:
            FAIL() << "the peer did not start: " << message;
        }
        zyn::rpc::SetDefaultTimeouts({10'000, 20'000});
        const std::wstring text = L"ncacn_ip_tcp:127.0.0.1[" + std::to_wstring(m_peer.Port()) + L"]";
        ASSERT_EQ(RpcBindingFromStringBindingW(const_cast<RPC_WSTR>(text.c_str()), &m_binding), RPC_S_OK);
    }
    void TearDown() override
    {
        if (m_binding)
            RpcBindingFree(&m_binding);
        zyn::rpc::SetDefaultTimeouts(zyn::rpc::kBuiltinTimeouts);
        m_peer.Stop();
    }

    PeerCall Next()
    {
        PeerCall c;
        std::string error;
        if (!m_peer.NextCall(c, error))
            ADD_FAILURE() << error;
        return c;
    }

    ImpacketPeer m_peer;
    RPC_BINDING_HANDLE m_binding = nullptr;
};

} // namespace

TEST_F(RpcConformance, RecordsTravelInTheLayoutAnotherImplementationReads)
{
    // Procedure 0: byte 0, longs 4 and 8, GUID 12..28, 256 units 28..540; the period
    // at 540 (longs 540..552, times 552..584, long 584, byte 588) ends at 589; byte 589,
    // longs 592 and 596, byte 600, long 604, byte 608, time 610..626, longs 628 and
    // 632, three texts of 512 octets from 636, 1148 and 1660, long 2172: 2176 octets.
    const Proc0Data p0 = MakeProc0();
    error_status_t st = 99;
    EXPECT_EQ(CRSRpc_Proc0(m_binding, &p0, &st), 1);
    EXPECT_EQ(st, 0u);
    const PeerCall c0 = Next();
    EXPECT_EQ(c0.count("len") ? c0.at("len") : "", "2176") << "procedure 0's request";
    RecordProperty("procedure0RequestOctets", c0.count("len") ? c0.at("len") : "none");
    ExpectDecoded(c0, ExpectProc0(p0), 0, 2176);

    // Procedure 2: ... byte 1492, discriminant 1494, arm 1 (three longs) 1496..1508,
    // ..., the last four longs 1604..1620.
    const Proc2Data p2 = MakeProc2();
    EXPECT_EQ(CRSRpc_Proc2(m_binding, &p2, &st), 1);
    EXPECT_EQ(st, 0u);
    ExpectDecoded(Next(), ExpectProc2(p2), 2, 1620);

    // Procedure 12: longs 0..12, short 12, byte 14, 36 bytes 15..51, bytes 51 and 52,
    // six five-octet entries at 54, 60, ..., 84 (each aligned to 2, the last ends at 89),
    // three bytes 89..92, byte 92: 93 octets.
    const Proc12Data p12 = MakeProc12();
    EXPECT_EQ(CRSRpc_Proc12(m_binding, &p12, &st), 1);
    EXPECT_EQ(st, 0u);
    ExpectDecoded(Next(), ExpectProc12(p12), 12, 93);
}

TEST_F(RpcConformance, EveryOtherProcedureSendsAndReceivesWhatThePeerSees)
{
    WCHAR longText[256], shortText[256];
    Put(longText, std::wstring(253, L'x') + L"\U0001F600"); // 255 units: the longest that fits
    Put(shortText, L"\U0001F4F9 cam");                      // 6 units
    GUID inOut{}; // procedure 8 sends a zeroed GUID and receives the peer's

    struct Row {
        uint16_t opnum;
        std::function<std::string(handle_t, error_status_t*)> call;
        std::string result; // as it must read here
        PeerCall sent;      // as the peer must have decoded it
        size_t length;      // request stub octets, by hand
    };
    auto b = [](boolean v) { return std::to_string(v); };
    const Row rows[] = {
        {1, [&](handle_t h, error_status_t* s) { return b(CRSRpc_Proc1(h, INT32_MIN, s)); }, "0",
            {{"a", N(INT32_MIN)}}, 4},
        {3, [&](handle_t h, error_status_t* s) { return b(CRSRpc_Proc3(h, -1, INT32_MAX, s)); }, "0",
            {{"a", "-1"}, {"b", N(INT32_MAX)}}, 8},
        {4, [&](handle_t h, error_status_t* s) { return b(CRSRpc_Proc4(h, 3650, s)); }, "1", {{"days", "3650"}}, 4},
        {5, [&](handle_t h, error_status_t* s) { return b(CRSRpc_Proc5(h, s)); }, "0", {}, 0},
        {6, [&](handle_t h, error_status_t* s) { CRSRpc_Proc6(h, 0x7EADBEEF, s); return std::string("void"); }, "void",
            {{"a", N(0x7EADBEEF)}}, 4},
        // Offset 0, count 256 (255 units and the terminator), 512 octets, the boolean.
        {7, [&](handle_t h, error_status_t* s) { CRSRpc_Proc7(h, longText, 1, s); return std::string("void"); }, "void",
            {{"text", Text(longText, 256)}, {"flag", "1"}}, 8 + 512 + 1},
        // a: 8 + 512 octets; b at 520: 8 + 7 units (14 octets) to 542; the GUID at 544.
        {8, [&](handle_t h, error_status_t* s) {
             const boolean r = CRSRpc_Proc8(h, longText, shortText, &inOut, s);
             return b(r) + " " + GuidText(inOut); },
            "0 " + GuidText(kPeerGuid), {{"a", Text(longText, 256)}, {"b", Text(shortText, 256)}}, 560},
        {9, [&](handle_t h, error_status_t* s) { return b(CRSRpc_Proc9(h, kGuidA, s)); }, "1", {}, 16},
        {10, [&](handle_t h, error_status_t* s) { return b(CRSRpc_Proc10(h, kGuidB, s)); }, "0", {}, 16},
        {11, [&](handle_t h, error_status_t* s) { return b(CRSRpc_Proc11(h, kPeerGuid, s)); }, "1", {}, 16},
        {13, [&](handle_t h, error_status_t* s) { return b(CRSRpc_Proc13(h, 42, -30, s)); }, "0",
            {{"recorder", "42"}, {"days", "-30"}}, 8},
        {14, [&](handle_t h, error_status_t* s) { return N(CRSRpc_Proc14(h, s)); }, "-5", {}, 0},
        {15, [&](handle_t h, error_status_t* s) { return N(CRSRpc_Proc15(h, s)); }, "305419896", {}, 0},
    };
    PeerCall guid8, guid9, guid10, guid11;
    AddGuid(guid8, "guid", GUID{});
    AddGuid(guid9, "guid", kGuidA);
    AddGuid(guid10, "guid", kGuidB);
    AddGuid(guid11, "guid", kPeerGuid);
    const std::map<uint16_t, const PeerCall*> guids = {{8, &guid8}, {9, &guid9}, {10, &guid10}, {11, &guid11}};

    for (const Row& r : rows) {
        SCOPED_TRACE("procedure " + std::to_string(r.opnum));
        error_status_t st = 99;
        EXPECT_EQ(r.call(m_binding, &st), r.result);
        EXPECT_EQ(st, 0u);
        PeerCall want = r.sent;
        if (const auto g = guids.find(r.opnum); g != guids.end())
            want.insert(g->second->begin(), g->second->end());
        ExpectDecoded(Next(), want, r.opnum, r.length);
    }
}

TEST_F(RpcConformance, TheProxyDrivesThePurgeProceduresAgainstThePeer)
{
    zyn::rpctest::RemoveAcsIni();
    zyn::rpctest::SetService(L"VideoServerRpcPort", std::to_wstring(m_peer.Port()));
    CCRSRPCServerProxy proxy(CString(L"127.0.0.1"));
    EXPECT_TRUE(proxy.StartVideoArchive(90));
    ExpectDecoded(Next(), {{"days", "90"}}, 4, 4);
    EXPECT_FALSE(proxy.IsVideoArchiveRunning()) << "the peer says the run is over";
    EXPECT_EQ(proxy.LastStatus(), 0) << "a finish, not a failure";
    ExpectDecoded(Next(), {}, 5, 0);
    EXPECT_FALSE(proxy.StartContinuousVideoPurge(7, 30)) << "the peer refuses";
    EXPECT_EQ(proxy.LastStatus(), 0);
    ExpectDecoded(Next(), {{"recorder", "7"}, {"days", "30"}}, 13, 8);
    EXPECT_EQ(proxy.GetContinuousVideoPurgeState(), -5);
    ExpectDecoded(Next(), {}, 14, 0);
    // The proxy copies text into 256-character arguments: 300 characters go as 255.
    const GUID g = proxy.Proc8(CString(L'\u00DF', 300), L"\U0001F600");
    EXPECT_EQ(GuidText(g), GuidText(kPeerGuid));
    WCHAR cut[256];
    Put(cut, std::wstring(255, L'\u00DF'));
    PeerCall want{{"a", Text(cut, 256)}, {"b", "1f600"}};
    AddGuid(want, "guid", GUID{});
    // a: 8 + 512 octets; b at 520: 8 + 3 units to 534; the GUID at 536.
    ExpectDecoded(Next(), want, 8, 552);
    zyn::rpctest::RemoveAcsIni();
}
