#pragma once
// A recording server for tests and examples: it speaks connection-oriented DCE/RPC 5.0
// for the recording-server interface (ac45ab21-93bd-11d3-99d4-00c04f27a5cd 3.0, NDR 2.0)
// on 127.0.0.1 (an ephemeral port unless one is asked for) and on a local AF_UNIX
// endpoint in the runtime folder, decodes every request with its own code, records what
// it received and answers from a script.
//
// The script can also misbehave on purpose: delay an answer, drop the connection in
// the middle of a call, answer too short, send a fault, send raw octets, hang, cut a
// reply into fragments, answer big-endian, or refuse the bind.

#include <array>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace zyn::rpctest {

using Clock = std::chrono::steady_clock;
using Guid = std::array<uint8_t, 16>; // as it travels: Data1, Data2, Data3 little-endian, then Data4

struct Answer {
    enum class Kind {
        Reply,  // a normal response
        Fault,  // a fault PDU with `faultStatus`
        Drop,   // close the connection without answering
        Short,  // a response whose stub data lacks its last octet
        Raw,    // send `raw` as it is, instead of a response
        Hang,   // never answer (until the server stops)
    };
    Kind kind = Kind::Reply;
    uint8_t boolean = 1;      // procedures with a boolean result (0 to 5, 8 to 13)
    int32_t value = 0;        // procedures 14 and 15
    Guid guid{};              // procedure 8's GUID out
    uint32_t faultStatus = 0;
    uint8_t faultFlags = 0;   // extra header flags of the fault (0x20: did not execute)
    std::chrono::milliseconds delay{0};
    size_t fragmentStub = 0;  // non-zero: cut the reply's stub data into pieces this large
    bool bigEndian = false;   // answer with big-endian integers
    std::vector<uint8_t> raw;

    static Answer Bool(bool b);
    static Answer Long(int32_t v);
    static Answer WithGuid(const Guid& g, bool b = true);
    static Answer FaultWith(uint32_t status, uint8_t flags = 0);
    static Answer DropCall();
    static Answer ShortReply();
    static Answer RawBytes(std::vector<uint8_t> bytes);
    static Answer HangForever();
    Answer& After(std::chrono::milliseconds d)
    {
        delay = d;
        return *this;
    }
};

struct BindPolicy {
    enum class Kind { Accept, Nak, RejectContext, Drop };
    Kind kind = Kind::Accept;
    uint16_t reason = 0;          // bind_nak or context rejection reason
    uint16_t maxRecvFrag = 5840;  // what the server accepts; requests above it are faulted
    uint16_t maxXmitFrag = 5840;
};

struct RecordedCall {
    uint16_t opnum = 0;
    uint32_t callId = 0;
    uint32_t connection = 0;            // 1, 2, ... in order of acceptance
    std::vector<uint8_t> stub;          // reassembled request stub data
    std::vector<std::vector<uint8_t>> pdus; // the request's fragments as received
    bool decoded = false;               // the stub data had the procedure's exact layout
    std::string error;                  // why not
    std::vector<int32_t> longs;         // scalar arguments in order
    std::vector<std::u16string> strings; // [string] arguments, without terminators
    Guid guid{};                        // GUID argument (procedures 8 to 11)
    uint8_t flag = 0;                   // boolean argument (procedure 7)
    Clock::time_point begin, end;       // request complete, answer sent
};

struct ServerOptions {
    bool listenTcp = true;
    uint16_t tcpPort = 0;          // 0: an ephemeral port
    std::string localEndpoint;     // empty: no local endpoint
    BindPolicy bind;
    bool record = true;            // false: keep no records (long benchmark runs)
};

class RecordingServer {
public:
    explicit RecordingServer(ServerOptions options = {});
    ~RecordingServer();
    RecordingServer(const RecordingServer&) = delete;
    RecordingServer& operator=(const RecordingServer&) = delete;

    // Opens the listeners and starts serving. False, with the reason, when a listener
    // cannot be opened.
    bool Start(std::string* error = nullptr);
    // Closes the listeners and every connection, and waits for the threads.
    void Stop();

    uint16_t Port() const { return m_port; }
    const std::string& LocalPath() const { return m_localPath; }

    // Answers for one procedure, used in order; the last one repeats.
    void Script(uint16_t opnum, std::vector<Answer> answers);
    void SetBindPolicy(const BindPolicy& p);
    // Closes the accepted connections (as a restarted server would), keeps listening.
    void DropConnections();

    std::vector<RecordedCall> Calls() const;
    std::vector<RecordedCall> CallsOf(uint16_t opnum) const;
    std::vector<std::vector<uint8_t>> Binds() const;
    int ConnectionsAccepted() const;
    // Connections that ended between two PDUs, from either side, while the server ran.
    int ConnectionsEnded() const;
    int MaxConcurrentCalls() const;
    void ClearRecords();

    // The runtime folder of local endpoints, by the convention the client follows.
    static std::string RuntimeFolder();

private:
    struct Conn;
    void AcceptLoop();
    void Serve(std::shared_ptr<Conn> c);
    Answer NextAnswer(uint16_t opnum);
    bool SleepFor(std::chrono::milliseconds d); // false when the server stops first

    ServerOptions m_options;
    int m_tcpFd = -1;
    int m_unixFd = -1;
    int m_wake[2] = {-1, -1};
    uint16_t m_port = 0;
    std::string m_localPath;
    bool m_running = false;
    std::thread m_acceptor;

    mutable std::mutex m_mutex;
    std::condition_variable m_stopCv;
    bool m_stopping = false;
    std::map<uint16_t, std::deque<Answer>> m_script;
    std::vector<RecordedCall> m_calls;
    std::vector<std::vector<uint8_t>> m_binds;
    std::vector<std::shared_ptr<Conn>> m_conns;
    std::vector<std::thread> m_threads;
    int m_accepted = 0;
    int m_ended = 0;
    int m_active = 0;
    int m_maxActive = 0;
};

} // namespace zyn::rpctest
