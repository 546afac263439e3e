#include "tests/rpc/server/recording_server.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace zyn::rpctest {
namespace {

// ac45ab21-93bd-11d3-99d4-00c04f27a5cd and 8a885d04-1ceb-11c9-9fe8-08002b104860, as
// they travel (little-endian fields).
constexpr uint8_t kInterface[16] = {0x21, 0xab, 0x45, 0xac, 0xbd, 0x93, 0xd3, 0x11, 0x99, 0xd4, 0x00, 0xc0, 0x4f,
    0x27, 0xa5, 0xcd};
constexpr uint8_t kNdr[16] = {0x04, 0x5d, 0x88, 0x8a, 0xeb, 0x1c, 0xc9, 0x11, 0x9f, 0xe8, 0x08, 0x00, 0x2b, 0x10,
    0x48, 0x60};

constexpr uint32_t kFaultOpRange = 0x1c010002;  // operation number out of range
constexpr uint32_t kFaultUnknownIf = 0x1c010003;
constexpr uint32_t kFaultProtocol = 0x1c01000b;
constexpr uint32_t kFaultBadStubData = 0x000006f7;

uint16_t Le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t Le32(const uint8_t* p)
{
    return p[0] | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
        (static_cast<uint32_t>(p[3]) << 24);
}

// Writes integers in the reply's byte order.
struct Out {
    std::vector<uint8_t> b;
    bool big = false;
    void U8(uint8_t v) { b.push_back(v); }
    void U16(uint16_t v)
    {
        if (big) {
            b.push_back(static_cast<uint8_t>(v >> 8));
            b.push_back(static_cast<uint8_t>(v));
        } else {
            b.push_back(static_cast<uint8_t>(v));
            b.push_back(static_cast<uint8_t>(v >> 8));
        }
    }
    void U32(uint32_t v)
    {
        for (int i = 0; i < 4; ++i)
            b.push_back(static_cast<uint8_t>(v >> (big ? 8 * (3 - i) : 8 * i)));
    }
    void Bytes(const uint8_t* p, size_t n) { b.insert(b.end(), p, p + n); }
    void Header(uint8_t type, uint8_t flags, uint32_t callId)
    {
        const uint8_t h[8] = {5, 0, type, flags, static_cast<uint8_t>(big ? 0x00 : 0x10), 0, 0, 0};
        Bytes(h, 8);
        U16(0); // length, patched by Finish
        U16(0);
        U32(callId);
    }
    void Finish(size_t start)
    {
        const auto len = static_cast<uint16_t>(b.size() - start);
        if (big) {
            b[start + 8] = static_cast<uint8_t>(len >> 8);
            b[start + 9] = static_cast<uint8_t>(len);
        } else {
            b[start + 8] = static_cast<uint8_t>(len);
            b[start + 9] = static_cast<uint8_t>(len >> 8);
        }
    }
    // A GUID given in little-endian wire order, re-ordered for a big-endian reply.
    void Guid16(const Guid& g)
    {
        if (!big) {
            Bytes(g.data(), 16);
            return;
        }
        U32(Le32(g.data()));
        U16(Le16(g.data() + 4));
        U16(Le16(g.data() + 6));
        Bytes(g.data() + 8, 8);
    }
};

// Reads a connection through a buffer, so a whole PDU usually takes one system call.
class BufferedReader {
public:
    explicit BufferedReader(int fd) : m_fd(fd), m_buf(16384) {}
    bool Read(uint8_t* p, size_t n)
    {
        while (n > 0) {
            if (m_begin == m_end) {
                const ssize_t r = ::recv(m_fd, m_buf.data(), m_buf.size(), 0);
                if (r < 0 && errno == EINTR)
                    continue;
                if (r <= 0)
                    return false;
                m_begin = 0;
                m_end = static_cast<size_t>(r);
            }
            const size_t k = std::min(n, m_end - m_begin);
            std::memcpy(p, m_buf.data() + m_begin, k);
            m_begin += k;
            p += k;
            n -= k;
        }
        return true;
    }

private:
    int m_fd;
    std::vector<uint8_t> m_buf;
    size_t m_begin = 0;
    size_t m_end = 0;
};

bool WriteAll(int fd, const std::vector<uint8_t>& b)
{
    size_t done = 0;
    while (done < b.size()) {
        const ssize_t r = ::send(fd, b.data() + done, b.size() - done, MSG_NOSIGNAL);
        if (r > 0)
            done += static_cast<size_t>(r);
        else if (r < 0 && errno == EINTR)
            continue;
        else
            return false;
    }
    return true;
}

// One [string] argument: offset 0, actual count, that many UTF-16 units, the last one 0.
bool ReadString(const std::vector<uint8_t>& s, size_t& pos, std::u16string& out, std::string& err)
{
    pos = (pos + 3) & ~size_t{3};
    if (s.size() < pos + 8) {
        err = "string header missing";
        return false;
    }
    const uint32_t offset = Le32(&s[pos]);
    const uint32_t count = Le32(&s[pos + 4]);
    pos += 8;
    if (offset != 0 || count == 0 || count > 256) {
        err = "bad string offset or count";
        return false;
    }
    if (s.size() < pos + 2 * size_t{count}) {
        err = "string data missing";
        return false;
    }
    out.resize(count);
    for (uint32_t i = 0; i < count; ++i)
        out[i] = static_cast<char16_t>(Le16(&s[pos + 2 * i]));
    pos += 2 * size_t{count};
    if (out.back() != 0) {
        err = "string not terminated";
        return false;
    }
    out.pop_back();
    if (out.find(u'\0') != std::u16string::npos) {
        err = "string has an embedded terminator";
        return false;
    }
    return true;
}

// Decodes the arguments of a request by each procedure's wire layout.
void Decode(RecordedCall& c)
{
    const std::vector<uint8_t>& s = c.stub;
    auto exact = [&](size_t n) {
        if (s.size() == n)
            return true;
        c.error = "stub data of " + std::to_string(s.size()) + " octets, expected " + std::to_string(n);
        return false;
    };
    auto longsAt = [&](std::initializer_list<size_t> offsets) {
        for (size_t o : offsets)
            c.longs.push_back(static_cast<int32_t>(Le32(&s[o])));
    };
    switch (c.opnum) {
    case 0:
        // Proc0Data, each member at its own alignment and nothing after a record's last
        // member: byte 0, longs 4 and 8, GUID 12..28, text 28..540; the period record
        // (aligned to 4) has longs 540, 544, 548, times 552..568 and 568..584, long 584,
        // byte 588 and ends at 589; byte 589, longs 592 and 596, byte 600, long 604,
        // byte 608, time 610..626, longs 628 and 632, texts 636, 1148 and 1660 (512
        // octets each), long 2172: 2176 octets.
        if (!exact(2176))
            return;
        longsAt({4, 8, 592, 596, 604, 628, 632, 2172});
        for (size_t o : {28u, 636u, 1148u, 1660u}) {
            std::u16string t;
            for (size_t i = 0; i < 256 && Le16(&s[o + 2 * i]) != 0; ++i)
                t.push_back(static_cast<char16_t>(Le16(&s[o + 2 * i])));
            c.strings.push_back(t);
        }
        break;
    case 2:
        // Proc2Data with the union as arm 1: ... bytes at 1492, the discriminant (a
        // short) at 1494, arm 1's three longs from 1496 (aligned to 4) to 1508, ..., the
        // last four longs 1604..1620. No record inside ends in a gap (the GUID is 16
        // octets), so this length is the same with or without trailing padding.
        if (!exact(1620))
            return;
        if (Le16(&s[1494]) != 1) {
            c.error = "union discriminant is not 1";
            return;
        }
        longsAt({0, 4, 8, 1496, 1500, 1504, 1616});
        break;
    case 12:
        // Proc12Data: longs 0..12, short 12, byte 14, 36 bytes 15..51, bytes 51 and 52;
        // six entries {short, short, byte} of five octets, each aligned to 2: 54, 60,
        // 66, 72, 78 and 84, the last ending at 89; three bytes 89..92, byte 92: 93 octets.
        if (!exact(93))
            return;
        longsAt({0, 4, 8});
        break;
    case 1:
    case 4:
    case 6:
        if (!exact(4))
            return;
        longsAt({0});
        break;
    case 3:
    case 13:
        if (!exact(8))
            return;
        longsAt({0, 4});
        break;
    case 5:
    case 14:
    case 15:
        if (!exact(0))
            return;
        break;
    case 7: {
        size_t pos = 0;
        std::u16string t;
        if (!ReadString(s, pos, t, c.error))
            return;
        c.strings.push_back(t);
        if (!exact(pos + 1))
            return;
        c.flag = s[pos];
        break;
    }
    case 8: {
        size_t pos = 0;
        std::u16string a, b;
        if (!ReadString(s, pos, a, c.error) || !ReadString(s, pos, b, c.error))
            return;
        c.strings.push_back(a);
        c.strings.push_back(b);
        pos = (pos + 3) & ~size_t{3};
        if (!exact(pos + 16))
            return;
        std::copy(s.begin() + static_cast<std::ptrdiff_t>(pos), s.end(), c.guid.begin());
        break;
    }
    case 9:
    case 10:
    case 11:
        if (!exact(16))
            return;
        std::copy(s.begin(), s.end(), c.guid.begin());
        break;
    default:
        c.error = "no such procedure";
        return;
    }
    c.decoded = true;
}

// The reply's stub data for a procedure.
std::vector<uint8_t> ReplyStub(uint16_t opnum, const Answer& a, const RecordedCall& call)
{
    Out o;
    o.big = a.bigEndian;
    switch (opnum) {
    case 6:
    case 7:
        break;
    case 8: {
        o.Guid16(a.guid);
        o.U8(a.boolean);
        break;
    }
    case 14:
    case 15:
        o.U32(static_cast<uint32_t>(a.value));
        break;
    default:
        o.U8(a.boolean);
        break;
    }
    return o.b;
}

std::vector<uint8_t> FaultPdu(uint32_t callId, uint32_t status, uint8_t extraFlags, bool big)
{
    Out o;
    o.big = big;
    o.Header(3, 0x03 | extraFlags, callId);
    o.U32(0);  // allocation hint
    o.U16(0);  // context
    o.U8(0);   // cancel count
    o.U8(0);
    o.U32(status);
    o.U32(0);
    o.Finish(0);
    return o.b;
}

std::vector<uint8_t> ResponsePdus(uint32_t callId, const std::vector<uint8_t>& stub, size_t piece, bool big)
{
    Out o;
    o.big = big;
    if (piece == 0)
        piece = stub.size() ? stub.size() : 1;
    size_t offset = 0;
    do {
        const size_t n = std::min(piece, stub.size() - offset);
        const size_t start = o.b.size();
        const uint8_t flags = static_cast<uint8_t>((offset == 0 ? 0x01 : 0) | (offset + n == stub.size() ? 0x02 : 0));
        o.Header(2, flags, callId);
        o.U32(static_cast<uint32_t>(stub.size() - offset));
        o.U16(0);
        o.U8(0);
        o.U8(0);
        o.Bytes(stub.data() + offset, n);
        o.Finish(start);
        offset += n;
    } while (offset < stub.size());
    return o.b;
}

int ListenTcp(uint16_t port, uint16_t& bound, std::string& err)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        err = std::strerror(errno);
        return -1;
    }
    const int one = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(port);
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof a;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 || ::listen(fd, 64) != 0 ||
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len) != 0) {
        err = std::strerror(errno);
        ::close(fd);
        return -1;
    }
    bound = ntohs(a.sin_port);
    return fd;
}

