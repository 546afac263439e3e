#pragma once
// Connection-oriented DCE/RPC 5.0 protocol data units, as the client sends and reads
// them: the common 16-octet header, bind, bind_ack, bind_nak, request, response and
// fault. The client always sends little-endian ASCII IEEE data representation and no
// authentication; it reads headers in either byte order.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/rpc/rpcndr.h"
#include "platform/rpc/rpcstatus.h"

namespace zyn::rpc::pdu {

enum class Type : uint8_t {
    Request = 0,
    Response = 2,
    Fault = 3,
    Bind = 11,
    BindAck = 12,
    BindNak = 13,
    AlterContext = 14,
    AlterContextResp = 15,
    Shutdown = 17,
    CoCancel = 18,
    Orphaned = 19,
};

inline constexpr uint8_t kFirstFrag = 0x01;
inline constexpr uint8_t kLastFrag = 0x02;
inline constexpr uint8_t kPendingCancel = 0x04;
inline constexpr uint8_t kConcMpx = 0x10;
inline constexpr uint8_t kDidNotExecute = 0x20;
inline constexpr uint8_t kMaybe = 0x40;
inline constexpr uint8_t kObjectUuid = 0x80;

inline constexpr size_t kHeaderSize = 16;
inline constexpr size_t kRequestHeaderSize = 24;  // without an object UUID
inline constexpr size_t kResponseHeaderSize = 24;
inline constexpr size_t kFaultHeaderSize = 32;
inline constexpr uint16_t kDefaultFragSize = 5840; // what the client offers to send and receive
// Smallest fragment the client accepts to send in: a header and eight octets of data.
inline constexpr uint16_t kMinXmitFrag = 32;

struct Header {
    uint8_t versMajor = 5;
    uint8_t versMinor = 0;
    Type type = Type::Request;
    uint8_t flags = 0;
    uint8_t drep[4] = {0x10, 0, 0, 0};
    uint16_t fragLength = 0;
    uint16_t authLength = 0;
    uint32_t callId = 0;

    bool BigEndian() const { return (drep[0] & 0xF0) == 0; }
};

// Reads and checks a common header: version 5.0 or 5.1, a known integer
// representation, a fragment length of at least the header. RPC_S_PROTOCOL_ERROR
// otherwise.
RPC_STATUS ParseHeader(std::span<const uint8_t> bytes, Header& h);

// Encodes a bind offering one presentation context (id 0) for the interface with one
// transfer syntax.
std::vector<uint8_t> EncodeBind(uint32_t callId, uint16_t maxXmit, uint16_t maxRecv, uint32_t assocGroup,
    const RPC_SYNTAX_IDENTIFIER& iface, const RPC_SYNTAX_IDENTIFIER& transfer);

struct BindAck {
    uint16_t maxXmit = 0;
    uint16_t maxRecv = 0;
    uint32_t assocGroup = 0;
    std::string secondaryAddress; // without its terminator
    uint8_t resultCount = 0;
    uint16_t result = 0;          // of the first (our only) context
    uint16_t reason = 0;
    RPC_SYNTAX_IDENTIFIER transfer{};
};

// Parses a whole bind_ack PDU (header included). RPC_S_PROTOCOL_ERROR when it is
// malformed or does not fit its fragment length.
RPC_STATUS ParseBindAck(const Header& h, std::span<const uint8_t> pdu, BindAck& ack);

// Parses a bind_nak; `reason` is the provider's rejection reason.
RPC_STATUS ParseBindNak(const Header& h, std::span<const uint8_t> pdu, uint16_t& reason);

// What a refused bind means to the caller.
RPC_STATUS StatusFromBindNak(uint16_t reason);
RPC_STATUS StatusFromBindResult(uint16_t result, uint16_t reason);

// Appends the request PDUs of one call to `out`: the stub data cut into fragments of at
// most `maxFrag` octets, each carrying a multiple of eight octets except the last.
void EncodeRequest(uint32_t callId, uint16_t contextId, uint16_t opnum, const GUID* object,
    std::span<const uint8_t> stub, uint16_t maxFrag, std::vector<uint8_t>& out);

// The body of a response fragment: context id and stub data.
struct ResponseBody {
    uint32_t allocHint = 0;
    uint16_t contextId = 0;
    std::span<const uint8_t> stub;
};
RPC_STATUS ParseResponse(const Header& h, std::span<const uint8_t> pdu, ResponseBody& body);

struct FaultBody {
    uint16_t contextId = 0;
    uint32_t status = 0;
};
RPC_STATUS ParseFault(const Header& h, std::span<const uint8_t> pdu, FaultBody& body);

// Maps the status of a fault PDU to the caller's status: the protocol's nca_s codes
// become the runtime's statuses, any other value (a server's own code) passes through.
RPC_STATUS StatusFromFault(uint32_t ncaStatus);

void PutGuid(std::vector<uint8_t>& out, const GUID& g);
GUID GetGuid(const uint8_t* p, bool bigEndian);

} // namespace zyn::rpc::pdu
