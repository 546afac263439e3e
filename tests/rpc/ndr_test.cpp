// The NDR engine: its representation rules on small tables, and the recording-server
// interface's requests against octets computed by hand from the records' layouts.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/rpc/ndr.h"
#include "rpc/crs_rpc.h"
#include "tests/rpc/wire_bytes.h"

using namespace zyn::rpc;
using namespace zyn::rpc::ndr;
using zyn::rpctest::WireBytes;

namespace {

const RPC_CLIENT_INTERFACE& Crs() { return *static_cast<const RPC_CLIENT_INTERFACE*>(CRSRpc_v3_0_c_ifspec); }

boolean g_ret; // the return slot the record procedures need

std::vector<uint8_t> MarshalCrs(uint16_t opnum, std::vector<void*> args, RPC_STATUS expect = RPC_S_OK)
{
    std::vector<uint8_t> out;
    EXPECT_EQ(MarshalIn(Crs().Procs[opnum], Types(Crs().Types, Crs().TypeCount), args.data(), out), expect);
    return out;
}

template <size_t N>
void Put(WCHAR (&dst)[N], const wchar_t* text)
{
    std::memset(dst, 0, sizeof dst);
    for (size_t i = 0; text[i] && i < N; ++i)
        dst[i] = text[i];
}

// A small table: struct {byte; long; short; byte}, a wide array of 4, a [string] of 4,
// a union {short disc fixed to 2; case 1: byte; case 2: long}.
struct Small {
    uint8_t a;
    int32_t b;
    int16_t c;
    uint8_t d;
};
constexpr Member kSmall[] = {{0, offsetof(Small, a)}, {1, offsetof(Small, b)}, {2, offsetof(Small, c)},
    {0, offsetof(Small, d)}};
constexpr Arm kArms[] = {{1, 0}, {2, 1}};
constexpr TypeDesc kTable[] = {
    Scalar(Kind::Byte),     // 0
    Scalar(Kind::Long),     // 1
    Scalar(Kind::Short),    // 2
    StructOf(kSmall, 4, 4), // 3
    WideChars(4),           // 4
    FixedString(4),         // 5
    UnionOf(2, 2, kArms, 2, kNoType, 4), // 6
    Scalar(Kind::Boolean),  // 7
    UnionOf(2, 3, kArms, 2, kNoType, 4), // 8: a discriminant with no arm
};

std::vector<uint8_t> One(uint16_t type, void* mem, RPC_STATUS expect = RPC_S_OK, uint8_t flags = kIn)
{
    const ParamDesc p[] = {{flags, type}};
    const ProcDesc proc{0, 1, p};
    std::vector<uint8_t> out;
    void* args[] = {mem};
    EXPECT_EQ(MarshalIn(proc, Types(kTable), args, out), expect);
    return out;
}

} // namespace

TEST(RpcNdr, StructuresAlignTheirMembersAndEndAtTheirLastMember)
{
    // Hand layout, preceded by one octet so that the structure itself aligns to 4:
    // lead@0, pad 1..3, a@4, pad, b@8, c@12, d@14, and the structure ends at 15; the
    // byte after it lands on 15, not on 16 (that trailing gap is NDR64's rule).
    Small s{0xA1, 0x11223344, -2, 0xD4};
    const ParamDesc p[] = {{kIn, 0}, {kIn, 3}, {kIn, 0}, {kIn, 2}};
    const ProcDesc proc{0, 4, p};
    uint8_t lead = 0x77, tail = 0x5E;
    int16_t after = 0x0102;
    void* args[] = {&lead, &s, &tail, &after};
    std::vector<uint8_t> out;
    ASSERT_EQ(MarshalIn(proc, Types(kTable), args, out), RPC_S_OK);
    const std::vector<uint8_t> want = {0x77, 0, 0, 0, 0xA1, 0, 0, 0, 0x44, 0x33, 0x22, 0x11, 0xFE, 0xFF, 0xD4,
        0x5E, 0x02, 0x01}; // tail@15, then the short at 16
    EXPECT_EQ(out, want);

    // Coming back, the same octets give the same values: the reader does not skip a gap
    // that is not there (it would read the tail from 16 and the short from 18).
    const ParamDesc q[] = {{kOut, 0}, {kOut, 3}, {kOut, 0}, {kOut, 2}};
    const ProcDesc back{0, 4, q};
    uint8_t lead2 = 0, tail2 = 0;
    Small s2{};
    int16_t after2 = 0;
    void* outs[] = {&lead2, &s2, &tail2, &after2};
    ASSERT_EQ(UnmarshalOut(back, Types(kTable), want, false, outs), RPC_S_OK);
    EXPECT_EQ(s2.b, 0x11223344);
    EXPECT_EQ(s2.d, 0xD4);
    EXPECT_EQ(tail2, 0x5E);
    EXPECT_EQ(after2, 0x0102);
    // A reply that ends with the structure needs no padding after it either.
    const ProcDesc alone{0, 1, q + 1};
    void* only[] = {&s2};
    EXPECT_EQ(UnmarshalOut(alone, Types(kTable), std::span(want).subspan(4, 11), false, only), RPC_S_OK);
    EXPECT_EQ(UnmarshalOut(alone, Types(kTable), std::span(want).subspan(4, 10), false, only), RPC_X_BAD_STUB_DATA);
}

