// The visit and video sets in the shared purge pass (one transaction, committed after
// the archive file is on disk): visit events before visits, the visits' deletes by
// key after their last row, the video sets row by row; and the rollback when the file
// cannot be flushed.
#include <gtest/gtest.h>

#include "archive/continuous_video_set.h"
#include "archive/purge_driver.h"
#include "archive/video_event_sets.h"
#include "archive/visit_event_set.h"
#include "archive/visit_set.h"
#include "platform/base/exception.h"
#include "platform/suite/utility/stdiofile_unicode.h"
#include "tests/archvis/archvis_fixture.h"

namespace zyn::test {
namespace {

using zyn::archive::PurgeStep;
using zyn::archive::RunPurgePass;

class FailingFlushFile : public CStdioFileUnicode {
public:
    void FlushToDisk() override
    {
        Flush();
        AfxThrowFileException(CFileException::diskFull, 28, GetFilePath().GetString());
    }
};

class PurgePassTest : public ArchVisTest {
protected:
    void SetUp() override
    {
        ArchVisTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        // Visit events 1 (old, visit signed out), 2 (old, open visit), 3 (new).
        Run(L"INSERT INTO VISIT_EVENT (VISIT_EVENTID, NAME, SCHEDULED_TIMEOUT) VALUES (1, 'a', ?), (2, 'b', ?), (3, "
            L"'c', ?)",
            {Ts(2008, 1, 1, 0, 0, 0), Ts(2008, 1, 2, 0, 0, 0), Ts(2030, 1, 1, 0, 0, 0)});
        // The generic pass adds the time filter to the visit set too: visits last changed
        // before the cut-off, besides the purge statement's condition.
        Run(L"INSERT INTO VISIT (VISITID, VISIT_EVENTID, TIMEOUT_UTC, LASTCHANGED_UTC) VALUES (10, 1, ?, ?), (20, 2, "
            L"NULL, ?), (30, NULL, NULL, ?)",
            {Ts(2008, 1, 1, 12, 0, 0), Ts(2008, 1, 1, 12, 0, 0), Ts(2008, 1, 1, 12, 0, 0), Ts(2008, 1, 1, 12, 0, 0)});
        Run(L"INSERT INTO EVENTS (SERIALNUM, MACHINE, EVENTTYPE) VALUES (1, 1, 5)");
        Run(L"INSERT INTO EVENTS_VIDEO (SERIALNUM, MACHINE, START_TIME_UTC) VALUES (1, 1, ?), (1, 1, ?)",
            {Ts(2008, 1, 1, 0, 0, 0), Ts(2030, 1, 1, 0, 0, 0)});
        Run(L"INSERT INTO CONTINUOUS_VIDEO (CONTINUOUS_VIDEOID, START_TIME_UTC) VALUES (1, ?), (2, ?)",
            {Ts(2008, 1, 1, 0, 0, 0), Ts(2030, 1, 1, 0, 0, 0)});
    }

    zyn::archive::PurgeResult Pass(CStdioFileUnicode* file)
    {
        const COleDateTime cutoff(2020, 1, 1, 0, 0, 0);
        VisitEventSet events(&ZDb(), false);
        CVisitSet visits(&ZDb(), false);
        CVideoEventEventTypeArchiveSet clips(&ZDb(), false);
        CContinuousVideoArchiveSet continuous(&ZDb(), false);
        std::vector<PurgeStep> steps(4);
        steps[0].set = &events;
        steps[0].prepare = [&](CZynArchiveSet&) {
            events.PrepareForPurge();
            events.BuildPurgeStatement(cutoff, CMultiFilterRecordset::LessThan);
        };
        steps[0].afterLastRow = [&](CZynArchiveSet&) { events.DeleteArchivedRows(); };
        steps[1].set = &visits;
        steps[1].prepare = [&](CZynArchiveSet&) {
            visits.PrepareForPurge();
            visits.BuildPurgeStatement();
        };
        steps[1].afterLastRow = [&](CZynArchiveSet&) { visits.DeleteArchivedRows(); };
        steps[2].set = &clips;
        steps[2].prepare = [&](CZynArchiveSet&) {
            clips.PrepareForPurge();
            clips.AddEventTypeFilter(5, CMultiFilterRecordset::Equal);
            clips.AddJoinCondition();
        };
        steps[3].set = &continuous;
        steps[3].prepare = [&](CZynArchiveSet&) { continuous.PrepareForPurge(); };
        return RunPurgePass(ZDb(), cutoff, steps, file);
    }

    void ExpectUntouched()
    {
        EXPECT_EQ(Count(L"SELECT COUNT(*) FROM VISIT_EVENT"), 3);
        EXPECT_EQ(Count(L"SELECT COUNT(*) FROM VISIT"), 3);
        EXPECT_EQ(Count(L"SELECT COUNT(*) FROM EVENTS_VIDEO"), 2);
        EXPECT_EQ(Count(L"SELECT COUNT(*) FROM CONTINUOUS_VIDEO"), 2);
    }
};

TEST_P(PurgePassTest, ArchivesAndDeletesExactlyTheOldRows)
{
    const std::wstring path = FilePath(L"purge.txt");
    CStdioFileUnicode file;
    OpenForWrite(file, path);
    const zyn::archive::PurgeResult result = Pass(&file);
    file.Close();
    EXPECT_EQ(result.rowsPerStep, (std::vector<LONG>{1, 1, 1, 1}));
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM VISIT_EVENT"), 2);
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM VISIT_EVENT WHERE VISIT_EVENTID = 1"), 0);
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM VISIT"), 2);
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM VISIT WHERE VISITID = 10"), 0);
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM EVENTS_VIDEO"), 1);
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM CONTINUOUS_VIDEO"), 1);
    const std::vector<CString> lines = ReadLines(path);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(Fields(lines[0]).size(), 9u);
    EXPECT_EQ(Fields(lines[1]).size(), 15u);
    EXPECT_EQ(Fields(lines[2]).size(), 10u);
    EXPECT_EQ(Fields(lines[3]).size(), 9u);
}

TEST_P(PurgePassTest, NothingIsDeletedWhenTheFileCannotReachTheDisk)
{
    const std::wstring path = FilePath(L"purge.txt");
    FailingFlushFile file;
    OpenForWrite(file, path);
    bool failed = false;
    try {
        Pass(&file);
    } catch (CFileException* e) {
        failed = true;
        e->Delete();
    }
    file.Close();
    EXPECT_TRUE(failed);
    ExpectUntouched();
}

TEST_P(PurgePassTest, TheDeleteOnlyDestinationDeletesWithoutWriting)
{
    Pass(nullptr);
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM VISIT_EVENT"), 2);
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM VISIT"), 2);
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM EVENTS_VIDEO"), 1);
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM CONTINUOUS_VIDEO"), 1);
}

ZYN_INSTANTIATE_ENGINES(PurgePassTest);

} // namespace
} // namespace zyn::test