int ListenUnix(const std::string& path, std::string& err)
{
    sockaddr_un a{};
    if (path.size() >= sizeof a.sun_path) {
        err = "socket path too long";
        return -1;
    }
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        err = std::strerror(errno);
        return -1;
    }
    a.sun_family = AF_UNIX;
    std::memcpy(a.sun_path, path.c_str(), path.size());
    ::unlink(path.c_str());
    if (::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 || ::listen(fd, 64) != 0) {
        err = std::strerror(errno);
        ::close(fd);
        return -1;
    }
    return fd;
}

} // namespace

// ---- answers ------------------------------------------------------------------------

Answer Answer::Bool(bool b)
{
    Answer a;
    a.boolean = b ? 1 : 0;
    return a;
}
Answer Answer::Long(int32_t v)
{
    Answer a;
    a.value = v;
    return a;
}
Answer Answer::WithGuid(const Guid& g, bool b)
{
    Answer a = Bool(b);
    a.guid = g;
    return a;
}
Answer Answer::FaultWith(uint32_t status, uint8_t flags)
{
    Answer a;
    a.kind = Kind::Fault;
    a.faultStatus = status;
    a.faultFlags = flags;
    return a;
}
Answer Answer::DropCall()
{
    Answer a;
    a.kind = Kind::Drop;
    return a;
}
Answer Answer::ShortReply()
{
    Answer a;
    a.kind = Kind::Short;
    return a;
}
Answer Answer::RawBytes(std::vector<uint8_t> bytes)
{
    Answer a;
    a.kind = Kind::Raw;
    a.raw = std::move(bytes);
    return a;
}
Answer Answer::HangForever()
{
    Answer a;
    a.kind = Kind::Hang;
    return a;
}