TEST(RpcNdr, WideArraysAreUtf16UnitsWithSurrogatePairsCounted)
{
    wchar_t text[4] = {L'a', L'\U0001F600', 0, 0};
    EXPECT_EQ(One(4, text), (std::vector<uint8_t>{0x61, 0, 0x3d, 0xd8, 0x00, 0xde, 0, 0}));
    wchar_t full[4] = {L'w', L'x', L'y', L'z'}; // no terminator: all four units travel
    EXPECT_EQ(One(4, full), (std::vector<uint8_t>{'w', 0, 'x', 0, 'y', 0, 'z', 0}));
    wchar_t tooLong[4] = {L'a', L'b', L'c', L'\U0001F600'}; // five units for four slots
    One(4, tooLong, RPC_X_INVALID_BOUND);
}

TEST(RpcNdr, FixedStringsCarryOffsetCountAndTerminator)
{
    wchar_t hi[4] = {L'h', L'i', 0, 0};
    EXPECT_EQ(One(5, hi, RPC_S_OK, kIn | kByRef),
        (std::vector<uint8_t>{0, 0, 0, 0, 3, 0, 0, 0, 'h', 0, 'i', 0, 0, 0}));
    wchar_t unterminated[4] = {L'a', L'b', L'c', L'd'};
    One(5, unterminated, RPC_X_INVALID_BOUND, kIn | kByRef);
    wchar_t pair[4] = {L'a', L'b', L'\U0001F600', 0}; // 3 characters, 5 units with the terminator
    One(5, pair, RPC_X_INVALID_BOUND, kIn | kByRef);
    One(5, nullptr, RPC_X_NULL_REF_POINTER, kIn | kByRef);
}

TEST(RpcNdr, UnionsSendTheFixedArmAfterTheirDiscriminant)
{
    int32_t arm = 0x01020304;
    // Discriminant 2 as a short, then the long arm aligned to 4.
    EXPECT_EQ(One(6, &arm), (std::vector<uint8_t>{2, 0, 0, 0, 4, 3, 2, 1}));
    One(8, &arm, RPC_X_INVALID_TAG);
}

TEST(RpcNdr, NullReferencesAreRefusedBeforeAnythingIsWritten)
{
    const ParamDesc p[] = {{kIn, 1}, {kIn | kByRef, 3}};
    const ProcDesc proc{0, 2, p};
    int32_t v = 5;
    void* args[] = {&v, nullptr};
    std::vector<uint8_t> out;
    EXPECT_EQ(MarshalIn(proc, Types(kTable), args, out), RPC_X_NULL_REF_POINTER);
    EXPECT_TRUE(out.empty());
}

