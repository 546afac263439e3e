// The visit and video sets in the shared purge pass (one transaction, committed after
// the archive file is on disk): visit events before visits, the visits' deletes by
// key after their last row, the video sets row by row; and the rollback when the file
// cannot be flushed.
#include <gtest/gtest.h>

#include <algorithm>

#include "archive/archived_row_keys.h"
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
        // Visit event 4 has no scheduled time-out: it never passes the age condition.
        Run(L"INSERT INTO VISIT_EVENT (VISIT_EVENTID, NAME, SCHEDULED_TIMEOUT) VALUES (4, 'd', NULL)");
        // The visits go by their own rule, not by age: every visit of a purged visit event
        // (10, 40 never changed, 50 changed lately), none of an open one (20) or of none (30).
        Run(L"INSERT INTO VISIT (VISITID, VISIT_EVENTID, TIMEOUT_UTC, LASTCHANGED_UTC) VALUES (10, 1, ?, ?), (20, 2, "
            L"NULL, ?), (30, NULL, NULL, ?), (40, 1, ?, NULL), (50, 1, ?, ?)",
            {Ts(2008, 1, 1, 12, 0, 0), Ts(2008, 1, 1, 12, 0, 0), Ts(2008, 1, 1, 12, 0, 0), Ts(2008, 1, 1, 12, 0, 0),
                Ts(2008, 1, 1, 12, 0, 0), Ts(2008, 1, 1, 12, 0, 0), Ts(2030, 1, 1, 0, 0, 0)});
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
        EXPECT_EQ(Count(L"SELECT COUNT(*) FROM VISIT_EVENT"), 4);
        EXPECT_EQ(Count(L"SELECT COUNT(*) FROM VISIT"), 5);
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
    EXPECT_EQ(result.rowsPerStep, (std::vector<LONG>{1, 3, 1, 1}));
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM VISIT_EVENT"), 3);
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM VISIT_EVENT WHERE VISIT_EVENTID = 1"), 0);
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM VISIT"), 2);
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM VISIT WHERE VISITID IN (20, 30)"), 2);
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM EVENTS_VIDEO"), 1);
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM CONTINUOUS_VIDEO"), 1);
    const std::vector<CString> lines = ReadLines(path);
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(Fields(lines[0]).size(), 9u);
    for (size_t i = 1; i <= 3; ++i)
        EXPECT_EQ(Fields(lines[i]).size(), 15u) << "line " << i + 1;
    EXPECT_EQ(Fields(lines[4]).size(), 10u);
    EXPECT_EQ(Fields(lines[5]).size(), 9u);
    // The visit that was never changed has an empty LASTCHANGED_UTC (field 14).
    size_t emptyLastChanged = 0;
    for (size_t i = 1; i <= 3; ++i)
        emptyLastChanged += Fields(lines[i])[13].IsEmpty() ? 1 : 0;
    EXPECT_EQ(emptyLastChanged, 1u);
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
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM VISIT_EVENT"), 3);
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM VISIT"), 2);
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM EVENTS_VIDEO"), 1);
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM CONTINUOUS_VIDEO"), 1);
}

// The sets' own selection needs no preparation from the caller: a pass of bare steps
// selects the visit events by their time-out and the visits by their visit event, and
// deletes them after their last row.
TEST_P(PurgePassTest, TheVisitSetsNeedNoPreparationOfTheirOwn)
{
    VisitEventSet events(&ZDb(), false);
    CVisitSet visits(&ZDb(), false);
    std::vector<PurgeStep> steps(2);
    steps[0].set = &events;
    steps[1].set = &visits;
    const zyn::archive::PurgeResult result = RunPurgePass(ZDb(), COleDateTime(2020, 1, 1, 0, 0, 0), steps, nullptr);
    EXPECT_EQ(result.rowsPerStep, (std::vector<LONG>{1, 3}));
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM VISIT_EVENT"), 3);
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM VISIT"), 2);
    // The visit event's scheduled time-out is the earliest, visit 50's last change the
    // latest; visit 40's NULL time counts for neither.
    EXPECT_EQ(result.first, COleDateTime(2008, 1, 1, 0, 0, 0));
    EXPECT_EQ(result.last, COleDateTime(2030, 1, 1, 0, 0, 0));
}

