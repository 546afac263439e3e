#include "platform/rpc/connection.h"

#include <algorithm>
#include <cstring>

namespace zyn::rpc {
namespace {

bool SameSyntax(const RPC_SYNTAX_IDENTIFIER& a, const RPC_SYNTAX_IDENTIFIER& b)
{
    return std::memcmp(&a.SyntaxGUID, &b.SyntaxGUID, sizeof(GUID)) == 0 &&
        a.SyntaxVersion.MajorVersion == b.SyntaxVersion.MajorVersion &&
        a.SyntaxVersion.MinorVersion == b.SyntaxVersion.MinorVersion;
}

} // namespace

Connection::Connection(std::unique_ptr<Transport> transport, const RPC_CLIENT_INTERFACE* iface)
    : m_transport(std::move(transport)), m_iface(iface)
{
}

IoResult Connection::ReadPdu(std::vector<uint8_t>& pdu, pdu::Header& h, RPC_STATUS& parse, Deadline deadline)
{
    parse = RPC_S_OK;
    pdu.resize(pdu::kHeaderSize);
    IoResult r = m_transport->Receive(pdu, deadline);
    if (r != IoResult::Ok)
        return r;
    parse = pdu::ParseHeader(pdu, h);
    if (parse != RPC_S_OK)
        return IoResult::Ok;
    pdu.resize(h.fragLength);
    return m_transport->Receive(std::span<uint8_t>(pdu).subspan(pdu::kHeaderSize), deadline);
}

RPC_STATUS Connection::Bind(Deadline deadline)
{
    const std::vector<uint8_t> bind = pdu::EncodeBind(m_nextCallId++, pdu::kDefaultFragSize, pdu::kDefaultFragSize, 0,
        m_iface->InterfaceId, m_iface->TransferSyntax);
    if (m_transport->Send(bind, deadline) != IoResult::Ok) {
        m_usable = false;
        return RPC_S_SERVER_UNAVAILABLE;
    }
    pdu::Header h;
    RPC_STATUS parse;
    if (ReadPdu(m_pdu, h, parse, deadline) != IoResult::Ok) {
        m_usable = false;
        return RPC_S_SERVER_UNAVAILABLE;
    }
    if (parse != RPC_S_OK) {
        m_usable = false;
        return parse;
    }
    if (h.type == pdu::Type::BindNak) {
        m_usable = false;
        uint16_t reason = 0;
        const RPC_STATUS st = pdu::ParseBindNak(h, m_pdu, reason);
        return st != RPC_S_OK ? st : pdu::StatusFromBindNak(reason);
    }
    pdu::BindAck ack;
    RPC_STATUS st = pdu::ParseBindAck(h, m_pdu, ack);
    if (st == RPC_S_OK && !(h.flags & pdu::kLastFrag))
        st = RPC_S_PROTOCOL_ERROR;
    if (st != RPC_S_OK) {
        m_usable = false;
        return st;
    }
    st = pdu::StatusFromBindResult(ack.result, ack.reason);
    if (st == RPC_S_OK && !SameSyntax(ack.transfer, m_iface->TransferSyntax))
        st = RPC_S_UNSUPPORTED_TRANS_SYN;
    if (st != RPC_S_OK) {
        m_usable = false;
        return st;
    }
    // The server's receive size bounds our requests; our own offer bounds them too.
    if (ack.maxRecv < pdu::kMinXmitFrag) {
        m_usable = false;
        return RPC_S_PROTOCOL_ERROR;
    }
    m_maxXmit = std::min<uint16_t>(pdu::kDefaultFragSize, ack.maxRecv);
    m_maxRecv = pdu::kDefaultFragSize;
    m_bound = true;
    return RPC_S_OK;
}

RPC_STATUS Connection::Call(uint16_t opnum, const GUID* object, std::span<const uint8_t> stub,
    std::vector<uint8_t>& reply, bool& bigEndian, Deadline deadline)
{
    reply.clear();
    bigEndian = false;
    if (!m_bound || !m_usable)
        return RPC_S_CALL_FAILED_DNE;
    const uint32_t callId = m_nextCallId++;
    m_out.clear();
    pdu::EncodeRequest(callId, 0, opnum, object, stub, m_maxXmit, m_out);
    m_stale = false;
    const IoResult sent = m_transport->Send(m_out, deadline);
    if (sent != IoResult::Ok) {
        m_stale = sent == IoResult::Stale;
        m_usable = false;
        return RPC_S_CALL_FAILED;
    }
    // Every failure from here on drops the connection (unless the fault came whole) and
    // hands back no data.
    auto fail = [&](RPC_STATUS st, bool keepConnection = false) {
        if (!keepConnection)
            m_usable = false;
        reply.clear();
        return st;
    };
    bool first = true;
    for (;;) {
        pdu::Header h;
        RPC_STATUS parse;
        if (ReadPdu(m_pdu, h, parse, deadline) != IoResult::Ok)
            return fail(RPC_S_CALL_FAILED);
        if (parse != RPC_S_OK)
            return fail(parse);
        if (h.callId != callId)
            return fail(RPC_S_PROTOCOL_ERROR);
        if (h.type == pdu::Type::Fault) {
            pdu::FaultBody fault;
            const RPC_STATUS st = pdu::ParseFault(h, m_pdu, fault);
            if (st != RPC_S_OK)
                return fail(st);
            // A whole single-fragment fault leaves the connection in step; a fault after
            // response fragments may leave octets of the call behind.
            return fail(pdu::StatusFromFault(fault.status), first && (h.flags & pdu::kLastFrag));
        }
        if (h.type == pdu::Type::Shutdown)
            return fail(RPC_S_CALL_FAILED);
        pdu::ResponseBody body;
        const RPC_STATUS st = pdu::ParseResponse(h, m_pdu, body);
        if (st != RPC_S_OK)
            return fail(st);
        if (body.contextId != 0 || first != ((h.flags & pdu::kFirstFrag) != 0))
            return fail(RPC_S_PROTOCOL_ERROR);
        if (reply.size() + body.stub.size() > kMaxReplySize)
            return fail(RPC_S_PROTOCOL_ERROR);
        if (first) {
            bigEndian = h.BigEndian();
            reply.reserve(std::min<size_t>(body.allocHint, kMaxReplySize));
        } else if (h.BigEndian() != bigEndian) {
            return fail(RPC_S_PROTOCOL_ERROR); // one reply, one data representation
        }
        reply.insert(reply.end(), body.stub.begin(), body.stub.end());
        first = false;
        if (h.flags & pdu::kLastFrag)
            return RPC_S_OK;
    }
}

} // namespace zyn::rpc