TEST(RpcNdr, RepliesAreCheckedWholeBeforeAnyOutValueIsWritten)
{
    // [in, out] long, [out] wide array of 4, return boolean.
    const ParamDesc p[] = {{kIn | kOut, 1}, {kOut | kByRef, 4}, {kReturn, 7}};
    const ProcDesc proc{0, 3, p};
    int32_t inout = 7;
    wchar_t text[4] = {L'q', 0, 0, 0};
    uint8_t ret = 9;
    void* args[] = {&inout, text, &ret};
    const std::vector<uint8_t> whole = {0x78, 0x56, 0x34, 0x12, 'o', 0, 'k', 0, 0, 0, 0, 0, 2};
    for (size_t n = 0; n < whole.size(); ++n) {
        EXPECT_EQ(UnmarshalOut(proc, Types(kTable), std::span(whole.data(), n), false, args), RPC_X_BAD_STUB_DATA) << n;
        EXPECT_EQ(inout, 7);
        EXPECT_EQ(text[0], L'q');
        EXPECT_EQ(ret, 9);
    }
    ASSERT_EQ(UnmarshalOut(proc, Types(kTable), whole, false, args), RPC_S_OK);
    EXPECT_EQ(inout, 0x12345678);
    EXPECT_EQ(std::wstring(text), L"ok");
    EXPECT_EQ(ret, 1) << "a boolean octet other than 0 reads as true";
    const std::vector<uint8_t> big = {0x12, 0x34, 0x56, 0x78, 0, 'b', 0xd8, 0x3d, 0xde, 0x00, 0, 0, 0};
    ASSERT_EQ(UnmarshalOut(proc, Types(kTable), big, true, args), RPC_S_OK);
    EXPECT_EQ(inout, 0x12345678);
    EXPECT_EQ(std::wstring(text), L"b\U0001F600");
    EXPECT_EQ(ret, 0);
    const std::vector<uint8_t> lone = {0, 0, 0, 0, 0x00, 0xd8, 0, 0, 0, 0, 0, 0, 1}; // unpaired surrogate
    EXPECT_EQ(UnmarshalOut(proc, Types(kTable), lone, false, args), RPC_X_BAD_STUB_DATA);
}

TEST(RpcNdr, RecordingServerTablesAreConsistent)
{
    EXPECT_TRUE(ValidateTypes(Types(Crs().Types, Crs().TypeCount), Crs().Procs, Crs().ProcCount));
    EXPECT_EQ(Crs().ProcCount, 16);
    EXPECT_FALSE(ValidateTypes(Types(kTable), nullptr, 0)) << "the table with a broken union must fail";
}

