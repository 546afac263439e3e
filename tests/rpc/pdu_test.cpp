// The protocol data units against octets computed by hand.
#include <gtest/gtest.h>

#include "platform/rpc/pdu.h"
#include "rpc/crs_rpc.h"
#include "tests/rpc/wire_bytes.h"

using namespace zyn::rpc;
using zyn::rpctest::WireBytes;

namespace {

const RPC_CLIENT_INTERFACE& Crs() { return *static_cast<const RPC_CLIENT_INTERFACE*>(CRSRpc_v3_0_c_ifspec); }

std::vector<uint8_t> Ack(const std::string& secAddr, uint16_t result, uint16_t reason, bool ndr = true)
{
    WireBytes b;
    b.Raw(0, {5, 0, 12, 3, 0x10, 0, 0, 0}).U32(12, 7);
    b.U16(16, 4280).U16(18, 1024).U32(20, 0x5678);
    b.U16(24, static_cast<uint16_t>(secAddr.size() + (secAddr.empty() ? 0 : 1)));
    size_t pos = 26;
    for (char c : secAddr)
        b.U8(pos++, static_cast<uint8_t>(c));
    if (!secAddr.empty())
        b.U8(pos++, 0);
    pos = (pos + 3) / 4 * 4; // hand rule: the result list starts four-aligned
    b.U8(pos, 1);
    b.U16(pos + 4, result).U16(pos + 6, reason);
    if (ndr)
        b.Raw(pos + 8, {0x04, 0x5d, 0x88, 0x8a, 0xeb, 0x1c, 0xc9, 0x11, 0x9f, 0xe8, 0x08, 0x00, 0x2b, 0x10, 0x48, 0x60})
            .U32(pos + 24, 2);
    else
        b.U32(pos + 24, 0);
    b.U16(8, static_cast<uint16_t>(b.Size()));
    return b.Get();
}

} // namespace

TEST(RpcPdu, BindIsExactlyTheHandComputedOctets)
{
    const std::vector<uint8_t> expected = {
        0x05, 0x00, 0x0b, 0x03, 0x10, 0x00, 0x00, 0x00, 0x48, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, // header, 72 octets, call 1
        0xd0, 0x16, 0xd0, 0x16, 0x00, 0x00, 0x00, 0x00,                                                 // 5840/5840, new group
        0x01, 0x00, 0x00, 0x00,                                                                         // one context
        0x00, 0x00, 0x01, 0x00,                                                                         // id 0, one transfer syntax
        0x21, 0xab, 0x45, 0xac, 0xbd, 0x93, 0xd3, 0x11, 0x99, 0xd4, 0x00, 0xc0, 0x4f, 0x27, 0xa5, 0xcd, // interface
        0x03, 0x00, 0x00, 0x00,                                                                         // version 3.0
        0x04, 0x5d, 0x88, 0x8a, 0xeb, 0x1c, 0xc9, 0x11, 0x9f, 0xe8, 0x08, 0x00, 0x2b, 0x10, 0x48, 0x60, // NDR
        0x02, 0x00, 0x00, 0x00,                                                                         // version 2.0
    };
    EXPECT_EQ(pdu::EncodeBind(1, 5840, 5840, 0, Crs().InterfaceId, Crs().TransferSyntax), expected);
}

TEST(RpcPdu, BindAckSecondaryAddressPaddingForEveryLength)
{
    for (const std::string addr : {"", "1", "12", "135", "4006", "49152", "CRSServer_SRV1"}) {
        SCOPED_TRACE(addr);
        const auto bytes = Ack(addr, 0, 0);
        pdu::Header h;
        ASSERT_EQ(pdu::ParseHeader(bytes, h), RPC_S_OK);
        pdu::BindAck ack;
        ASSERT_EQ(pdu::ParseBindAck(h, bytes, ack), RPC_S_OK);
        EXPECT_EQ(ack.maxXmit, 4280);
        EXPECT_EQ(ack.maxRecv, 1024);
        EXPECT_EQ(ack.assocGroup, 0x5678u);
        EXPECT_EQ(ack.secondaryAddress, addr);
        EXPECT_EQ(ack.result, 0);
        EXPECT_EQ(ack.transfer.SyntaxVersion.MajorVersion, 2);
    }
}

TEST(RpcPdu, MalformedBindAcksAreProtocolErrors)
{
    auto bytes = Ack("4006", 0, 0);
    pdu::Header h;
    pdu::BindAck ack;
    // Cut anywhere: the fragment length no longer matches, or the list is missing.
    for (size_t n = 16; n < bytes.size(); ++n) {
        std::vector<uint8_t> cut(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(n));
        cut[8] = static_cast<uint8_t>(n);
        ASSERT_EQ(pdu::ParseHeader(cut, h), RPC_S_OK);
        EXPECT_EQ(pdu::ParseBindAck(h, cut, ack), RPC_S_PROTOCOL_ERROR) << n;
    }
    // A secondary address longer than the PDU.
    auto lying = bytes;
    lying[24] = 0xff;
    ASSERT_EQ(pdu::ParseHeader(lying, h), RPC_S_OK);
    EXPECT_EQ(pdu::ParseBindAck(h, lying, ack), RPC_S_PROTOCOL_ERROR);
    // No results.
    auto none = bytes;
    none[32] = 0;
    ASSERT_EQ(pdu::ParseHeader(none, h), RPC_S_OK);
    EXPECT_EQ(pdu::ParseBindAck(h, none, ack), RPC_S_PROTOCOL_ERROR);
}

