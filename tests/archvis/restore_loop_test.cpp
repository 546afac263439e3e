// What every one of the four sets' restores shares: the progress callback, blank
// lines, lines of other sets in the same file, a bad interval.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "archive/continuous_video_set.h"
#include "archive/video_event_sets.h"
#include "archive/visit_event_set.h"
#include "archive/visit_set.h"
#include "platform/base/exception.h"
#include "platform/suite/utility/stdiofile_unicode.h"
#include "tests/archvis/archvis_fixture.h"

namespace zyn::test {
namespace {

struct SetKind {
    const char* name;
    const wchar_t* restoredTable;
    std::function<std::unique_ptr<CZynArchiveSet>(CZynDatabase*)> make;
    // A valid line for row i.
    std::function<CString(int)> line;
};

std::vector<SetKind> Kinds()
{
    auto num = [](int i) {
        CString s;
        s.Format(L"%d", i);
        return s;
    };
    return {
        {"visit", L"VISIT_RESTORED", [](CZynDatabase* db) { return std::make_unique<CVisitSet>(db, true); },
            [num](int i) {
                return num(i) + L"\t1\t2\t\t\tpurpose\t\t0\t\t\t5\tJul 05 2008 03:04:05PM\t\tJul 05 2008 03:04:05PM\tkey";
            }},
        {"visit event", L"VISIT_EVENT_RESTORED",
            [](CZynDatabase* db) { return std::make_unique<VisitEventSet>(db, true); },
            [num](int i) { return num(i) + L"\t1\t\t2\tname\t3\t\tJul 05 2008 03:04:05PM\t"; }},
        {"event video", L"EVENTS_VIDEO_RESTORED",
            [](CZynDatabase* db) { return std::make_unique<CVideoEventArchiveSet>(db, true); },
            [num](int i) { return num(i) + L"\t1\t2\t3\t\t\t4\tf.avi\tJul 05 2008 03:04:05PM\t"; }},
        {"event video (join set)", L"EVENTS_VIDEO_RESTORED",
            [](CZynDatabase* db) { return std::make_unique<CVideoEventEventTypeArchiveSet>(db, true); },
            [num](int i) { return num(i) + L"\t1\t2\t3\t\t\t4\tf.avi\tJul 05 2008 03:04:05PM\t"; }},
        {"continuous video", L"CONTINUOUS_VIDEO_RESTORED",
            [](CZynDatabase* db) { return std::make_unique<CContinuousVideoArchiveSet>(db, true); },
            [num](int i) { return num(i) + L"\t1\t2\t\t\t3\tf.avi\tJul 05 2008 03:04:05PM\t"; }},
    };
}

class RestoreLoopTest : public ArchVisTest {
protected:
    int64_t Rows(const wchar_t* table)
    {
        CString sql;
        sql.Format(L"SELECT COUNT(*) FROM %s", table);
        return Count(sql);
    }
    void Clear(const wchar_t* table)
    {
        CString sql;
        sql.Format(L"DELETE FROM %s", table);
        Run(sql);
    }
};

struct Calls {
    std::vector<LONG> counts;
    bool answer = false;
};

bool Progress(LONG count, void* context)
{
    auto* calls = static_cast<Calls*>(context);
    calls->counts.push_back(count);
    return calls->answer;
}

TEST_P(RestoreLoopTest, ACallbackThatStopsAtOnceLeavesExactlyOneInterval)
{
    for (const SetKind& kind : Kinds()) {
        SCOPED_TRACE(kind.name);
        Clear(kind.restoredTable);
        std::vector<CString> lines;
        for (int i = 1; i <= 10; ++i)
            lines.push_back(kind.line(i));
        const std::wstring path = FilePath(L"lines.txt");
        WriteLines(path, lines);
        auto set = kind.make(&ZDb());
        CStdioFileUnicode file;
        OpenForRead(file, path);
        Calls calls;
        EXPECT_EQ(set->RestoreArchiveRecords(file, 0, &Progress, &calls, 3), 3);
        EXPECT_EQ(calls.counts, std::vector<LONG>{3});
        EXPECT_EQ(Rows(kind.restoredTable), 3);
    }
}

TEST_P(RestoreLoopTest, ACallbackThatGoesOnHearsEveryInterval)
{
    for (const SetKind& kind : Kinds()) {
        SCOPED_TRACE(kind.name);
        Clear(kind.restoredTable);
        std::vector<CString> lines;
        for (int i = 1; i <= 7; ++i)
            lines.push_back(kind.line(i));
        const std::wstring path = FilePath(L"lines.txt");
        WriteLines(path, lines);
        auto set = kind.make(&ZDb());
        CStdioFileUnicode file;
        OpenForRead(file, path);
        Calls calls;
        calls.answer = true;
        EXPECT_EQ(set->RestoreArchiveRecords(file, 0, &Progress, &calls, 2), 7);
        EXPECT_EQ(calls.counts, (std::vector<LONG>{2, 4, 6}));
        EXPECT_FALSE(set->IsOpen()) << "the restore closes the set";
    }
}

TEST_P(RestoreLoopTest, AFileOfBlankLinesRestoresNothing)
{
    for (const SetKind& kind : Kinds()) {
        SCOPED_TRACE(kind.name);
        const std::wstring path = FilePath(L"blank.txt");
        WriteLines(path, {L"", L"", L"  ", L"\t", L""});
        auto set = kind.make(&ZDb());
        CStdioFileUnicode file;
        OpenForRead(file, path);
        EXPECT_EQ(set->RestoreArchiveRecords(file, 0, nullptr, nullptr, 0), 0);
        EXPECT_EQ(set->GetSkippedLineCount(), 0);
        EXPECT_EQ(Rows(kind.restoredTable), 0);
    }
}

TEST_P(RestoreLoopTest, LinesOfOtherSetsAreSkippedAndCounted)
{
    // One archive file may hold lines of several sets; a set restores its own and
    // skips the others rather than inserting rows of garbage.
    std::vector<const wchar_t*> eventLine(32, L"1");
    eventLine[21] = L"event text";
    const CString foreign[] = {Line(eventLine), L"garbage line", Line({L"a", L"b", L"c", L"d", L"e", L"f", L"g", L"h"})};
    for (const SetKind& kind : Kinds()) {
        SCOPED_TRACE(kind.name);
        Clear(kind.restoredTable);
        const std::wstring path = FilePath(L"mixed.txt");
        WriteLines(path, {kind.line(1), foreign[0], foreign[1], kind.line(2), foreign[2]});
        auto set = kind.make(&ZDb());
        CStdioFileUnicode file;
        OpenForRead(file, path);
        EXPECT_EQ(set->RestoreArchiveRecords(file, 0, nullptr, nullptr, 0), 2);
        EXPECT_EQ(set->GetSkippedLineCount(), 3);
        EXPECT_EQ(Rows(kind.restoredTable), 2);
    }
}

TEST_P(RestoreLoopTest, ACallbackWithoutAPositiveIntervalIsRefusedBeforeReading)
{
    for (const SetKind& kind : Kinds()) {
        SCOPED_TRACE(kind.name);
        const std::wstring path = FilePath(L"lines.txt");
        WriteLines(path, {kind.line(1)});
        auto set = kind.make(&ZDb());
        CStdioFileUnicode file;
        OpenForRead(file, path);
        Calls calls;
        bool refused = false;
        try {
            set->RestoreArchiveRecords(file, 0, &Progress, &calls, 0);
        } catch (CInvalidArgException* e) {
            refused = true;
            e->Delete();
        }
        EXPECT_TRUE(refused);
        EXPECT_EQ(Rows(kind.restoredTable), 0);
    }
}

ZYN_INSTANTIATE_ENGINES(RestoreLoopTest);

} // namespace
} // namespace zyn::test
