// Fuzz target: the session log reader. Any bytes give rows in file order that do not
// overlap and lie inside the data, each session starting at a banner line; a 1-byte
// buffer, the default buffer and the file on disk all give the same rows and progress.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <vector>

#include "frames/session_log_reader.h"
#include "fuzz/fuzz_env.h"

namespace {

class MemorySource final : public zyn::frames::LogSource {
public:
    MemorySource(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}
    size_t ReadAt(uint64_t offset, uint8_t* buffer, size_t count) override
    {
        if (offset >= m_size)
            return 0;
        const size_t n = std::min(count, static_cast<size_t>(m_size - offset));
        std::memcpy(buffer, m_data + offset, n);
        return n;
    }

private:
    const uint8_t* m_data;
    size_t m_size;
};

class Progress final : public zyn::frames::FillProgress {
public:
    std::vector<int> percents;
    bool Canceled() override { return false; }
    void SetPercent(int percent) override { percents.push_back(percent); }
};

struct Run {
    std::vector<zyn::frames::SessionRow> rows;
    std::vector<int> percents;
    zyn::frames::FillOutcome outcome;
};

Run FillMemory(const uint8_t* data, size_t size, size_t buffer)
{
    MemorySource source(data, size);
    zyn::frames::SessionLogReader reader(source, buffer);
    Run run;
    Progress progress;
    run.outcome = reader.Fill(size, CTime(0), &progress, [&](const zyn::frames::SessionRow& r) { run.rows.push_back(r); });
    run.percents = progress.percents;
    return run;
}

bool Same(const Run& a, const Run& b)
{
    if (a.rows.size() != b.rows.size() || a.percents != b.percents || a.outcome.end != b.outcome.end ||
        a.outcome.sessions != b.outcome.sessions)
        return false;
    for (size_t i = 0; i < a.rows.size(); ++i) {
        const auto& x = a.rows[i];
        const auto& y = b.rows[i];
        if (x.start != y.start || x.end != y.end || x.date != y.date || x.status != y.status)
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace zyn::frames;
    zyn::fuzz::FuzzRoot();
    const Run run = FillMemory(data, size, kDefaultLogBufferSize);
    if (run.outcome.end != FillEnd::kComplete || run.rows.empty())
        std::abort();
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (run.outcome.wholeFile) {
        // No session: exactly the one row for the whole data.
        if (run.outcome.sessions != 0 || run.rows.size() != 1 || run.rows[0].start != 0 || run.rows[0].end != size ||
            !run.rows[0].status.IsEmpty())
            std::abort();
    } else {
        if (run.outcome.sessions != run.rows.size())
            std::abort();
        uint64_t previousEnd = 0;
        for (const SessionRow& r : run.rows) {
            if (r.start < previousEnd || r.start >= r.end || r.end > size)
                std::abort();
            previousEnd = r.end;
            // A session starts at the beginning of a banner line.
            if (r.start > 0 && data[r.start - 1] != '\n')
                std::abort();
            const size_t lf = bytes.find('\n', r.start);
            const std::string_view banner = bytes.substr(r.start, lf == std::string_view::npos ? size - r.start : lf - r.start + 1);
            if (banner.find("****") == std::string_view::npos)
                std::abort();
            if (r.date.GetLength() < 3 || r.date[0] != L'[' || r.date[r.date.GetLength() - 1] != L']')
                std::abort();
            if (r.status != kLogStatusSuccess && r.status != kLogStatusError && r.status != kLogStatusWarning &&
                r.status != kLogStatusUnknown)
                std::abort();
        }
    }
    for (size_t i = 0; i < run.percents.size(); ++i)
        if (run.percents[i] < 1 || run.percents[i] > 100 || (i > 0 && run.percents[i] <= run.percents[i - 1]))
            std::abort();

    // One read per byte, an odd buffer, and the file on disk read alike.
    if (!Same(run, FillMemory(data, size, 1)) || !Same(run, FillMemory(data, size, 7)))
        std::abort();
    const auto path = zyn::fuzz::WriteScratch("session.log", data, size);
    CFileStatus status;
    status.m_size = size;
    Run fromFile;
    Progress progress;
    fromFile.outcome = FillSessionsFromFile(CString(path.wstring().c_str()), status, &progress,
        [&](const SessionRow& r) { fromFile.rows.push_back(r); });
    fromFile.percents = progress.percents;
    if (!Same(run, fromFile))
        std::abort();
    return 0;
}
