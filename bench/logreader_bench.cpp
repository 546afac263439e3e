// The session log reader over a generated 100 MB log, beside std::ifstream + std::getline
// reading the same file in the same run (the reader should reach at least half of that
// rate). The log is written to a temporary file at start and removed at exit; the page
// cache holds it after the first pass, so both read from memory.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

#include "frames/session_log_reader.h"

namespace {

constexpr size_t kLogBytes = 100u << 20;

// A log like the suite writes: banners, dated start lines, progress lines (some with CR LF),
// warnings and errors here and there, most sessions completed.
std::string MakeLog()
{
    std::string log;
    log.reserve(kLogBytes + 4096);
    for (int s = 0; log.size() < kLogBytes; ++s) {
        char line[160];
        log += "************************************************************\n";
        std::snprintf(line, sizeof line, "[%02d/%02d/2010 %02d:%02d:00] Session STARTED by operator %d\n",
            1 + s % 12, 1 + s % 28, s % 24, s % 60, s);
        log += line;
        for (int i = 0; i < 30; ++i) {
            std::snprintf(line, sizeof line, "  %d.%d panel %d answered in %d ms, %d events read, queue empty%s\n", s,
                i, i * 7 % 64, 10 + i * 13 % 90, i * 31 % 500, i % 3 ? "" : "\r");
            log += line;
            if (s % 5 == 1 && i == 12)
                log += "** WARNING! panel slow to answer\n";
            if (s % 7 == 2 && i == 20)
                log += "** ERROR! panel did not answer\n";
        }
        if (s % 11 != 3) {
            log += "Session COMPLETED\n";
            log += "************************************************************\n";
        }
    }
    return log;
}

const std::string& LogPath()
{
    static const std::string* path = [] {
        std::string tmpl = (std::filesystem::temp_directory_path() / "zyn_logreader_bench.XXXXXX").string();
        const int fd = ::mkstemp(tmpl.data());
        if (fd < 0)
            std::abort();
        ::close(fd);
        const std::string log = MakeLog();
        std::ofstream out(tmpl, std::ios::binary | std::ios::trunc);
        out.write(log.data(), static_cast<std::streamsize>(log.size()));
        if (!out)
            std::abort();
        auto* p = new std::string(tmpl);
        std::atexit([] { std::remove(LogPath().c_str()); });
        return p;
    }();
    return *path;
}

class NoProgress final : public zyn::frames::FillProgress {
public:
    int shown = 0;
    bool Canceled() override { return false; }
    void SetPercent(int) override { ++shown; }
};

void BM_SessionLogReader(benchmark::State& state)
{
    const CString path(LogPath().c_str());
    CFileStatus status;
    CFile::GetStatus(path, status);
    size_t sessions = 0;
    for (auto _ : state) {
        NoProgress progress;
        sessions = 0;
        const auto outcome = zyn::frames::FillSessionsFromFile(path, status, &progress,
            [&](const zyn::frames::SessionRow&) { ++sessions; }, static_cast<size_t>(state.range(0)));
        benchmark::DoNotOptimize(outcome.sessions);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(status.m_size));
    state.counters["sessions"] = static_cast<double>(sessions);
}
BENCHMARK(BM_SessionLogReader)->Arg(4096)->Arg(zyn::frames::kDefaultLogBufferSize)->Unit(benchmark::kMillisecond);

void BM_IfstreamGetline(benchmark::State& state)
{
    const std::string& path = LogPath();
    int64_t bytes = 0;
    for (auto _ : state) {
        std::ifstream in(path, std::ios::binary);
        std::string line;
        size_t lines = 0;
        bytes = 0;
        while (std::getline(in, line)) {
            ++lines;
            bytes += static_cast<int64_t>(line.size()) + 1;
        }
        benchmark::DoNotOptimize(lines);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * bytes);
}
BENCHMARK(BM_IfstreamGetline)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
