#include "platform/rpc/pdu.h"

#include <cstring>

namespace zyn::rpc::pdu {
namespace {

void Put16(std::vector<uint8_t>& o, uint16_t v)
{
    o.push_back(static_cast<uint8_t>(v));
    o.push_back(static_cast<uint8_t>(v >> 8));
}
void Put32(std::vector<uint8_t>& o, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        o.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
void Set16(std::vector<uint8_t>& o, size_t at, uint16_t v)
{
    o[at] = static_cast<uint8_t>(v);
    o[at + 1] = static_cast<uint8_t>(v >> 8);
}

uint16_t Get16(const uint8_t* p, bool big)
{
    return big ? static_cast<uint16_t>((p[0] << 8) | p[1]) : static_cast<uint16_t>(p[0] | (p[1] << 8));
}
uint32_t Get32(const uint8_t* p, bool big)
{
    return big ? (static_cast<uint32_t>(p[0]) << 24) | (static_cast<uint32_t>(p[1]) << 16) |
            (static_cast<uint32_t>(p[2]) << 8) | p[3]
               : p[0] | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
            (static_cast<uint32_t>(p[3]) << 24);
}

void PutHeader(std::vector<uint8_t>& o, Type type, uint8_t flags, uint32_t callId)
{
    o.push_back(5);
    o.push_back(0);
    o.push_back(static_cast<uint8_t>(type));
    o.push_back(flags);
    o.push_back(0x10); // little-endian integers, ASCII characters
    o.push_back(0);    // IEEE floating point
    o.push_back(0);
    o.push_back(0);
    Put16(o, 0); // fragment length, set when the PDU is complete
    Put16(o, 0); // no authentication
    Put32(o, callId);
}

void PutSyntax(std::vector<uint8_t>& o, const RPC_SYNTAX_IDENTIFIER& s)
{
    PutGuid(o, s.SyntaxGUID);
    Put16(o, s.SyntaxVersion.MajorVersion);
    Put16(o, s.SyntaxVersion.MinorVersion);
}

// The PDU must be whole (frag_length octets) and carry no authentication data, which
// this client never asks for.
bool Whole(const Header& h, std::span<const uint8_t> pdu, size_t minSize)
{
    return h.fragLength == pdu.size() && pdu.size() >= minSize && h.authLength == 0;
}

} // namespace

void PutGuid(std::vector<uint8_t>& out, const GUID& g)
{
    Put32(out, g.Data1);
    Put16(out, g.Data2);
    Put16(out, g.Data3);
    out.insert(out.end(), g.Data4, g.Data4 + 8);
}

GUID GetGuid(const uint8_t* p, bool big)
{
    GUID g{};
    g.Data1 = Get32(p, big);
    g.Data2 = Get16(p + 4, big);
    g.Data3 = Get16(p + 6, big);
    std::memcpy(g.Data4, p + 8, 8);
    return g;
}

RPC_STATUS ParseHeader(std::span<const uint8_t> b, Header& h)
{
    if (b.size() < kHeaderSize)
        return RPC_S_PROTOCOL_ERROR;
    h.versMajor = b[0];
    h.versMinor = b[1];
    h.type = static_cast<Type>(b[2]);
    h.flags = b[3];
    std::memcpy(h.drep, b.data() + 4, 4);
    if (h.versMajor != 5 || h.versMinor > 1)
        return RPC_S_PROTOCOL_ERROR;
    const uint8_t intRep = h.drep[0] & 0xF0;
    if (intRep != 0x10 && intRep != 0x00)
        return RPC_S_PROTOCOL_ERROR;
    const bool big = h.BigEndian();
    h.fragLength = Get16(b.data() + 8, big);
    h.authLength = Get16(b.data() + 10, big);
    h.callId = Get32(b.data() + 12, big);
    if (h.fragLength < kHeaderSize)
        return RPC_S_PROTOCOL_ERROR;
    return RPC_S_OK;
}

std::vector<uint8_t> EncodeBind(uint32_t callId, uint16_t maxXmit, uint16_t maxRecv, uint32_t assocGroup,
    const RPC_SYNTAX_IDENTIFIER& iface, const RPC_SYNTAX_IDENTIFIER& transfer)
{
    std::vector<uint8_t> o;
    o.reserve(72);
    PutHeader(o, Type::Bind, kFirstFrag | kLastFrag, callId);
    Put16(o, maxXmit);
    Put16(o, maxRecv);
    Put32(o, assocGroup);
    o.push_back(1); // one presentation context
    o.push_back(0);
    Put16(o, 0);
    Put16(o, 0);    // context id 0
    o.push_back(1); // one transfer syntax
    o.push_back(0);
    PutSyntax(o, iface);
    PutSyntax(o, transfer);
    Set16(o, 8, static_cast<uint16_t>(o.size()));
    return o;
}

RPC_STATUS ParseBindAck(const Header& h, std::span<const uint8_t> pdu, BindAck& ack)
{
    if (h.type != Type::BindAck || !Whole(h, pdu, kHeaderSize + 10))
        return RPC_S_PROTOCOL_ERROR;
    const bool big = h.BigEndian();
    const uint8_t* p = pdu.data();
    ack.maxXmit = Get16(p + 16, big);
    ack.maxRecv = Get16(p + 18, big);
    ack.assocGroup = Get32(p + 20, big);
    const size_t addrLen = Get16(p + 24, big);
    size_t pos = 26;
    if (pdu.size() - pos < addrLen)
        return RPC_S_PROTOCOL_ERROR;
    // The secondary address counts its terminator; keep the text before it.
    ack.secondaryAddress.assign(reinterpret_cast<const char*>(p + pos), addrLen);
    if (const auto nul = ack.secondaryAddress.find('\0'); nul != std::string::npos)
        ack.secondaryAddress.resize(nul);
    pos += addrLen;
    pos = (pos + 3) & ~size_t{3}; // the result list starts four-aligned from the PDU's start
    if (pos > pdu.size() || pdu.size() - pos < 4)
        return RPC_S_PROTOCOL_ERROR;
    ack.resultCount = p[pos];
    pos += 4;
    if (ack.resultCount == 0)
        return RPC_S_PROTOCOL_ERROR;
    if (pdu.size() - pos < static_cast<size_t>(ack.resultCount) * 24)
        return RPC_S_PROTOCOL_ERROR;
    ack.result = Get16(p + pos, big);
    ack.reason = Get16(p + pos + 2, big);
    ack.transfer.SyntaxGUID = GetGuid(p + pos + 4, big);
    ack.transfer.SyntaxVersion.MajorVersion = Get16(p + pos + 20, big);
    ack.transfer.SyntaxVersion.MinorVersion = Get16(p + pos + 22, big);
    return RPC_S_OK;
}

RPC_STATUS ParseBindNak(const Header& h, std::span<const uint8_t> pdu, uint16_t& reason)
{
    // The list of supported protocol versions that may follow is of no use to a 5.0 client.
    if (h.type != Type::BindNak || h.fragLength != pdu.size() || pdu.size() < kHeaderSize + 2)
        return RPC_S_PROTOCOL_ERROR;
    reason = Get16(pdu.data() + 16, h.BigEndian());
    return RPC_S_OK;
}

RPC_STATUS StatusFromBindNak(uint16_t reason)
{
    switch (reason) {
    case 1: // temporary congestion
    case 2: // local limit exceeded
        return RPC_S_SERVER_TOO_BUSY;
    case 4: // protocol version not supported
        return RPC_S_PROTOCOL_ERROR;
    case 8: // authentication type not recognised
        return RPC_S_UNKNOWN_AUTHN_SERVICE;
    default:
        return RPC_S_CALL_FAILED_DNE;
    }
}

RPC_STATUS StatusFromBindResult(uint16_t result, uint16_t reason)
{
    if (result == 0)
        return RPC_S_OK;
    switch (reason) {
    case 1: // abstract syntax not supported
        return RPC_S_UNKNOWN_IF;
    case 2: // proposed transfer syntaxes not supported
        return RPC_S_UNSUPPORTED_TRANS_SYN;
    case 3: // local limit exceeded
        return RPC_S_SERVER_TOO_BUSY;
    default:
        return RPC_S_CALL_FAILED_DNE;
    }
}

void EncodeRequest(uint32_t callId, uint16_t contextId, uint16_t opnum, const GUID* object,
    std::span<const uint8_t> stub, uint16_t maxFrag, std::vector<uint8_t>& out)
{
    const size_t headerSize = kRequestHeaderSize + (object ? 16 : 0);
    // Every fragment but the last carries a multiple of eight octets of stub data.
    size_t perFrag = maxFrag > headerSize + 8 ? (maxFrag - headerSize) & ~size_t{7} : 8;
    size_t offset = 0;
    bool first = true;
    do {
        const size_t remaining = stub.size() - offset;
        const size_t n = remaining < perFrag ? remaining : perFrag;
        const bool last = offset + n == stub.size();
        uint8_t flags = (first ? kFirstFrag : 0) | (last ? kLastFrag : 0) | (object ? kObjectUuid : 0);
        const size_t start = out.size();
        PutHeader(out, Type::Request, flags, callId);
        Put32(out, static_cast<uint32_t>(remaining)); // allocation hint: what is still to come
        Put16(out, contextId);
        Put16(out, opnum);
        if (object)
            PutGuid(out, *object);
        out.insert(out.end(), stub.begin() + static_cast<std::ptrdiff_t>(offset),
            stub.begin() + static_cast<std::ptrdiff_t>(offset + n));
        Set16(out, start + 8, static_cast<uint16_t>(out.size() - start));
        offset += n;
        first = false;
    } while (offset < stub.size());
}

RPC_STATUS ParseResponse(const Header& h, std::span<const uint8_t> pdu, ResponseBody& body)
{
    if (h.type != Type::Response || !Whole(h, pdu, kResponseHeaderSize))
        return RPC_S_PROTOCOL_ERROR;
    const bool big = h.BigEndian();
    body.allocHint = Get32(pdu.data() + 16, big);
    body.contextId = Get16(pdu.data() + 20, big);
    body.stub = pdu.subspan(kResponseHeaderSize);
    return RPC_S_OK;
}

RPC_STATUS ParseFault(const Header& h, std::span<const uint8_t> pdu, FaultBody& body)
{
    if (h.type != Type::Fault || h.fragLength != pdu.size() || pdu.size() < kFaultHeaderSize - 4)
        return RPC_S_PROTOCOL_ERROR;
    const bool big = h.BigEndian();
    body.contextId = Get16(pdu.data() + 20, big);
    body.status = Get32(pdu.data() + 24, big);
    return RPC_S_OK;
}

RPC_STATUS StatusFromFault(uint32_t s)
{
    switch (s) {
    case 0x1C000001u: return RPC_S_ZERO_DIVIDE;
    case 0x1C000002u: return RPC_S_ADDRESS_ERROR;
    case 0x1C000003u: return RPC_S_FP_DIV_ZERO;
    case 0x1C000004u: return RPC_S_FP_UNDERFLOW;
    case 0x1C000005u: return RPC_S_FP_OVERFLOW;
    case 0x1C000006u: return RPC_S_INVALID_TAG;
    case 0x1C000007u: return RPC_S_INVALID_BOUND;
    case 0x1C00000Du: return RPC_S_CALL_CANCELLED;
    case 0x1C000012u: return RPC_S_CALL_FAILED;       // unspecified
    case 0x1C010002u: return RPC_S_PROCNUM_OUT_OF_RANGE;
    case 0x1C010003u: return RPC_S_UNKNOWN_IF;
    case 0x1C01000Bu: return RPC_S_PROTOCOL_ERROR;
    case 0x1C010014u: return RPC_S_SERVER_TOO_BUSY;
    case 0x1C010017u: return RPC_S_UNSUPPORTED_TYPE;
    case 0: return RPC_S_CALL_FAILED;                 // a fault is never a success
    default: return static_cast<RPC_STATUS>(s);
    }
}

} // namespace zyn::rpc::pdu