TEST(RpcNdr, Proc0RecordMatchesItsHandLayout)
{
    Proc0Data d{};
    d.f1 = 0xA1;
    d.f2 = 2;
    d.f3 = 3;
    d.f4 = GUID{0x01020304, 0x0506, 0x0708, {9, 10, 11, 12, 13, 14, 15, 16}};
    Put(d.f5, L"Cam\U0001F600");
    d.f6.f1 = 61;
    d.f6.f2 = 62;
    d.f6.f3 = 63;
    d.f6.f4 = SYSTEMTIME{2024, 5, 3, 17, 8, 30, 15, 250};
    d.f6.f5 = SYSTEMTIME{2025, 1, 0, 1, 0, 0, 0, 0};
    d.f6.f6 = 66;
    d.f6.f7 = 0x67;
    d.f7 = 0xB7;
    d.f8 = 8;
    d.f9 = 9;
    d.f10 = 0xBA;
    d.f11 = 11;
    d.f12 = 0xBC;
    d.f13 = SYSTEMTIME{1999, 12, 5, 31, 23, 59, 59, 999};
    d.f14 = 14;
    d.f15 = 15;
    Put(d.f16, L"x");
    for (auto& c : d.f18)
        c = L'z'; // full, unterminated
    d.f19 = -19;

    // Members in order, each at its own alignment, nothing after a record's last member:
    //   f1 byte 0; f2, f3 longs 4, 8; f4 GUID 12..28 (long 12, shorts 16, 18, bytes 20);
    //   f5 256 units 28..540; f6 the period, aligned to 4 at 540: longs 540, 544, 548,
    //   times 552..568 and 568..584, long 584, byte 588, end 589;
    //   f7 byte 589; f8 long 592 (589 rounded up to 4); f9 long 596; f10 byte 600;
    //   f11 long 604; f12 byte 608; f13 time 610..626 (609 rounded up to 2);
    //   f14, f15 longs 628, 632; f16, f17, f18 512 octets each at 636, 1148, 1660;
    //   f19 long 2172; 2176 octets in all.
    WireBytes w(2176);
    w.U8(0, 0xA1).U32(4, 2).U32(8, 3);
    w.U32(12, 0x01020304).U16(16, 0x0506).U16(18, 0x0708).Raw(20, {9, 10, 11, 12, 13, 14, 15, 16});
    w.Units(28, u"Cam\xD83D\xDE00");
    w.U32(540, 61).U32(544, 62).U32(548, 63);
    const uint16_t st1[] = {2024, 5, 3, 17, 8, 30, 15, 250}, st2[] = {2025, 1, 0, 1, 0, 0, 0, 0},
                   st3[] = {1999, 12, 5, 31, 23, 59, 59, 999};
    for (int i = 0; i < 8; ++i) {
        w.U16(552 + 2 * i, st1[i]).U16(568 + 2 * i, st2[i]).U16(610 + 2 * i, st3[i]);
    }
    w.U32(584, 66).U8(588, 0x67); // the period ends at 589: no padding after it
    w.U8(589, 0xB7).U32(592, 8).U32(596, 9).U8(600, 0xBA).U32(604, 11).U8(608, 0xBC);
    w.U32(628, 14).U32(632, 15);
    w.Units(636, u"x");
    for (int i = 0; i < 256; ++i)
        w.U16(1660 + 2 * i, 'z');
    w.U32(2172, static_cast<uint32_t>(-19));
    ASSERT_EQ(w.Size(), 2176u);

    EXPECT_EQ(MarshalCrs(0, {&d, &g_ret}), w.Get());
    MarshalCrs(0, {nullptr, &g_ret}, RPC_X_NULL_REF_POINTER);
}

TEST(RpcNdr, Proc2RecordSendsItsUnionAsArmOneWhateverTheDefaultArmHolds)
{
    Proc2Data d{};
    std::memset(&d, 0x5A, sizeof d); // garbage everywhere, then the fields we check
    std::memset(d.f2, 0, sizeof d.f2);
    std::memset(d.f15, 0, sizeof d.f15);
    std::memset(d.f16, 0, sizeof d.f16);
    std::memset(d.f21, 0, sizeof d.f21);
    std::memset(d.f22, 0, sizeof d.f22);
    std::memset(d.f29, 0, sizeof d.f29);
    d.f1[0] = 1, d.f1[1] = 2, d.f1[2] = 3;
    Put(d.f2, L"two");
    d.f6[31][23] = 0xEE;
    d.f13 = GUID{0xAABBCCDD, 0x1122, 0x3344, {1, 2, 3, 4, 5, 6, 7, 8}};
    d.f18 = -2;
    d.f24 = 0x24;
    d.f25.arm1[0] = 251, d.f25.arm1[1] = 252, d.f25.arm1[2] = 253;
    d.f25.items[4].f5 = 0x99; // the default arm's memory is not sent
    Put(d.f29, L"end");
    d.f32[3] = 35;

    const std::vector<uint8_t> out = MarshalCrs(2, {&d, &g_ret});
    ASSERT_EQ(out.size(), 1620u);
    WireBytes w(1620);
    w.U32(0, 1).U32(4, 2).U32(8, 3).Units(12, u"two");
    EXPECT_TRUE(std::equal(w.Get().begin(), w.Get().begin() + 268, out.begin()));
    EXPECT_EQ(out[1095], 0xEE);                 // f6[31][23] at 328 + 31*24 + 23
    EXPECT_EQ(out[1140], 0xDD);                 // GUID at 1140
    EXPECT_EQ(out[1147], 0x33);
    EXPECT_EQ(out[1296], 0xFE);                 // short at 1296
    EXPECT_EQ(out[1492], 0x24);                 // byte at 1492
    EXPECT_EQ(out[1493], 0);                    // padding before the discriminant
    EXPECT_EQ(out[1494], 1);                    // discriminant 1 at 1494
    EXPECT_EQ(out[1495], 0);
    EXPECT_EQ(out[1496], 251);                  // arm 1 at 1496
    EXPECT_EQ(out[1500], 252);
    EXPECT_EQ(out[1504], 253);
    EXPECT_EQ(out[1532], 'e');                  // f29 at 1532
    EXPECT_EQ(out[1616], 35);                   // last long at 1616
    EXPECT_EQ(out[1521], 0);                    // padding after the five bytes
    EXPECT_EQ(out[1602], 0);                    // padding after the two bytes
}