namespace {

// The visit set, watching how many archived keys it holds at most.
class WatchedVisits : public CVisitSet {
public:
    using CVisitSet::CVisitSet;
    void Delete() override
    {
        CVisitSet::Delete();
        most = std::max(most, GetPendingDeleteCount());
    }
    size_t most = 0;
};

} // namespace

// A pass over more visits than a batch of keys deletes them batch by batch, holding no
// more than one batch of keys at a time, and deletes every one it archived.
TEST_P(PurgePassTest, ManyVisitsAreDeletedBatchByBatch)
{
    const int n = 1234;
    Run(L"DELETE FROM VISIT");
    Run(L"DELETE FROM VISIT_EVENT");
    for (int i = 1; i <= n; ++i) {
        Run(L"INSERT INTO VISIT_EVENT (VISIT_EVENTID, NAME, SCHEDULED_TIMEOUT) VALUES (?, 'e', ?)",
            {I(i), Ts(2008, 1, 1, 0, 0, 0)});
        Run(L"INSERT INTO VISIT (VISITID, VISIT_EVENTID, TIMEOUT_UTC) VALUES (?, ?, ?)",
            {I(i), I(i), Ts(2008, 1, 1, 1, 0, 0)});
    }
    VisitEventSet events(&ZDb(), false);
    WatchedVisits visits(&ZDb(), false);
    std::vector<PurgeStep> steps(2);
    steps[0].set = &events;
    steps[1].set = &visits;
    const std::wstring path = FilePath(L"many.txt");
    CStdioFileUnicode file;
    OpenForWrite(file, path);
    const zyn::archive::PurgeResult result = RunPurgePass(ZDb(), COleDateTime(2020, 1, 1, 0, 0, 0), steps, &file);
    file.Close();
    EXPECT_EQ(result.rowsPerStep, (std::vector<LONG>{n, n}));
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM VISIT_EVENT"), 0);
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM VISIT"), 0);
    EXPECT_EQ(ReadLines(path).size(), static_cast<size_t>(2 * n));
    EXPECT_LE(visits.most, zyn::archive::ArchivedRowKeys::BatchSize);
    EXPECT_GT(visits.most, 0u);
}

namespace {

// The join set that, while writing its clip, has it deleted as another client would.
class VanishingClips : public CVideoEventEventTypeArchiveSet {
public:
    using CVideoEventEventTypeArchiveSet::CVideoEventEventTypeArchiveSet;
    void WriteArchiveRecord(CStdioFileUnicode& file) override
    {
        CVideoEventEventTypeArchiveSet::WriteArchiveRecord(file);
        vanish();
    }
    std::function<void()> vanish;
};

} // namespace

TEST_P(PurgePassTest, AClipDeletedByAnotherClientIsCountedAsGone)
{
    std::unique_ptr<CZynDatabase> other;
    if (IsPostgres()) {
        other = std::make_unique<CZynDatabase>();
        other->OpenEx(OdbcSetup::Instance().ConnectString(Engine()).c_str(), CDatabase::noOdbcDialog);
    }
    VanishingClips clips(&ZDb(), false);
    clips.vanish = [&] {
        (other ? *other : ZDb()).ExecuteSQL(L"DELETE FROM EVENTS_VIDEO WHERE START_TIME_UTC < '2020-01-01'");
    };
    std::vector<PurgeStep> steps(1);
    steps[0].set = &clips;
    steps[0].prepare = [&](CZynArchiveSet&) {
        clips.PrepareForPurge();
        clips.AddEventTypeFilter(5, CMultiFilterRecordset::Equal);
        clips.AddJoinCondition();
    };
    const std::wstring path = FilePath(L"clips.txt");
    CStdioFileUnicode file;
    OpenForWrite(file, path);
    const zyn::archive::PurgeResult result = RunPurgePass(ZDb(), COleDateTime(2020, 1, 1, 0, 0, 0), steps, &file);
    file.Close();
    EXPECT_EQ(result.rows, 1);
    EXPECT_EQ(result.gone, 1);
    EXPECT_EQ(ReadLines(path).size(), 1u);
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM EVENTS_VIDEO"), 1);
    if (other)
        other->Close();
}

ZYN_INSTANTIATE_ENGINES(PurgePassTest);

} // namespace
} // namespace zyn::test