TEST(RpcPdu, BindRefusalsMapToStatuses)
{
    EXPECT_EQ(pdu::StatusFromBindResult(0, 0), RPC_S_OK);
    EXPECT_EQ(pdu::StatusFromBindResult(2, 1), RPC_S_UNKNOWN_IF);
    EXPECT_EQ(pdu::StatusFromBindResult(2, 2), RPC_S_UNSUPPORTED_TRANS_SYN);
    EXPECT_EQ(pdu::StatusFromBindResult(1, 0), RPC_S_CALL_FAILED_DNE);
    EXPECT_EQ(pdu::StatusFromBindNak(0), RPC_S_CALL_FAILED_DNE);
    EXPECT_EQ(pdu::StatusFromBindNak(1), RPC_S_SERVER_TOO_BUSY);
    EXPECT_EQ(pdu::StatusFromBindNak(4), RPC_S_PROTOCOL_ERROR);
}

TEST(RpcPdu, RequestsAreCutAtTheNegotiatedSizeInMultiplesOfEight)
{
    std::vector<uint8_t> stub(100);
    for (size_t i = 0; i < stub.size(); ++i)
        stub[i] = static_cast<uint8_t>(i);
    std::vector<uint8_t> out;
    pdu::EncodeRequest(9, 0, 13, nullptr, stub, 60, out); // (60 - 24) rounded down to 8: 32 octets each
    const size_t sizes[] = {32, 32, 32, 4};
    const uint8_t flags[] = {0x01, 0x00, 0x00, 0x02};
    const uint32_t hints[] = {100, 68, 36, 4};
    size_t pos = 0;
    std::vector<uint8_t> joined;
    for (int i = 0; i < 4; ++i) {
        ASSERT_LE(pos + 24, out.size());
        const uint8_t* p = out.data() + pos;
        EXPECT_EQ(p[2], 0);
        EXPECT_EQ(p[3], flags[i]);
        const size_t len = p[8] | (p[9] << 8);
        EXPECT_EQ(len, 24 + sizes[i]);
        EXPECT_LE(len, 60u);
        EXPECT_EQ(p[12], 9);
        EXPECT_EQ(p[16] | (p[17] << 8) | (p[18] << 16), static_cast<int>(hints[i]));
        EXPECT_EQ(p[22], 13); // opnum
        joined.insert(joined.end(), p + 24, p + len);
        pos += len;
    }
    EXPECT_EQ(pos, out.size());
    EXPECT_EQ(joined, stub);
}

TEST(RpcPdu, EmptyStubIsOneFragmentAndObjectUuidMovesTheData)
{
    std::vector<uint8_t> out;
    pdu::EncodeRequest(2, 0, 5, nullptr, {}, 5840, out);
    const std::vector<uint8_t> expected = {0x05, 0x00, 0x00, 0x03, 0x10, 0x00, 0x00, 0x00, 0x18, 0x00, 0x00, 0x00,
        0x02, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x05, 0x00};
    EXPECT_EQ(out, expected);

    out.clear();
    const GUID obj{0x01020304, 0x0506, 0x0708, {9, 10, 11, 12, 13, 14, 15, 16}};
    const std::vector<uint8_t> stub = {0xAA};
    pdu::EncodeRequest(3, 0, 1, &obj, stub, 5840, out);
    ASSERT_EQ(out.size(), 41u);
    EXPECT_EQ(out[3], 0x83);
    EXPECT_EQ(out[24], 0x04);
    EXPECT_EQ(out[27], 0x01);
    EXPECT_EQ(out[40], 0xAA);
}

TEST(RpcPdu, HeadersInEitherByteOrderAndBadOnesRefused)
{
    const std::vector<uint8_t> be = {5, 0, 2, 3, 0x00, 0, 0, 0, 0x00, 0x19, 0x00, 0x00, 0x00, 0x00, 0x01, 0x02};
    pdu::Header h;
    ASSERT_EQ(pdu::ParseHeader(be, h), RPC_S_OK);
    EXPECT_TRUE(h.BigEndian());
    EXPECT_EQ(h.fragLength, 25);
    EXPECT_EQ(h.callId, 0x0102u);
    auto bad = be;
    bad[0] = 4;
    EXPECT_EQ(pdu::ParseHeader(bad, h), RPC_S_PROTOCOL_ERROR);
    bad = be;
    bad[4] = 0x20; // unknown integer representation
    EXPECT_EQ(pdu::ParseHeader(bad, h), RPC_S_PROTOCOL_ERROR);
    bad = be;
    bad[9] = 0x0f; // shorter than a header
    EXPECT_EQ(pdu::ParseHeader(bad, h), RPC_S_PROTOCOL_ERROR);
    EXPECT_EQ(pdu::ParseHeader(std::span<const uint8_t>(be.data(), 15), h), RPC_S_PROTOCOL_ERROR);
}

TEST(RpcPdu, FaultStatusesMapOrPassThrough)
{
    EXPECT_EQ(pdu::StatusFromFault(0x1c010002), RPC_S_PROCNUM_OUT_OF_RANGE);
    EXPECT_EQ(pdu::StatusFromFault(0x1c010003), RPC_S_UNKNOWN_IF);
    EXPECT_EQ(pdu::StatusFromFault(0x1c01000b), RPC_S_PROTOCOL_ERROR);
    EXPECT_EQ(pdu::StatusFromFault(0x1c000012), RPC_S_CALL_FAILED);
    EXPECT_EQ(pdu::StatusFromFault(0x6f7), RPC_X_BAD_STUB_DATA);
    EXPECT_EQ(static_cast<uint32_t>(pdu::StatusFromFault(0xC0000005)), 0xC0000005u);
    EXPECT_NE(pdu::StatusFromFault(0), RPC_S_OK);
}