TEST(RpcNdr, Proc12RecordPadsBetweenEntriesButNotAfterTheLast)
{
    Proc12Data d{};
    d.f1[0] = 1, d.f1[1] = 2, d.f1[2] = 3;
    d.f2 = 0x1234;
    d.f3 = 0x56;
    for (int i = 0; i < 6; ++i)
        for (int j = 0; j < 6; ++j)
            d.f4[i][j] = static_cast<BYTE>(i * 6 + j);
    d.f5 = 0xA5;
    d.f6 = 0xA6;
    for (int k = 0; k < 6; ++k)
        d.f7[k] = Proc12Entry{static_cast<SHORT>(k * 10), static_cast<SHORT>(-k), static_cast<BYTE>(k)};
    d.f8[0] = 7, d.f8[1] = 8, d.f8[2] = 9;
    d.f9 = 0x99;

    // f1 longs 0..12; f2 short 12; f3 byte 14; f4 36 bytes 15..51; f5, f6 bytes 51, 52;
    // f7 six entries {short, short, byte} of five octets, each aligned to 2: 54, 60, 66,
    // 72, 78, 84 (the last ends at 89); f8 bytes 89..92; f9 byte 92: 93 octets.
    WireBytes w(93);
    w.U32(0, 1).U32(4, 2).U32(8, 3).U16(12, 0x1234).U8(14, 0x56);
    for (int i = 0; i < 36; ++i)
        w.U8(15 + i, static_cast<uint8_t>(i));
    w.U8(51, 0xA5).U8(52, 0xA6);
    for (int k = 0; k < 6; ++k)
        w.U16(54 + 6 * k, static_cast<uint16_t>(k * 10)).U16(56 + 6 * k, static_cast<uint16_t>(-k)).U8(58 + 6 * k,
            static_cast<uint8_t>(k));
    w.Raw(89, {7, 8, 9, 0x99});
    ASSERT_EQ(w.Size(), 93u);
    EXPECT_EQ(MarshalCrs(12, {&d, &g_ret}), w.Get());
}