// ---- server ----------------------------------------------------------------------------

struct RecordingServer::Conn {
    int fd = -1;
    uint32_t id = 0;
    ~Conn()
    {
        if (fd >= 0)
            ::close(fd);
    }
};

RecordingServer::RecordingServer(ServerOptions options) : m_options(std::move(options)) {}

RecordingServer::~RecordingServer() { Stop(); }

std::string RecordingServer::RuntimeFolder()
{
    const char* xdg = std::getenv("XDG_RUNTIME_DIR");
    if (xdg && xdg[0] == '/') {
        std::string d(xdg);
        while (d.size() > 1 && d.back() == '/')
            d.pop_back();
        return d;
    }
    const std::string d = "/tmp/zyn-rpc-" + std::to_string(::geteuid());
    ::mkdir(d.c_str(), 0700);
    return d;
}

bool RecordingServer::Start(std::string* error)
{
    std::string err;
    if (::pipe2(m_wake, O_CLOEXEC) != 0) {
        if (error)
            *error = std::strerror(errno);
        return false;
    }
    if (m_options.listenTcp) {
        m_tcpFd = ListenTcp(m_options.tcpPort, m_port, err);
        if (m_tcpFd < 0) {
            if (error)
                *error = "tcp: " + err;
            Stop();
            return false;
        }
    }
    if (!m_options.localEndpoint.empty()) {
        m_localPath = RuntimeFolder() + "/" + m_options.localEndpoint;
        m_unixFd = ListenUnix(m_localPath, err);
        if (m_unixFd < 0) {
            if (error)
                *error = "local: " + err;
            m_localPath.clear();
            Stop();
            return false;
        }
    }
    m_running = true;
    m_acceptor = std::thread([this] { AcceptLoop(); });
    return true;
}

