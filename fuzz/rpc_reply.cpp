// Fuzz target for the RPC client's reply path: whatever a server sends back to a bind
// and a call (bind_ack, bind_nak, response fragments, faults, garbage) goes through the
// same connection code and NDR engine as on a socket, with the recording-server
// interface's descriptors. It must end with a status, never crash or over-read.
//
// Input: octet 0 picks the procedure (low four bits) and whether the harness supplies
// a valid bind_ack itself (bit 6); the rest is the server's byte stream.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/rpc/connection.h"
#include "platform/rpc/ndr.h"
#include "rpc/crs_rpc.h"

namespace {

class MemoryTransport final : public zyn::rpc::Transport {
public:
    explicit MemoryTransport(std::vector<uint8_t> in) : m_in(std::move(in)) {}
    zyn::rpc::IoResult Send(std::span<const uint8_t>, zyn::rpc::Deadline) override { return zyn::rpc::IoResult::Ok; }
    zyn::rpc::IoResult Receive(std::span<uint8_t> data, zyn::rpc::Deadline) override
    {
        if (m_in.size() - m_pos < data.size())
            return zyn::rpc::IoResult::Closed;
        std::memcpy(data.data(), m_in.data() + m_pos, data.size());
        m_pos += data.size();
        return zyn::rpc::IoResult::Ok;
    }
    bool Idle() override { return m_pos == m_in.size(); }

private:
    std::vector<uint8_t> m_in;
    size_t m_pos = 0;
};

const std::vector<uint8_t> kBindAck = {5, 0, 12, 3, 0x10, 0, 0, 0, 60, 0, 0, 0, 1, 0, 0, 0, 0xd0, 0x16, 0xd0, 0x16,
    0x45, 0x23, 0x01, 0x00, 5, 0, '4', '0', '0', '6', 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0x04, 0x5d, 0x88, 0x8a, 0xeb,
    0x1c, 0xc9, 0x11, 0x9f, 0xe8, 0x08, 0x00, 0x2b, 0x10, 0x48, 0x60, 2, 0, 0, 0};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const uint16_t opnum = data[0] & 0x0F;
    std::vector<uint8_t> stream;
    if (data[0] & 0x40)
        stream = kBindAck;
    stream.insert(stream.end(), data + 1, data + size);

    const auto* iface = static_cast<const RPC_CLIENT_INTERFACE*>(CRSRpc_v3_0_c_ifspec);
    const zyn::rpc::ndr::ProcDesc& proc = iface->Procs[opnum];
    const zyn::rpc::ndr::Types types(iface->Types, iface->TypeCount);

    // Zeroed storage for every parameter: records, strings, the GUID and the result.
    std::vector<std::vector<uint64_t>> storage(proc.paramCount, std::vector<uint64_t>(sizeof(Proc0Data) / 8 + 1));
    std::vector<void*> args;
    for (auto& s : storage)
        args.push_back(s.data());

    std::vector<uint8_t> stub;
    if (zyn::rpc::ndr::MarshalIn(proc, types, args.data(), stub) != RPC_S_OK)
        std::abort(); // zeroed arguments always marshal

    zyn::rpc::Connection c(std::make_unique<MemoryTransport>(std::move(stream)), iface);
    const auto deadline = zyn::rpc::Clock::now() + std::chrono::seconds(1);
    if (c.Bind(deadline) != RPC_S_OK)
        return 0;
    std::vector<uint8_t> reply;
    bool big = false;
    const RPC_STATUS st = c.Call(opnum, nullptr, stub, reply, big, deadline);
    if (st != RPC_S_OK) {
        if (!reply.empty())
            std::abort(); // a failed call hands back no data
        return 0;
    }
    zyn::rpc::ndr::UnmarshalOut(proc, types, reply, big, args.data());
    return 0;
}
