#pragma once
// Shared by the session log reader tests: logs written to a temporary folder line by line
// (so expected offsets are sums of line lengths), fills that record their rows and
// percentages, and a source that presents data past 4 GiB without a file.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <utime.h>

#include "frames/session_log_reader.h"
#include "platform/base/exception.h"
#include "platform/base/locale.h"
#include "platform/base/testhooks_time.h"
#include "tests/support/testenv.h"

namespace zyn::test {

// The offset of line i: the lengths of the lines before it.
inline uint64_t OffsetOf(const std::vector<std::string>& lines, size_t i)
{
    uint64_t n = 0;
    for (size_t k = 0; k < i && k < lines.size(); ++k)
        n += lines[k].size();
    return n;
}

inline std::string Joined(const std::vector<std::string>& lines)
{
    std::string all;
    for (const auto& l : lines)
        all += l;
    return all;
}

// A file of the test's temporary folder holding exactly bytes, modified at 2008-07-05
// 15:04:05 local time.
inline std::filesystem::path WriteLog(const std::string& name, const std::string& bytes)
{
    const std::filesystem::path dir = std::filesystem::path(TempRoot()) / "logreader";
    std::filesystem::create_directories(dir);
    const std::filesystem::path path = dir / name;
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    const time_t when = CTime(2008, 7, 5, 15, 4, 5).GetTime();
    utimbuf times{when, when};
    EXPECT_EQ(::utime(path.c_str(), &times), 0);
    return path;
}
// "%c" of that time: month/day/two-digit year and the 24-hour time.
inline constexpr const wchar_t* kLogFileTime = L"07/05/08 15:04:05";

// Records what a fill reports; cancels once a chosen percentage was shown (or at the
// first question with cancelAtStart).
class RecordingProgress final : public frames::FillProgress {
public:
    std::vector<int> percents;
    int questions = 0;
    int cancelAt = 1000;      // percentage that cancels
    bool cancelAtStart = false;

    bool Canceled() override
    {
        ++questions;
        return cancelAtStart || (!percents.empty() && percents.back() >= cancelAt);
    }
    void SetPercent(int percent) override { percents.push_back(percent); }
};

struct FillRun {
    std::vector<frames::SessionRow> rows;
    frames::FillOutcome outcome;
    std::vector<int> percents;
};

inline FillRun FillFile(const std::filesystem::path& path, size_t bufferSize, RecordingProgress* progress = nullptr)
{
    RecordingProgress own;
    RecordingProgress* p = progress ? progress : &own;
    FillRun run;
    CFileStatus status;
    CFile::GetStatus(CString(path.wstring().c_str()), status);
    run.outcome = frames::FillSessionsFromFile(CString(path.wstring().c_str()), status, p,
        [&](const frames::SessionRow& r) { run.rows.push_back(r); }, bufferSize);
    run.percents = p->percents;
    return run;
}

inline bool SameRows(const std::vector<frames::SessionRow>& a, const std::vector<frames::SessionRow>& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i].start != b[i].start || a[i].end != b[i].end || a[i].date != b[i].date || a[i].status != b[i].status)
            return false;
    return true;
}

// Data that a file would need 4 GiB of disk for: `fillerLines` lines of `lineLength` bytes
// ('x' and a final LF each), then `tail`.
class SyntheticLogSource final : public frames::LogSource {
public:
    SyntheticLogSource(uint64_t fillerLines, uint64_t lineLength, std::string tail)
        : m_fillerSize(fillerLines * lineLength), m_lineLength(lineLength), m_tail(std::move(tail))
    {
    }
    uint64_t Size() const { return m_fillerSize + m_tail.size(); }
    uint64_t FillerSize() const { return m_fillerSize; }
    uint64_t reads = 0;

    size_t ReadAt(uint64_t offset, uint8_t* buffer, size_t count) override
    {
        ++reads;
        size_t done = 0;
        while (done < count && offset + done < Size()) {
            const uint64_t at = offset + done;
            if (at < m_fillerSize) {
                const uint64_t inLine = at % m_lineLength;
                const size_t n = static_cast<size_t>(std::min<uint64_t>(count - done, m_lineLength - inLine));
                std::memset(buffer + done, 'x', n);
                if (inLine + n == m_lineLength)
                    buffer[done + n - 1] = '\n';
                done += n;
            } else {
                const size_t from = static_cast<size_t>(at - m_fillerSize);
                const size_t n = std::min(count - done, m_tail.size() - from);
                std::memcpy(buffer + done, m_tail.data() + from, n);
                done += n;
            }
        }
        return done;
    }

private:
    uint64_t m_fillerSize;
    uint64_t m_lineLength;
    std::string m_tail;
};

class LogReaderTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(base::SetUserLocaleForTests(LCID_EN_US)); }
};

} // namespace zyn::test