void RecordingServer::Stop()
{
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_stopCv.notify_all();
    if (m_wake[1] >= 0) {
        const char x = 'x';
        [[maybe_unused]] const ssize_t n = ::write(m_wake[1], &x, 1);
    }
    if (m_acceptor.joinable())
        m_acceptor.join();
    std::vector<std::thread> threads;
    {
        std::lock_guard lock(m_mutex);
        for (auto& c : m_conns)
            ::shutdown(c->fd, SHUT_RDWR);
        threads.swap(m_threads);
    }
    for (auto& t : threads)
        t.join();
    {
        std::lock_guard lock(m_mutex);
        m_conns.clear();
    }
    for (int* fd : {&m_tcpFd, &m_unixFd, &m_wake[0], &m_wake[1]}) {
        if (*fd >= 0)
            ::close(*fd);
        *fd = -1;
    }
    if (!m_localPath.empty())
        ::unlink(m_localPath.c_str());
    m_running = false;
}

void RecordingServer::Script(uint16_t opnum, std::vector<Answer> answers)
{
    std::lock_guard lock(m_mutex);
    m_script[opnum] = std::deque<Answer>(answers.begin(), answers.end());
}

void RecordingServer::SetBindPolicy(const BindPolicy& p)
{
    std::lock_guard lock(m_mutex);
    m_options.bind = p;
}

