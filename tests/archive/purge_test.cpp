// The purge pass over the event and acknowledgement sets: what it archives and
// deletes, and that the deletes are rolled back when the archive file cannot be
// flushed to disk.

#include <gtest/gtest.h>

#include <filesystem>

#include "archive/alarm_ack_rec_set.h"
#include "archive/log_events.h"
#include "archive/purge_driver.h"
#include "platform/base/exception.h"
#include "tests/archive/archive_fixture.h"

using namespace zyn::test;
using zyn::archive::PurgeStep;
using zyn::archive::RunPurgePass;

namespace {

// An archive file whose flush to disk fails, as on a full or failing disk.
class FailingFlushFile : public CStdioFileUnicode {
public:
    void FlushToDisk() override
    {
        Flush();
        AfxThrowFileException(CFileException::diskFull, 28, GetFilePath().GetString());
    }
};

class PurgeTest : public ArchiveDbTest {
protected:
    void SetUp() override
    {
        ArchiveDbTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        for (int32_t s = 1; s <= 6; ++s) {
            // Serial numbers 1-4 are old, 5-6 recent.
            ExecParams(L"INSERT INTO EVENTS (SERIALNUM, MACHINE, EVENTTYPE, EVENT_TEXT, EVENT_TIME_UTC) VALUES "
                       L"(?, ?, ?, ?, ?)",
                {s, int32_t{1}, int32_t{100 + s % 2}, CString(L"text\tof event"),
                    s <= 4 ? Ts(2010, 1, s, 12, 0, 0) : Ts(2030, 1, s)});
            ExecParams(L"INSERT INTO ALARMSACK (USERID, ACKNOTE, STATUS, SPANELID, SSERIALNUM, ACK_TIME_UTC) VALUES "
                       L"(?, ?, ?, ?, ?, ?)",
                {int32_t{7}, CString(L"ack"), int32_t{2}, int32_t{1}, s,
                    s <= 4 ? Ts(2010, 2, s, 12, 0, 0) : Ts(2030, 2, s)});
            ExecParams(L"INSERT INTO ALARM_ACK_HISTORY (PANELID, SERIALNUM, USERID, ACKTIME_UTC, ACKSTATUS, ACKNOTE) "
                       L"VALUES (?, ?, ?, ?, ?, ?)",
                {int32_t{1}, s, int32_t{7}, Ts(2010, 2, s), int32_t{2}, CString(L"h")});
        }
    }

    // The per-record-type pass: events, then acknowledgements.
    zyn::archive::PurgeResult Pass(CStdioFileUnicode* file)
    {
        CLogEvents events(ZDbPtr());
        LAcsAlarmAckRecSet acks(ZDbPtr());
        std::vector<PurgeStep> steps(2);
        steps[0].set = &events;
        steps[0].prepare = [](CZynArchiveSet& s) { static_cast<CLogEvents&>(s).PrepareForPurge(); };
        steps[1].set = &acks;
        return RunPurgePass(ZDb(), COleDateTime(2020, 1, 1, 0, 0, 0), steps, file);
    }
};

} // namespace

