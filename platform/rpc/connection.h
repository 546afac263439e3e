#pragma once
// One association of the connection-oriented protocol: a transport that has been bound
// to one interface. It carries one call at a time.
//
// Bind: the client offers context 0 (the interface with NDR 2.0) and its fragment
// sizes; a bind_ack accepting the context fixes the fragment size of the requests
// (the smaller of ours and the server's receive size); a bind_nak or a rejected
// context ends with the status it stands for.
//
// Call: the request goes out in as many fragments as the negotiated size needs; the
// reply is reassembled from its fragments (first and last flags, matching call id and
// context) up to a bounded size. A fault ends the call with its mapped status and
// leaves the connection usable; a time-out, a closed connection or anything malformed
// ends it with a status and makes the connection unusable.

#include <memory>
#include <span>
#include <vector>

#include "platform/rpc/pdu.h"
#include "platform/rpc/rpcndr.h"
#include "platform/rpc/transport.h"

namespace zyn::rpc {

// Largest reply the client reassembles.
inline constexpr size_t kMaxReplySize = 4 * 1024 * 1024;

class Connection {
public:
    Connection(std::unique_ptr<Transport> transport, const RPC_CLIENT_INTERFACE* iface);
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // Binds the interface. RPC_S_SERVER_UNAVAILABLE when the exchange breaks off or times
    // out, RPC_S_PROTOCOL_ERROR for a malformed answer, the refusal's status otherwise.
    RPC_STATUS Bind(Deadline deadline);

    // One call: sends the request and reads the reply stub data into `reply`.
    // `bigEndian` tells the reply's integer representation. The receive time-out and a
    // connection lost during the call give RPC_S_CALL_FAILED.
    RPC_STATUS Call(uint16_t opnum, const GUID* object, std::span<const uint8_t> stub, std::vector<uint8_t>& reply,
        bool& bigEndian, Deadline deadline);

    // False once an exchange went wrong; such a connection is closed, never reused.
    bool Usable() const { return m_usable; }
    // Usable, and nothing left over from an earlier exchange (whether the server is
    // still there shows when the connection is next used: see Stale).
    bool Idle() { return m_usable && m_transport->Idle(); }
    // The last call failed because the server had closed the connection (or announced
    // that it would) before the call reached it: the call may be made again on a new
    // connection.
    bool Stale() const { return m_stale; }

    const RPC_CLIENT_INTERFACE* Interface() const { return m_iface; }
    uint16_t MaxXmitFrag() const { return m_maxXmit; }
    uint16_t MaxRecvFrag() const { return m_maxRecv; }

private:
    // Reads one whole PDU. Ok, or the transport's failure.
    IoResult ReadPdu(std::vector<uint8_t>& pdu, pdu::Header& h, RPC_STATUS& parse, Deadline deadline);

    std::unique_ptr<Transport> m_transport;
    const RPC_CLIENT_INTERFACE* m_iface;
    uint32_t m_nextCallId = 1;
    uint16_t m_maxXmit = pdu::kDefaultFragSize;
    uint16_t m_maxRecv = pdu::kDefaultFragSize;
    bool m_bound = false;
    bool m_usable = true;
    bool m_stale = false;
    std::vector<uint8_t> m_pdu;    // receive buffer, kept between calls
    std::vector<uint8_t> m_out;    // send buffer, kept between calls
};

} // namespace zyn::rpc