TEST(RpcNdr, StringAndGuidProceduresMatchTheirHandLayout)
{
    WCHAR text[256] = {};
    Put(text, L"Hello");
    boolean flag = 1;
    WireBytes p7;
    p7.U32(0, 0).U32(4, 6).Units(8, u"Hello").U16(18, 0).U8(20, 1);
    EXPECT_EQ(MarshalCrs(7, {text, &flag}), p7.Get());

    WCHAR a[256] = {}, b[256] = {};
    Put(a, L"A\U0001F600");
    GUID g{0x10203040, 0x5060, 0x7080, {0x90, 0xA0, 0xB0, 0xC0, 0xD0, 0xE0, 0xF0, 0x01}};
    boolean r = 0;
    WireBytes p8;
    p8.U32(0, 0).U32(4, 4).Units(8, u"A\xD83D\xDE00").U16(14, 0); // 16 octets
    p8.U32(16, 0).U32(20, 1).U16(24, 0);                          // empty string, ends at 26
    p8.U32(28, 0x10203040).U16(32, 0x5060).U16(34, 0x7080).Raw(36, {0x90, 0xA0, 0xB0, 0xC0, 0xD0, 0xE0, 0xF0, 0x01});
    EXPECT_EQ(MarshalCrs(8, {a, b, &g, &r}), p8.Get());
    MarshalCrs(8, {a, b, nullptr, &r}, RPC_X_NULL_REF_POINTER);

    WireBytes p9;
    p9.U32(0, 0x10203040).U16(4, 0x5060).U16(6, 0x7080).Raw(8, {0x90, 0xA0, 0xB0, 0xC0, 0xD0, 0xE0, 0xF0, 0x01});
    EXPECT_EQ(MarshalCrs(9, {&g, &r}), p9.Get());

    LONG x = 5, y = -30;
    EXPECT_EQ(MarshalCrs(13, {&x, &y, &r}), (std::vector<uint8_t>{5, 0, 0, 0, 0xE2, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(MarshalCrs(4, {&y, &r}), (std::vector<uint8_t>{0xE2, 0xFF, 0xFF, 0xFF}));
    EXPECT_TRUE(MarshalCrs(5, {&r}).empty());
}

TEST(RpcNdr, ScalarsUnionDiscriminantsAndArraysOfEveryWidthRoundTrip)
{
    static constexpr Arm kByteArm[] = {{-3, 0}}, kShortArm[] = {{-3, 1}}, kLongArm[] = {{-3, 2}};
    constexpr TypeDesc table[] = {
        Scalar(Kind::Byte), Scalar(Kind::Short), Scalar(Kind::Long), Scalar(Kind::Hyper),
        UnionOf(0, -3, kByteArm, 1, kNoType, 1),  // 4: byte discriminant, byte arm
        UnionOf(2, -3, kShortArm, 1, kNoType, 2), // 5: long discriminant, short arm
        UnionOf(3, -3, kLongArm, 1, kNoType, 4),  // 6: hyper discriminant, long arm
        ArrayOf(1, 3, 2, 2),                      // 7: three shorts
    };
    uint8_t b = 0x81, u4 = 0x55;
    int16_t s = -2, u5 = 0x1234, arr[3] = {1, -1, 2};
    int32_t l = -3, u6 = 0x0A0B0C0D;
    int64_t h = -4;
    void* args[] = {&b, &s, &l, &h, &u4, &u5, &u6, arr};
    ParamDesc in[8], out[8];
    for (uint16_t i = 0; i < 8; ++i) {
        in[i] = ParamDesc{kIn, i};
        out[i] = ParamDesc{kOut, i};
    }
    const ProcDesc send{0, 8, in}, receive{0, 8, out};
    ASSERT_TRUE(ValidateTypes(Types(table), &send, 1));
    std::vector<uint8_t> wire;
    ASSERT_EQ(MarshalIn(send, Types(table), args, wire), RPC_S_OK);
    const std::vector<uint8_t> expected = {
        0x81, 0,                                        // byte, pad to 2
        0xFE, 0xFF,                                     // short
        0xFD, 0xFF, 0xFF, 0xFF,                         // long
        0xFC, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, // hyper
        0xFD, 0x55,                                     // byte discriminant, byte arm
        0, 0, 0xFD, 0xFF, 0xFF, 0xFF, 0x34, 0x12,       // long discriminant, short arm
        0, 0, 0, 0, 0, 0,                               // pad to 8
        0xFD, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x0D, 0x0C, 0x0B, 0x0A, // hyper discriminant, long arm
        1, 0, 0xFF, 0xFF, 2, 0,                         // the array
    };
    EXPECT_EQ(wire, expected);

    uint8_t b2 = 0, u42 = 0;
    int16_t s2 = 0, u52 = 0, arr2[3] = {};
    int32_t l2 = 0, u62 = 0;
    int64_t h2 = 0;
    void* back[] = {&b2, &s2, &l2, &h2, &u42, &u52, &u62, arr2};
    ASSERT_EQ(UnmarshalOut(receive, Types(table), wire, false, back), RPC_S_OK);
    EXPECT_EQ(b2, b);
    EXPECT_EQ(s2, s);
    EXPECT_EQ(l2, l);
    EXPECT_EQ(h2, h);
    EXPECT_EQ(u42, u4);
    EXPECT_EQ(u52, u5);
    EXPECT_EQ(u62, u6);
    EXPECT_EQ(std::memcmp(arr2, arr, sizeof arr), 0);
}