TEST_P(PurgeTest, OldRowsAreArchivedThenDeletedAndRestoreFromTheSharedFile)
{
    const std::wstring path = TempFilePath(L"purge.txt");
    WriteLines(path, {L"a line of an earlier pass"});
    CStdioFileUnicode file;
    OpenForAppend(file, path);
    const auto result = Pass(&file);
    file.Close();
    EXPECT_EQ(result.rows, 8);
    EXPECT_EQ(result.rowsPerStep, (std::vector<LONG>{4, 4}));
    EXPECT_EQ(result.first.GetMonth(), 1);
    EXPECT_EQ(result.last.GetMonth(), 2);
    EXPECT_EQ(result.last.GetDay(), 4);

    // The deletes are committed: another connection sees them.
    auto other = OpenAnother();
    int64_t n = -1;
    ASSERT_TRUE(other->QueryInt64(L"SELECT COUNT(*) FROM EVENTS", {}, n));
    EXPECT_EQ(n, 2);
    ASSERT_TRUE(other->QueryInt64(L"SELECT COUNT(*) FROM ALARMSACK", {}, n));
    EXPECT_EQ(n, 2);
    ASSERT_TRUE(other->QueryInt64(L"SELECT COUNT(*) FROM ALARM_ACK_HISTORY", {}, n));
    EXPECT_EQ(n, 2);
    other->Close();

    const std::vector<CString> lines = ReadLines(path);
    ASSERT_EQ(lines.size(), 1u + 4 + 8);
    EXPECT_EQ(U8(lines[0]), "a line of an earlier pass");

    // Each set restores its own lines of the shared file and skips the others'.
    CStdioFileUnicode in;
    OpenForRead(in, path);
    CLogEvents restoredEvents(ZDbPtr(), true);
    EXPECT_EQ(restoredEvents.RestoreArchiveRecords(in, 0, nullptr, nullptr, 0), 4);
    EXPECT_EQ(restoredEvents.GetSkippedLineCount(), 9);
    in.Close();
    OpenForRead(in, path);
    LAcsAlarmAckRecSet restoredAcks(ZDbPtr(), true);
    EXPECT_EQ(restoredAcks.RestoreArchiveRecords(in, 0, nullptr, nullptr, 0), 4);
    EXPECT_EQ(restoredAcks.GetSkippedLineCount(), 5);
    in.Close();
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM EVENTS_RESTORED WHERE EVENT_TEXT = 'text\tof event'"), 4);
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM ALARM_ACK_HISTORY_RESTORED"), 4);
}

TEST_P(PurgeTest, DeletesAreRolledBackWhenTheFileCannotBeFlushed)
{
    const std::wstring path = TempFilePath(L"failing.txt");
    WriteLines(path, {L"kept"});
    const auto sizeBefore = std::filesystem::file_size(path);
    FailingFlushFile file;
    OpenForAppend(file, path);
    bool threw = false;
    try {
        Pass(&file);
    } catch (CFileException* e) {
        threw = true;
        EXPECT_EQ(e->m_cause, CFileException::diskFull);
        e->Delete();
    }
    EXPECT_TRUE(threw);
    EXPECT_FALSE(ZDb().IsInTransaction());
    file.Close();
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM EVENTS"), 6);
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM ALARMSACK"), 6);
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM ALARM_ACK_HISTORY"), 6);
    // The lines of the failed pass are cut off again.
    EXPECT_EQ(std::filesystem::file_size(path), sizeBefore);
    EXPECT_EQ(ReadLines(path).size(), 1u);

    // The next pass archives everything once.
    CStdioFileUnicode again;
    OpenForAppend(again, path);
    EXPECT_EQ(Pass(&again).rows, 8);
    again.Close();
    EXPECT_EQ(ReadLines(path).size(), 1u + 12);
}

TEST_P(PurgeTest, AFullDiskLosesNothing)
{
    if (!std::filesystem::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full on this machine";
    CStdioFileUnicode file;
    ASSERT_TRUE(file.Open(L"/dev/full", CFile::modeWrite));
    bool threw = false;
    try {
        Pass(&file);
    } catch (CException* e) {
        threw = true;
        e->Delete();
    }
    EXPECT_TRUE(threw);
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM EVENTS"), 6);
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM ALARMSACK"), 6);
    try {
        file.Close();
    } catch (CException* e) {
        e->Delete();
    }
}

TEST_P(PurgeTest, TheDeleteOnlyDestinationWritesNothing)
{
    const auto result = Pass(nullptr);
    EXPECT_EQ(result.rows, 8);
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM EVENTS"), 2);
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM ALARM_ACK_HISTORY"), 2);
}

TEST_P(PurgeTest, APassPerEventTypeTakesOnlyThatType)
{
    CLogEvents events(ZDbPtr());
    std::vector<PurgeStep> steps(1);
    steps[0].set = &events;
    steps[0].prepare = [](CZynArchiveSet& s) {
        auto& e = static_cast<CLogEvents&>(s);
        e.PrepareForPurge();
        e.AddEventTypeFilter(101);
    };
    const std::wstring path = TempFilePath(L"type.txt");
    CStdioFileUnicode file;
    OpenForAppend(file, path);
    EXPECT_EQ(RunPurgePass(ZDb(), COleDateTime(2020, 1, 1, 0, 0, 0), steps, &file).rows, 2);
    file.Close();
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM EVENTS WHERE EVENTTYPE = 101"), 1);
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM EVENTS WHERE EVENTTYPE = 100"), 3);
}

ZYN_INSTANTIATE_ENGINES(PurgeTest);