void RecordingServer::DropConnections()
{
    std::lock_guard lock(m_mutex);
    for (auto& c : m_conns)
        ::shutdown(c->fd, SHUT_RDWR);
}

std::vector<RecordedCall> RecordingServer::Calls() const
{
    std::lock_guard lock(m_mutex);
    return m_calls;
}

std::vector<RecordedCall> RecordingServer::CallsOf(uint16_t opnum) const
{
    std::lock_guard lock(m_mutex);
    std::vector<RecordedCall> r;
    for (const auto& c : m_calls)
        if (c.opnum == opnum)
            r.push_back(c);
    return r;
}

std::vector<std::vector<uint8_t>> RecordingServer::Binds() const
{
    std::lock_guard lock(m_mutex);
    return m_binds;
}

int RecordingServer::ConnectionsAccepted() const
{
    std::lock_guard lock(m_mutex);
    return m_accepted;
}

int RecordingServer::ConnectionsEnded() const
{
    std::lock_guard lock(m_mutex);
    return m_ended;
}

int RecordingServer::MaxConcurrentCalls() const
{
    std::lock_guard lock(m_mutex);
    return m_maxActive;
}

void RecordingServer::ClearRecords()
{
    std::lock_guard lock(m_mutex);
    m_calls.clear();
    m_binds.clear();
    m_accepted = 0;
    m_ended = 0;
    m_maxActive = 0;
}

Answer RecordingServer::NextAnswer(uint16_t opnum)
{
    std::lock_guard lock(m_mutex);
    auto it = m_script.find(opnum);
    if (it == m_script.end() || it->second.empty()) {
        switch (opnum) {
        case 8:
            return Answer::WithGuid(Guid{0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77, 0x88, 0x99, 0xaa, 0xbb, 0xcc,
                0xdd, 0xee, 0xff, 0x01});
        case 14:
            return Answer::Long(1);
        case 15:
            return Answer::Long(0);
        default:
            return Answer::Bool(true);
        }
    }
    Answer a = it->second.front();
    if (it->second.size() > 1)
        it->second.pop_front();
    return a;
}

bool RecordingServer::SleepFor(std::chrono::milliseconds d)
{
    std::unique_lock lock(m_mutex);
    if (d == std::chrono::milliseconds::max())
        m_stopCv.wait(lock, [&] { return m_stopping; });
    else
        m_stopCv.wait_for(lock, d, [&] { return m_stopping; });
    return !m_stopping;
}

void RecordingServer::AcceptLoop()
{
    for (;;) {
        pollfd p[3] = {{m_wake[0], POLLIN, 0}, {m_tcpFd, POLLIN, 0}, {m_unixFd, POLLIN, 0}};
        const int n = ::poll(p, 3, -1);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 || p[0].revents)
            return;
        for (int i = 1; i < 3; ++i) {
            if (p[i].fd < 0 || !(p[i].revents & POLLIN))
                continue;
            const int fd = ::accept4(p[i].fd, nullptr, nullptr, SOCK_CLOEXEC);
            if (fd < 0)
                continue;
            if (i == 1) {
                const int one = 1;
                ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
            }
            auto c = std::make_shared<Conn>();
            c->fd = fd;
            std::lock_guard lock(m_mutex);
            if (m_stopping)
                return;
            c->id = static_cast<uint32_t>(++m_accepted);
            m_conns.push_back(c);
            m_threads.emplace_back([this, c] { Serve(c); });
        }
    }
}

