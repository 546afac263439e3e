// The session log reader on files on disk: sessions, dates, statuses and offsets for the
// format's edge cases, each read with buffers of 1, 7 and the default size.
#include <string>
#include <vector>

#include "tests/frames/session_log_test_support.h"

namespace zyn::test {
namespace {

using frames::FillEnd;

// en-US dates (month first) and a de-DE one.
const std::string D1 = "[07/05/2008 15:04:05]";
const std::string D2 = "[12/31/2009 23:59:59]";
const wchar_t* const W1 = L"[07/05/2008 15:04:05]";
const wchar_t* const W2 = L"[12/31/2009 23:59:59]";

struct ExpectedRow {
    size_t firstLine;  // the banner line
    size_t endLine;    // the line just past the session (lines.size(): the end of the file)
    const wchar_t* date;
    const wchar_t* status;
};
constexpr const wchar_t* kWholeFile = nullptr; // date of the whole-file row: the file's time

struct LogCase {
    const char* name;
    std::vector<std::string> lines;
    std::vector<ExpectedRow> rows; // empty: the whole-file row
    LCID locale = LCID_EN_US;
};

std::string Line(const std::string& text) { return text + "\n"; }
// A literal with its NULs.
template <size_t N>
std::string Bytes(const char (&text)[N])
{
    return std::string(text, N - 1);
}
// ASCII text as UTF-16LE bytes.
std::string Utf16Le(const std::string& ascii)
{
    std::string out;
    for (char c : ascii) {
        out += c;
        out += '\0';
    }
    return out;
}

std::vector<LogCase> Cases()
{
    const std::string mb(1 << 20, 'x');
    return {
        {"COMPLETED as the last bytes ends at the end with its status",
            {Line("****"), Line(D1 + " STARTED"), Line("** WARNING! disk"), "COMPLETED"},
            {{0, 4, W1, L"Warning"}}},
        {"two sessions with closing banners",
            {Line("****"), Line(D1 + " STARTED"), Line("work"), Line("COMPLETED"), Line("****"), Line("****"),
                Line(D2 + " STARTED"), Line("COMPLETED"), Line("****")},
            {{0, 5, W1, L"Success"}, {5, 9, W2, L"Success"}}},
        {"the first lacks COMPLETED: Unknown up to the next banner",
            {Line("****"), Line(D1 + " STARTED"), Line("a"), Line("b"), Line("****"), Line(D2 + " STARTED"),
                Line("COMPLETED"), Line("****")},
            {{0, 4, W1, L"Unknown"}, {4, 8, W2, L"Success"}}},
        {"warning then error is Error",
            {Line("****"), Line(D1 + " STARTED"), Line("** WARNING! a"), Line("** ERROR! b"), Line("COMPLETED"),
                Line("****")},
            {{0, 6, W1, L"Error"}}},
        {"error then warning stays Error",
            {Line("****"), Line(D1 + " STARTED"), Line("** ERROR! a"), Line("** WARNING! b"), Line("COMPLETED"),
                Line("****")},
            {{0, 6, W1, L"Error"}}},
        {"markers are case-sensitive",
            {Line("****"), Line(D1 + " STARTED"), Line("** error! a"), Line("** Warning! b"), Line("completed"),
                Line("COMPLETED")},
            {{0, 6, W1, L"Success"}}},
        {"an error line that also starts a session ends the body before the line ahead of it",
            {Line("****"), Line(D1 + " STARTED"), Line("x"), Line("** ERROR! STARTED"), Line("COMPLETED")},
            {{0, 2, W1, L"Unknown"}}},
        {"no banner at all: the whole file", {Line("text"), Line(D1 + " STARTED"), Line("COMPLETED")}, {}},
        {"an empty file: the whole file, both offsets 0", {}, {}},
        {"a start line without a bracketed date is no session",
            {Line("****"), Line("STARTED"), Line("COMPLETED"), Line("****")}, {}},
        {"CR LF lines keep their CR",
            {"****\r\n", D1 + " STARTED\r\n", "** WARNING! x\r\n", "COMPLETED\r\n", "****\r\n"},
            {{0, 5, W1, L"Warning"}}},
        {"bytes of 0x80 and above count one each",
            {Line("\xE9\xE8****\xFF"), Line(D1 + " \xC3\xA9 STARTED"), Line("\x80\x81\xFE"), Line("COMPLETED \xA0")},
            {{0, 4, W1, L"Success"}}},
        {"a NUL byte hides nothing after it",
            {Line("****"), Line(D1 + " STARTED"), Bytes("x\0 ** ERROR! y\n"), Line("COMPLETED")},
            {{0, 4, W1, L"Error"}}},
        {"a NUL inside the brackets is no date",
            {Line("****"), Bytes("[07/05/2008\0 15:04:05] STARTED\n"), Line("COMPLETED")}, {}},
        {"a file cut in the middle of a line",
            {Line("****"), Line(D1 + " STARTED"), Line("** WARNING! w"), "half a li"},
            {{0, 4, W1, L"Unknown"}}},
        {"a banner without a start line leaves the next banner its session",
            {Line("****"), Line("****"), Line(D1 + " STARTED"), Line("COMPLETED"), Line("****")},
            {{1, 5, W1, L"Success"}}},
        {"a banner followed by text is skipped",
            {Line("****"), Line("text"), Line("****"), Line(D1 + " STARTED"), Line("COMPLETED"), Line("****")},
            {{2, 6, W1, L"Success"}}},
        {"a banner as the last line", {Line("text"), "****"}, {}},
        {"bad brackets",
            {Line("****"), Line("] " + D1 + " STARTED"), Line("****"), Line("07/05/2008 15:04:05] STARTED"),
                Line("****"), Line("[07/05/2008 15:04:05 STARTED"), Line("****"), Line("[] STARTED"), Line("****"),
                Line("[[07/05/2008 15:04:05]] STARTED"), Line("****"),
                Line("[" + std::string(300, ' ') + "07/05/2008 15:04:05] STARTED"), Line("****"),
                Line(D1 + " [x] STARTED"), Line("COMPLETED")},
            {{12, 15, W1, L"Success"}}},
        {"COMPLETED followed directly by the next banner and start line",
            {Line("****"), Line(D1 + " STARTED"), Line("COMPLETED"), Line("****"), Line(D2 + " STARTED"),
                Line("COMPLETED"), Line("****")},
            {{0, 3, W1, L"Success"}, {3, 7, W2, L"Success"}}},
        {"the closing banner still belongs to its session when no start line follows",
            {Line("****"), Line(D1 + " STARTED"), Line("COMPLETED"), Line("****"), Line("after")},
            {{0, 4, W1, L"Success"}}},
        {"a 1 MB banner line and a date after 1 MB",
            {Line(mb + "****"), Line(mb + " " + D1 + " STARTED"), Line("COMPLETED")},
            {{0, 3, W1, L"Success"}}},
        {"a de-DE date in a de-DE locale",
            {Line("****"), Line("[05.07.2008 15:04] STARTED"), Line("COMPLETED"), Line("****")},
            {{0, 4, L"[05.07.2008 15:04]", L"Success"}}, LCID_DE_DE},
        {"a German month name in Latin-1 is a date",
            {Line("****"), Line("[15. M\xE4rz 2008 10:00] STARTED"), Line("COMPLETED")},
            {{0, 3, L"[15. M\u00E4rz 2008 10:00]", L"Success"}}, LCID_DE_DE},
        {"the same month name in UTF-8 is two characters, so no date",
            {Line("****"), Line("[15. M\xC3\xA4rz 2008 10:00] STARTED"), Line("COMPLETED")}, {}, LCID_DE_DE},
        {"a German month name is no date to an en-US user",
            {Line("****"), Line("[15. M\xE4rz 2008 10:00] STARTED"), Line("COMPLETED")}, {}},
        {"UTF-16LE text holds no 8-bit marker: the whole file",
            {"\xFF\xFE" + Utf16Le("****\r\n"), Utf16Le(D1 + " STARTED\r\n"), Utf16Le("COMPLETED\r\n")},
            {}},
    };
}

TEST_F(LogReaderTest, SessionsOffsetsDatesAndStatusesAreTheSameForEveryBufferSize)
{
    int fileNo = 0;
    for (const LogCase& c : Cases()) {
        ASSERT_TRUE(base::SetUserLocaleForTests(c.locale)) << c.name;
        const auto path = WriteLog("case" + std::to_string(++fileNo) + ".log", Joined(c.lines));
        std::vector<frames::SessionRow> expected;
        for (const ExpectedRow& r : c.rows)
            expected.push_back({OffsetOf(c.lines, r.firstLine), OffsetOf(c.lines, r.endLine), r.date, r.status});
        if (c.rows.empty())
            expected.push_back({0, OffsetOf(c.lines, c.lines.size()), kLogFileTime, L""});

        FillRun first;
        for (size_t buffer : {size_t{1}, size_t{7}, frames::kDefaultLogBufferSize}) {
            const FillRun run = FillFile(path, buffer);
            const std::string where = std::string(c.name) + " (buffer " + std::to_string(buffer) + ")";
            EXPECT_EQ(run.outcome.end, FillEnd::kComplete) << where;
            EXPECT_EQ(run.outcome.wholeFile, c.rows.empty()) << where;
            EXPECT_EQ(run.outcome.sessions, c.rows.size()) << where;
            ASSERT_EQ(run.rows.size(), expected.size()) << where;
            for (size_t i = 0; i < expected.size(); ++i) {
                EXPECT_EQ(run.rows[i].start, expected[i].start) << where << " row " << i;
                EXPECT_EQ(run.rows[i].end, expected[i].end) << where << " row " << i;
                EXPECT_EQ(run.rows[i].date, expected[i].date) << where << " row " << i;
                EXPECT_EQ(run.rows[i].status, expected[i].status) << where << " row " << i;
            }
            if (buffer == 1) {
                first = run;
            } else {
                EXPECT_EQ(run.percents, first.percents) << where << ": the same progress as byte by byte";
            }
            for (size_t i = 1; i < run.percents.size(); ++i)
                EXPECT_GT(run.percents[i], run.percents[i - 1]) << where << ": each percentage once, rising";
        }
    }
}

TEST_F(LogReaderTest, FileThatCannotBeOpenedGivesNoRowAtAll)
{
    const auto dir = std::filesystem::path(TempRoot()) / "logreader";
    std::filesystem::create_directories(dir / "a-folder.log");
    for (const auto& path : {dir / "missing.log", dir / "a-folder.log"}) {
        const FillRun run = FillFile(path, frames::kDefaultLogBufferSize);
        EXPECT_EQ(run.outcome.end, FillEnd::kNotOpened) << path;
        EXPECT_TRUE(run.rows.empty()) << path;
        EXPECT_FALSE(run.outcome.wholeFile) << path;
    }
}

// A log of some megabytes: sessions of every outcome, generated with their rows.
struct GeneratedLog {
    std::string bytes;
    std::vector<frames::SessionRow> rows;
};

GeneratedLog Generate(int sessions)
{
    GeneratedLog g;
    const wchar_t* statuses[] = {L"Success", L"Warning", L"Error", L"Unknown"};
    for (int s = 0; s < sessions; ++s) {
        frames::SessionRow row;
        row.start = g.bytes.size();
        const int day = 1 + s % 28, month = 1 + (s / 28) % 12, minute = s % 60;
        char date[40];
        std::snprintf(date, sizeof date, "[%02d/%02d/2010 10:%02d:00]", month, day, minute);
        row.date = CString(date);
        g.bytes += "************************************************\n";
        g.bytes += std::string(date) + " Session STARTED by operator " + std::to_string(s) + "\n";
        const int kind = s % 4;
        for (int i = 0; i < 40; ++i) {
            g.bytes += "  " + std::to_string(s) + "." + std::to_string(i) + " reading panel data, all fine so far\r\n";
            if (i == 10 && kind == 1)
                g.bytes += "** WARNING! panel " + std::to_string(i) + " is slow\n";
            if (i == 20 && kind == 2)
                g.bytes += "** ERROR! panel " + std::to_string(i) + " did not answer\n";
        }
        row.status = statuses[kind];
        if (kind != 3) {
            g.bytes += "Session COMPLETED\n";
            g.bytes += "************************************************\n";
        }
        row.end = g.bytes.size();
        g.rows.push_back(row);
    }
    return g;
}

TEST_F(LogReaderTest, GeneratedLogOfSomeMegabytesReadsAlikeWithEveryBuffer)
{
    const GeneratedLog g = Generate(1800);
    ASSERT_GT(g.bytes.size(), 3u << 20);
    const auto path = WriteLog("generated.log", g.bytes);
    FillRun reference;
    for (size_t buffer : {size_t{1}, size_t{7}, size_t{4096}, frames::kDefaultLogBufferSize}) {
        const FillRun run = FillFile(path, buffer);
        EXPECT_EQ(run.outcome.end, FillEnd::kComplete) << buffer;
        EXPECT_TRUE(SameRows(run.rows, g.rows)) << "buffer " << buffer << ": " << run.rows.size() << " rows";
        // Lines are far shorter than 1 % of the file, so every percentage from 1 to 99
        // shows, once, in order; the read that finds the end starts at the file's size:
        // 100.
        std::vector<int> all;
        for (int p = 1; p <= 100; ++p)
            all.push_back(p);
        EXPECT_EQ(run.percents, all) << buffer;
    }
}

TEST_F(LogReaderTest, EachFillShowsItsOwnPercentages)
{
    const GeneratedLog g = Generate(300);
    const auto path = WriteLog("twice.log", g.bytes);
    frames::FileLogSource source;
    ASSERT_TRUE(source.Open(CString(path.wstring().c_str())));
    frames::SessionLogReader reader(source);
    RecordingProgress first, second;
    std::vector<frames::SessionRow> rows1, rows2;
    reader.Fill(g.bytes.size(), CTime(0), &first, [&](const frames::SessionRow& r) { rows1.push_back(r); });
    reader.Fill(g.bytes.size(), CTime(0), &second, [&](const frames::SessionRow& r) { rows2.push_back(r); });
    EXPECT_FALSE(first.percents.empty());
    EXPECT_EQ(second.percents, first.percents) << "the second fill starts from 0 % again";
    EXPECT_TRUE(SameRows(rows1, rows2));
    EXPECT_TRUE(SameRows(rows1, g.rows));
}

TEST_F(LogReaderTest, CancelKeepsTheRowsSoFarOrGivesTheWholeFile)
{
    const GeneratedLog g = Generate(400);
    const auto path = WriteLog("cancel.log", g.bytes);

    RecordingProgress half;
    half.cancelAt = 50;
    const FillRun run = FillFile(path, 7, &half);
    EXPECT_EQ(run.outcome.end, FillEnd::kCanceled);
    EXPECT_EQ(run.percents.back(), 50) << "nothing read after the cancel";
    ASSERT_FALSE(run.rows.empty());
    ASSERT_LT(run.rows.size(), g.rows.size());
    EXPECT_TRUE(SameRows(run.rows, std::vector<frames::SessionRow>(g.rows.begin(), g.rows.begin() +
        static_cast<std::ptrdiff_t>(run.rows.size())))) << "a prefix of the full list";
    // The rows so far are the sessions that began before the middle of the file.
    EXPECT_LT(run.rows.back().start, g.bytes.size() / 2);
    EXPECT_FALSE(run.outcome.wholeFile);

    RecordingProgress atOnce;
    atOnce.cancelAtStart = true;
    const FillRun none = FillFile(path, 7, &atOnce);
    EXPECT_EQ(none.outcome.end, FillEnd::kCanceled);
    EXPECT_EQ(atOnce.questions, 1) << "asked after the first line";
    ASSERT_EQ(none.rows.size(), 1u);
    EXPECT_TRUE(none.outcome.wholeFile);
    EXPECT_EQ(none.rows[0].start, 0u);
    EXPECT_EQ(none.rows[0].end, g.bytes.size());
    EXPECT_EQ(none.rows[0].date, kLogFileTime);
    EXPECT_EQ(none.rows[0].status, L"");
}

// Fails every read at or past a given offset.
class FailingSource final : public frames::LogSource {
public:
    FailingSource(std::string bytes, uint64_t failAt) : m_bytes(std::move(bytes)), m_failAt(failAt) {}
    size_t ReadAt(uint64_t offset, uint8_t* buffer, size_t count) override
    {
        if (offset + count > m_failAt)
            AfxThrowFileException(CFileException::hardIO, 5, L"broken.log");
        const size_t n = offset >= m_bytes.size() ? 0 : std::min(count, static_cast<size_t>(m_bytes.size() - offset));
        std::memcpy(buffer, m_bytes.data() + offset, n);
        return n;
    }

private:
    std::string m_bytes;
    uint64_t m_failAt;
};

TEST_F(LogReaderTest, ReadFailureKeepsTheRowsSoFarAndSaysSo)
{
    const GeneratedLog g = Generate(50);
    FailingSource source(g.bytes, g.rows[11].start + 5);
    frames::SessionLogReader reader(source, 64);
    std::vector<frames::SessionRow> rows;
    RecordingProgress progress;
    const frames::FillOutcome outcome =
        reader.Fill(g.bytes.size(), CTime(0), &progress, [&](const frames::SessionRow& r) { rows.push_back(r); });
    EXPECT_EQ(outcome.end, FillEnd::kFailed);
    EXPECT_FALSE(outcome.message.IsEmpty()) << "the failure is not silent";
    ASSERT_EQ(rows.size(), 10u) << "the sessions read completely before the failure";
    EXPECT_TRUE(SameRows(rows, std::vector<frames::SessionRow>(g.rows.begin(), g.rows.begin() + 10)));
    EXPECT_FALSE(outcome.wholeFile);
}

TEST_F(LogReaderTest, OffsetsPastFourGibibytesNeedNoFile)
{
    // 64 KiB filler lines up to just below 4 GiB, then sessions that cross the boundary and
    // lie wholly past it.
    constexpr uint64_t kLine = 64 * 1024;
    constexpr uint64_t kLines = (uint64_t{1} << 32) / kLine - 1; // ends 64 KiB below 4 GiB
    std::vector<std::string> tail = {Line("****"), Line(D1 + " STARTED"), Line(std::string(70000, 'y')),
        Line("COMPLETED"), Line("****"), Line("****"), Line(D2 + " STARTED"), Line("** WARNING! late"),
        Line("COMPLETED"), Line("****")};
    SyntheticLogSource source(kLines, kLine, Joined(tail));
    const uint64_t base = source.FillerSize();
    ASSERT_LT(base, uint64_t{1} << 32);
    ASSERT_GT(base + OffsetOf(tail, 4), uint64_t{1} << 32) << "the first session crosses 4 GiB";

    frames::SessionLogReader reader(source);
    std::vector<frames::SessionRow> rows;
    RecordingProgress progress;
    const frames::FillOutcome outcome =
        reader.Fill(source.Size(), CTime(0), &progress, [&](const frames::SessionRow& r) { rows.push_back(r); });
    EXPECT_EQ(outcome.end, FillEnd::kComplete);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].start, base);
    EXPECT_EQ(rows[0].end, base + OffsetOf(tail, 5));
    EXPECT_EQ(rows[0].status, L"Success");
    EXPECT_EQ(rows[1].start, base + OffsetOf(tail, 5));
    EXPECT_EQ(rows[1].end, base + OffsetOf(tail, 10));
    EXPECT_EQ(rows[1].end, source.Size());
    EXPECT_EQ(rows[1].date, W2);
    EXPECT_EQ(rows[1].status, L"Warning");
    // The last line starts 5 bytes before the end (99 %), the read finding the end at it.
    ASSERT_GE(progress.percents.size(), 2u);
    EXPECT_EQ(progress.percents[progress.percents.size() - 2], 99);
    EXPECT_EQ(progress.percents.back(), 100);
    // Past the end, the start position is all bits set, not a wrapped 32-bit value.
    EXPECT_EQ(reader.GetStartPosition(), frames::kLogEnd);
    EXPECT_EQ(frames::kLogEnd, ~uint64_t{0});
}

TEST_F(LogReaderTest, LineWithoutLineFeedCostsBoundedMemory)
{
    // One line of 4 GiB and more with a banner and a date at its very end: a reader that
    // held the line would need gigabytes; this one keeps its markers and bracketed text.
    constexpr uint64_t kLine = uint64_t{1} << 32;
    const std::string tail = "****\n" + D1 + " STARTED\nCOMPLETED";
    SyntheticLogSource source(1, kLine + 1, tail); // the filler line's LF comes past 4 GiB
    frames::SessionLogReader reader(source);
    frames::LogLine line;
    EXPECT_EQ(reader.GetLine(line), 0u);
    EXPECT_EQ(line.length, kLine + 1);
    EXPECT_EQ(line.markers, 0u);
    EXPECT_EQ(reader.GetStartPosition(), kLine + 1);
    CString date;
    EXPECT_TRUE(reader.GetStartDate(date));
    EXPECT_EQ(date, W1);
}

} // namespace
} // namespace zyn::test
