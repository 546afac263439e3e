// A recording server on the loopback interface, for trying a console's recording-server
// calls without a recorder: it answers every procedure as a healthy server does.
//
//   zyn_recording_server [--port N]
//
// It prints "port N" once it listens (N the port it got, an ephemeral one by default) and
// serves until its standard input ends or it is interrupted; a console that starts it
// with a pipe as standard input ends it by closing the pipe, or by ending itself.
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <poll.h>
#include <unistd.h>

#include "tests/rpc/server/recording_server.h"

namespace {
volatile std::sig_atomic_t g_stop = 0;
void OnSignal(int) { g_stop = 1; }
} // namespace

int main(int argc, char** argv)
{
    zyn::rpctest::ServerOptions options;
    options.record = false; // a long-running server keeps no records
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--port") == 0 && i + 1 < argc) {
            char* end = nullptr;
            const unsigned long port = std::strtoul(argv[++i], &end, 10);
            if (!end || *end != '\0' || port > 65535) {
                std::fprintf(stderr, "zyn_recording_server: not a port: %s\n", argv[i]);
                return 2;
            }
            options.tcpPort = static_cast<uint16_t>(port);
        } else {
            std::fprintf(stderr, "usage: zyn_recording_server [--port N]\n");
            return 2;
        }
    }
    std::signal(SIGINT, OnSignal);
    std::signal(SIGTERM, OnSignal);
    std::signal(SIGPIPE, SIG_IGN);

    zyn::rpctest::RecordingServer server(options);
    std::string why;
    if (!server.Start(&why)) {
        std::fprintf(stderr, "zyn_recording_server: cannot listen: %s\n", why.c_str());
        return 1;
    }
    std::printf("port %u\n", static_cast<unsigned>(server.Port()));
    std::fflush(stdout);

    // Until standard input ends (or errs) or a signal comes.
    while (!g_stop) {
        pollfd in{STDIN_FILENO, POLLIN, 0};
        const int ready = ::poll(&in, 1, 200);
        if (ready < 0)
            continue; // a signal: the loop condition decides
        if (ready == 0)
            continue;
        char buffer[256];
        const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (n <= 0)
            break;
    }
    server.Stop();
    return 0;
}
