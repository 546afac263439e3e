// Calls per second and median latency of the recording server's "is the archive run
// going on" poll (procedure 5) against the loopback recording server, beside a plain
// TCP round trip of the same sizes (24 octets out, 25 back) in the same run; procedure 8
// with 1 KB of arguments (two 250-character strings and a GUID) beside a plain round
// trip of its sizes (1,064 octets out, 41 back); also the same poll over the local
// transport and through the proxy. Goal: each call over TCP reaches at least 0.9 of the
// calls per second of its plain round trip. On a busy machine compare
// them interleaved:
//   rpc_bench --benchmark_repetitions=6 --benchmark_enable_random_interleaving=true
#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>
#include <vector>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include "platform/base/inifile.h"
#include "platform/rpc/rpcdce.h"
#include "rpc/crs_rpc.h"
#include "rpc/crs_rpc_server_proxy.h"
#include "tests/rpc/server/recording_server.h"

namespace {

constexpr size_t kRequestSize = 24; // a request PDU without stub data
constexpr size_t kReplySize = 25;   // a response PDU with one boolean
// Procedure 8 with two strings of 250 characters and a GUID: 1 KB of arguments.
constexpr size_t kBigRequestSize = 1064;
constexpr size_t kBigReplySize = 41; // a GUID and a boolean
constexpr size_t kBigTextLength = 250;

using Clock = std::chrono::steady_clock;

// Median of the per-call latencies, in microseconds.
double MedianUs(std::vector<double>& v)
{
    if (v.empty())
        return 0;
    std::nth_element(v.begin(), v.begin() + static_cast<std::ptrdiff_t>(v.size() / 2), v.end());
    return v[v.size() / 2];
}

void Report(benchmark::State& state, std::vector<double>& lat)
{
    state.counters["calls_per_s"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["median_us"] = MedianUs(lat);
}

// A private Windows directory for ACS.INI, and one server for the whole run.
struct Fixture {
    zyn::rpctest::RecordingServer server;
    Fixture() : server(Options())
    {
        char tmpl[] = "/tmp/zynbench.XXXXXX";
        if (const char* dir = ::mkdtemp(tmpl)) {
            root = dir;
            ::setenv("ZYN_WINDIR", dir, 1);
            ::setenv("XDG_RUNTIME_DIR", dir, 1);
        }
        std::string err;
        if (!server.Start(&err)) {
            std::fprintf(stderr, "recording server: %s\n", err.c_str());
            std::exit(1);
        }
        WritePrivateProfileStringW(L"Service", L"VideoServerRpcPort", std::to_wstring(server.Port()).c_str(), L"ACS.INI");
    }
    ~Fixture()
    {
        server.Stop();
        std::error_code ec;
        std::filesystem::remove_all(root, ec);
    }
    static zyn::rpctest::ServerOptions Options()
    {
        zyn::rpctest::ServerOptions o;
        o.record = false;
        o.localEndpoint = "CRSServer_BENCH";
        return o;
    }
    std::string root;
};

Fixture& Shared()
{
    static Fixture f;
    return f;
}

void Proc5Loop(benchmark::State& state, const std::wstring& text)
{
    RPC_BINDING_HANDLE h = nullptr;
    if (RpcBindingFromStringBindingW(const_cast<RPC_WSTR>(text.c_str()), &h) != RPC_S_OK) {
        state.SkipWithError("no binding");
        return;
    }
    std::vector<double> lat;
    lat.reserve(1 << 20);
    error_status_t st = 0;
    CRSRpc_Proc5(h, &st); // connect and bind outside the measurement
    for (auto _ : state) {
        const auto t0 = Clock::now();
        const boolean r = CRSRpc_Proc5(h, &st);
        lat.push_back(std::chrono::duration<double, std::micro>(Clock::now() - t0).count());
        if (st != 0 || r != 1) {
            state.SkipWithError("call failed");
            break;
        }
    }
    Report(state, lat);
    RpcBindingFree(&h);
}

void BM_RpcProc5Tcp(benchmark::State& state)
{
    Proc5Loop(state, L"ncacn_ip_tcp:127.0.0.1[" + std::to_wstring(Shared().server.Port()) + L"]");
}

void BM_RpcProc5Local(benchmark::State& state)
{
    Shared();
    Proc5Loop(state, L"ncalrpc:[CRSServer_BENCH]");
}

void BM_ProxyIsVideoArchiveRunning(benchmark::State& state)
{
    Shared();
    CCRSRPCServerProxy proxy(CString(L"127.0.0.1"));
    std::vector<double> lat;
    lat.reserve(1 << 20);
    proxy.IsVideoArchiveRunning();
    for (auto _ : state) {
        const auto t0 = Clock::now();
        const BOOL r = proxy.IsVideoArchiveRunning();
        lat.push_back(std::chrono::duration<double, std::micro>(Clock::now() - t0).count());
        if (!r) {
            state.SkipWithError("call failed");
            break;
        }
    }
    Report(state, lat);
}

// The plain round trip: the same octet counts over a TCP_NODELAY loopback connection,
// answered by a thread that reads the request's octets and writes the reply's.
void EchoLoop(benchmark::State& state, size_t requestSize, size_t replySize)
{
    const int listener = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof a;
    if (::bind(listener, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 || ::listen(listener, 1) != 0 ||
        ::getsockname(listener, reinterpret_cast<sockaddr*>(&a), &len) != 0) {
        state.SkipWithError("listen failed");
        ::close(listener);
        return;
    }
    std::thread echo([listener, requestSize, replySize] {
        const int fd = ::accept(listener, nullptr, nullptr);
        if (fd < 0)
            return;
        const int one = 1;
        ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
        std::vector<uint8_t> in(requestSize);
        const std::vector<uint8_t> out(replySize);
        for (;;) {
            size_t got = 0;
            while (got < requestSize) {
                const ssize_t n = ::recv(fd, in.data() + got, requestSize - got, 0);
                if (n <= 0) {
                    ::close(fd);
                    return;
                }
                got += static_cast<size_t>(n);
            }
            if (::send(fd, out.data(), replySize, MSG_NOSIGNAL) != static_cast<ssize_t>(replySize)) {
                ::close(fd);
                return;
            }
        }
    });
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    const int one = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    if (::connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) {
        state.SkipWithError("connect failed");
    } else {
        const std::vector<uint8_t> req(requestSize);
        std::vector<uint8_t> rep(replySize);
        std::vector<double> lat;
        lat.reserve(1 << 20);
        for (auto _ : state) {
            const auto t0 = Clock::now();
            ::send(fd, req.data(), requestSize, MSG_NOSIGNAL);
            size_t got = 0;
            while (got < replySize) {
                const ssize_t n = ::recv(fd, rep.data() + got, replySize - got, 0);
                if (n <= 0)
                    break;
                got += static_cast<size_t>(n);
            }
            lat.push_back(std::chrono::duration<double, std::micro>(Clock::now() - t0).count());
        }
        Report(state, lat);
    }
    ::close(fd);
    echo.join();
    ::close(listener);
}

void BM_TcpEchoSameSize(benchmark::State& state) { EchoLoop(state, kRequestSize, kReplySize); }

void BM_TcpEchoBigSize(benchmark::State& state) { EchoLoop(state, kBigRequestSize, kBigReplySize); }

// Procedure 8 over TCP with 1 KB of arguments (two 250-character strings and a GUID).
void BM_RpcProc8Tcp(benchmark::State& state)
{
    const std::wstring text = L"ncacn_ip_tcp:127.0.0.1[" + std::to_wstring(Shared().server.Port()) + L"]";
    RPC_BINDING_HANDLE h = nullptr;
    if (RpcBindingFromStringBindingW(const_cast<RPC_WSTR>(text.c_str()), &h) != RPC_S_OK) {
        state.SkipWithError("no binding");
        return;
    }
    WCHAR a[256] = {}, b[256] = {};
    for (size_t i = 0; i < kBigTextLength; ++i) {
        a[i] = static_cast<WCHAR>(L'a' + i % 26);
        b[i] = static_cast<WCHAR>(L'A' + i % 26);
    }
    GUID guid{};
    std::vector<double> lat;
    lat.reserve(1 << 20);
    error_status_t st = 0;
    CRSRpc_Proc8(h, a, b, &guid, &st); // connect and bind outside the measurement
    for (auto _ : state) {
        const auto t0 = Clock::now();
        CRSRpc_Proc8(h, a, b, &guid, &st);
        lat.push_back(std::chrono::duration<double, std::micro>(Clock::now() - t0).count());
        if (st != 0) {
            state.SkipWithError("call failed");
            break;
        }
    }
    Report(state, lat);
    RpcBindingFree(&h);
}

} // namespace

BENCHMARK(BM_TcpEchoSameSize)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_TcpEchoBigSize)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_RpcProc8Tcp)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_RpcProc5Tcp)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_RpcProc5Local)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_ProxyIsVideoArchiveRunning)->UseRealTime()->MinTime(2.0);

BENCHMARK_MAIN();