void RecordingServer::Serve(std::shared_ptr<Conn> c)
{
    // Whatever ends the conversation closes it for the client at once.
    struct Closer {
        int fd;
        ~Closer() { ::shutdown(fd, SHUT_RDWR); }
    } closer{c->fd};
    bool bound = false;
    uint16_t contextId = 0;
    BindPolicy policy;
    RecordedCall call;
    bool inCall = false;
    std::vector<uint8_t> pdu;
    BufferedReader in(c->fd);
    for (;;) {
        pdu.assign(16, 0);
        if (!in.Read(pdu.data(), 16)) {
            std::lock_guard lock(m_mutex);
            ++m_ended;
            return;
        }
        if (pdu[0] != 5 || pdu[1] != 0 || (pdu[4] & 0xF0) != 0x10)
            return; // only what the client sends: version 5.0, little-endian
        const uint16_t fragLen = Le16(&pdu[8]);
        if (fragLen < 16)
            return;
        pdu.resize(fragLen);
        if (!in.Read(pdu.data() + 16, fragLen - 16u))
            return;
        const uint8_t type = pdu[2];
        const uint8_t flags = pdu[3];
        const uint32_t callId = Le32(&pdu[12]);

        if (type == 11) { // bind
            {
                std::lock_guard lock(m_mutex);
                m_binds.push_back(pdu);
                policy = m_options.bind;
            }
            if (bound || policy.kind == BindPolicy::Kind::Drop)
                return;
            if (policy.kind == BindPolicy::Kind::Nak) {
                Out o;
                o.Header(13, 0x03, callId);
                o.U16(policy.reason);
                o.U8(1); // supported versions: 5.0
                o.U8(5);
                o.U8(0);
                o.Finish(0);
                WriteAll(c->fd, o.b);
                return;
            }
            // Look for a context with our interface 3.0 and NDR 2.0.
            uint16_t result = 2, reason = 1; // provider rejection, abstract syntax not supported
            if (fragLen >= 28) {
                const unsigned contexts = pdu[24];
                size_t pos = 28;
                for (unsigned i = 0; i < contexts && pos + 24 <= fragLen; ++i) {
                    const uint16_t id = Le16(&pdu[pos]);
                    const unsigned xfers = pdu[pos + 2];
                    const bool ifOk = std::memcmp(&pdu[pos + 4], kInterface, 16) == 0 && Le16(&pdu[pos + 20]) == 3 &&
                        Le16(&pdu[pos + 22]) == 0;
                    pos += 24;
                    bool xferOk = false;
                    for (unsigned x = 0; x < xfers && pos + 20 <= fragLen; ++x, pos += 20)
                        if (std::memcmp(&pdu[pos], kNdr, 16) == 0 && Le32(&pdu[pos + 16]) == 2)
                            xferOk = true;
                    if (ifOk && xferOk && result != 0) {
                        result = 0;
                        reason = 0;
                        contextId = id;
                    } else if (ifOk && result != 0) {
                        reason = 2; // transfer syntaxes not supported
                    }
                }
            }
            if (policy.kind == BindPolicy::Kind::RejectContext) {
                result = 2;
                reason = policy.reason;
            }
            Out o;
            o.Header(12, 0x03, callId);
            o.U16(policy.maxXmitFrag);
            o.U16(policy.maxRecvFrag);
            o.U32(0x00012345);
            const std::string addr = m_options.listenTcp ? std::to_string(m_port) : m_options.localEndpoint;
            o.U16(static_cast<uint16_t>(addr.size() + 1));
            o.Bytes(reinterpret_cast<const uint8_t*>(addr.c_str()), addr.size() + 1);
            while (o.b.size() % 4)
                o.U8(0);
            o.U8(1);
            o.U8(0);
            o.U16(0);
            o.U16(result);
            o.U16(reason);
            if (result == 0) {
                o.Bytes(kNdr, 16);
                o.U32(2);
            } else {
                for (int i = 0; i < 20; ++i)
                    o.U8(0);
            }
            o.Finish(0);
            if (!WriteAll(c->fd, o.b))
                return;
            bound = result == 0;
            if (!bound)
                return;
            continue;
        }
        if (type != 0 || !bound) // only requests after a bind
            return;
        if (fragLen > policy.maxRecvFrag || fragLen < 24) {
            WriteAll(c->fd, FaultPdu(callId, kFaultProtocol, 0x20, false));
            return;
        }
        const uint16_t ctx = Le16(&pdu[20]);
        const uint16_t opnum = Le16(&pdu[22]);
        const size_t body = (flags & 0x80) ? 40 : 24;
        if (fragLen < body) {
            WriteAll(c->fd, FaultPdu(callId, kFaultProtocol, 0x20, false));
            return;
        }
        if (flags & 0x01) {
            call = RecordedCall{};
            call.opnum = opnum;
            call.callId = callId;
            call.connection = c->id;
            inCall = true;
        } else if (!inCall || call.callId != callId || call.opnum != opnum) {
            WriteAll(c->fd, FaultPdu(callId, kFaultProtocol, 0x20, false));
            return;
        }
        if (m_options.record)
            call.pdus.push_back(pdu);
        call.stub.insert(call.stub.end(), pdu.begin() + static_cast<std::ptrdiff_t>(body), pdu.end());
        if (!(flags & 0x02))
            continue;
        inCall = false;
        call.begin = Clock::now();
        {
            std::lock_guard lock(m_mutex);
            m_maxActive = std::max(m_maxActive, ++m_active);
        }
        const Answer a = NextAnswer(opnum);
        if (ctx != contextId) {
            call.error = "unknown presentation context";
        } else {
            Decode(call);
        }
        bool keep = a.delay.count() == 0 || SleepFor(a.delay);
        std::vector<uint8_t> out;
        if (keep) {
            if (ctx != contextId)
                out = FaultPdu(callId, kFaultUnknownIf, 0x20, a.bigEndian);
            else if (opnum > 15)
                out = FaultPdu(callId, kFaultOpRange, 0x20, a.bigEndian);
            else if (!call.decoded)
                out = FaultPdu(callId, kFaultBadStubData, 0, a.bigEndian);
            else {
                switch (a.kind) {
                case Answer::Kind::Reply:
                    out = ResponsePdus(callId, ReplyStub(opnum, a, call), a.fragmentStub, a.bigEndian);
                    break;
                case Answer::Kind::Short: {
                    std::vector<uint8_t> stub = ReplyStub(opnum, a, call);
                    if (!stub.empty())
                        stub.pop_back();
                    out = ResponsePdus(callId, stub, 0, a.bigEndian);
                    break;
                }
                case Answer::Kind::Fault:
                    out = FaultPdu(callId, a.faultStatus, a.faultFlags, a.bigEndian);
                    break;
                case Answer::Kind::Raw:
                    out = a.raw;
                    break;
                case Answer::Kind::Drop:
                    keep = false;
                    break;
                case Answer::Kind::Hang:
                    keep = SleepFor(std::chrono::milliseconds::max());
                    keep = false;
                    break;
                }
            }
        }
        // Record before answering, so that a client that has its answer finds the record.
        call.end = Clock::now();
        {
            std::lock_guard lock(m_mutex);
            --m_active;
            if (m_options.record)
                m_calls.push_back(call);
        }
        if (keep && !WriteAll(c->fd, out))
            keep = false;
        if (!keep) {
            ::shutdown(c->fd, SHUT_RDWR);
            return;
        }
    }
}

} // namespace zyn::rpctest
