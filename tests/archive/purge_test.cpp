// The purge pass over the event and acknowledgement sets: what it archives and
// deletes, that the deletes are rolled back when the archive file cannot be flushed to
// disk, the catalogue's earliest and latest times, and rows that another client deleted
// while the pass ran.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "archive/alarm_ack_rec_set.h"
#include "archive/archive_detail_set.h"
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

    // The per-record-type pass: events, then (unless `eventsOnly`) acknowledgements.
    zyn::archive::PurgeResult Pass(CStdioFileUnicode* file, bool eventsOnly = false)
    {
        CLogEvents events(ZDbPtr());
        LAcsAlarmAckRecSet acks(ZDbPtr());
        std::vector<PurgeStep> steps(eventsOnly ? 1 : 2);
        steps[0].set = &events;
        steps[0].prepare = [](CZynArchiveSet& s) { static_cast<CLogEvents&>(s).PrepareForPurge(); };
        if (!eventsOnly)
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

// A file whose last line was torn (a crash, a failed cut-back, an outside edit) at any
// byte: the pass starts on a line of its own and a restore reads every row it deleted.
TEST_P(PurgeTest, ATornLastLineCutAtAnyByteLosesNoRow)
{
    const std::wstring path = TempFilePath(L"torn.txt");
    // Mark (2 bytes), then "an earlier line" CR LF (17 units), then "a torn line" CR LF (13).
    constexpr uintmax_t wholeBefore = 2 + 17 * 2, whole = wholeBefore + 13 * 2;
    for (uintmax_t cut = wholeBefore + 1; cut < whole; ++cut) {
        SCOPED_TRACE("cut at byte " + std::to_string(cut));
        ExecParams(L"DELETE FROM EVENTS", {});
        ExecParams(L"DELETE FROM EVENTS_RESTORED", {});
        for (int32_t s = 1; s <= 4; ++s)
            ExecParams(L"INSERT INTO EVENTS (SERIALNUM, MACHINE, EVENTTYPE, EVENT_TEXT, EVENT_TIME_UTC) VALUES "
                       L"(?, 1, 100, ?, ?)",
                {s, CString(L"row"), Ts(2010, 1, s, 12, 0, 0)});
        WriteLines(path, {L"an earlier line", L"a torn line"});
        ASSERT_EQ(std::filesystem::file_size(path), whole);
        std::filesystem::resize_file(path, cut);
        CStdioFileUnicode file;
        OpenForAppend(file, path);
        EXPECT_EQ(Pass(&file, true).rows, 4);
        file.Close();
        // Only the LF missing (cut after the CR): the line is whole and stays.
        const std::vector<CString> lines = ReadLines(path);
        ASSERT_EQ(lines.size(), (cut == whole - 2 ? 2u : 1u) + 4);
        EXPECT_EQ(U8(lines[0]), "an earlier line");
        CStdioFileUnicode in;
        OpenForRead(in, path);
        CLogEvents restored(ZDbPtr(), true);
        EXPECT_EQ(restored.RestoreArchiveRecords(in, 0, nullptr, nullptr, 0), 4);
        in.Close();
        EXPECT_EQ(Count(L"SELECT COUNT(*) FROM EVENTS_RESTORED WHERE EVENT_TEXT = 'row'"), 4);
    }
}

// Lines appended after a tear of an odd byte count are shifted by a byte: cutting back to
// the last line end would take them too, so the pass refuses and deletes nothing.
TEST_P(PurgeTest, APassRefusesAFileWhoseLastLinesAreShifted)
{
    const std::wstring path = TempFilePath(L"shifted.txt");
    WriteLines(path, {L"an earlier line"});
    {
        std::ofstream out(std::filesystem::path(path), std::ios::binary | std::ios::app);
        out.write("x", 1); // the torn byte
        out.write("a\0\r\0\n\0", 6); // a line appended after it, one byte off
    }
    const auto sizeBefore = std::filesystem::file_size(path);
    CStdioFileUnicode file;
    OpenForAppend(file, path);
    const ErrorLogMark mark;
    bool threw = false;
    try {
        Pass(&file);
    } catch (CFileException* e) {
        threw = true;
        EXPECT_EQ(e->m_cause, CFileException::invalidFile);
        e->Delete();
    }
    file.Close();
    EXPECT_TRUE(threw);
    EXPECT_EQ(std::filesystem::file_size(path), sizeBefore);
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM EVENTS"), 6);
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM ALARMSACK"), 6);
    EXPECT_NE(mark.NewText().find("shifted by one byte"), std::string::npos) << mark.NewText();
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

namespace {

// Event and acknowledgement sets that, while their row `target` is being written,
// have it deleted as another client would (on SQLite through the pass's own connection,
// which holds the write lock; on PostgreSQL through a second connection).
class VanishingEvents : public CLogEvents {
public:
    using CLogEvents::CLogEvents;
    void WriteArchiveRecord(CStdioFileUnicode& file) override
    {
        CLogEvents::WriteArchiveRecord(file);
        if (m_SERIALNUM == target)
            vanish(L"DELETE FROM EVENTS WHERE SERIALNUM = ?", target);
    }
    LONG target = 0;
    std::function<void(const wchar_t*, LONG)> vanish;
};

class VanishingAcks : public LAcsAlarmAckRecSet {
public:
    using LAcsAlarmAckRecSet::LAcsAlarmAckRecSet;
    void WriteArchiveRecord(CStdioFileUnicode& file) override
    {
        LAcsAlarmAckRecSet::WriteArchiveRecord(file);
        if (m_SSERIALNUM == target)
            vanish(L"DELETE FROM ALARMSACK WHERE SSERIALNUM = ?", target);
    }
    LONG target = 0;
    std::function<void(const wchar_t*, LONG)> vanish;
};

} // namespace

TEST_P(PurgeTest, ARowDeletedByAnotherClientIsCountedAsGoneAndThePassGoesOn)
{
    std::unique_ptr<CZynDatabase> other = IsPostgres() ? OpenAnother() : nullptr;
    auto vanish = [&](const wchar_t* sql, LONG serial) {
        const std::vector<zyn::afx::DbValue> p{int32_t{serial}};
        (other ? *other : ZDb()).ExecuteSQL(sql, p);
    };
    VanishingEvents events(ZDbPtr());
    events.target = 2;
    events.vanish = vanish;
    VanishingAcks acks(ZDbPtr());
    acks.target = 3;
    acks.vanish = vanish;
    std::vector<PurgeStep> steps(2);
    steps[0].set = &events;
    steps[0].prepare = [](CZynArchiveSet& s) { static_cast<CLogEvents&>(s).PrepareForPurge(); };
    steps[1].set = &acks;
    const std::wstring path = TempFilePath(L"gone.txt");
    CStdioFileUnicode file;
    OpenForAppend(file, path);
    const ErrorLogMark mark;
    const auto result = RunPurgePass(ZDb(), COleDateTime(2020, 1, 1, 0, 0, 0), steps, &file);
    file.Close();
    EXPECT_EQ(result.rows, 8);
    EXPECT_EQ(result.gone, 2);
    EXPECT_EQ(result.rowsPerStep, (std::vector<LONG>{4, 4}));
    // Everything else of the pass is committed, the vanished rows' lines written.
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM EVENTS"), 2);
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM ALARMSACK"), 2);
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM ALARM_ACK_HISTORY"), 2);
    EXPECT_EQ(ReadLines(path).size(), 4u + 8);
    EXPECT_NE(mark.NewText().find("already gone"), std::string::npos) << mark.NewText();
    if (other)
        other->Close();
}

// The rows arrive in the order they were inserted, which is not their time order: the
// catalogue still gets the earliest and the latest time of all of them.
TEST_P(PurgeTest, TheCatalogueHoldsTheEarliestAndLatestTimesWhateverTheOrderRowsCameIn)
{
    ExecParams(L"DELETE FROM EVENTS", {});
    ExecParams(L"DELETE FROM ALARMSACK", {});
    const TIMESTAMP_STRUCT eventTimes[] = {Ts(2010, 5, 5, 5, 5, 5), Ts(2010, 1, 1, 1, 1, 1), Ts(2010, 9, 9, 9, 9, 9),
        Ts(2010, 3, 3, 3, 3, 3)};
    int32_t serial = 0;
    for (const TIMESTAMP_STRUCT& t : eventTimes)
        ExecParams(L"INSERT INTO EVENTS (SERIALNUM, MACHINE, EVENT_TIME_UTC) VALUES (?, 1, ?)", {++serial, t});
    ExecParams(L"INSERT INTO ALARMSACK (SPANELID, SSERIALNUM, ACK_TIME_UTC) VALUES (1, 1, ?), (1, 2, ?)",
        {Ts(2009, 12, 31, 23, 0, 0), Ts(2010, 6, 6, 6, 6, 6)});

    const std::wstring path = TempFilePath(L"catalogue.txt");
    zyn::archive::PurgeCatalogueEntry entry;
    entry.filePath = path.c_str();
    entry.workstation = L"WS1";
    entry.user = L"operator";
    entry.recordType = -3;
    entry.versionMajor = 5;
    entry.versionMinor = 12;
    entry.versionBuild = 110;
    auto pass = [&] {
        CLogEvents events(ZDbPtr());
        LAcsAlarmAckRecSet acks(ZDbPtr());
        std::vector<PurgeStep> steps(2);
        steps[0].set = &events;
        steps[0].prepare = [](CZynArchiveSet& s) { static_cast<CLogEvents&>(s).PrepareForPurge(); };
        steps[1].set = &acks;
        CStdioFileUnicode file;
        OpenForAppend(file, path);
        const auto result = RunPurgePass(ZDb(), COleDateTime(2020, 1, 1, 0, 0, 0), steps, &file, &entry);
        file.Close();
        return result;
    };
    auto expectCatalogue = [&](const COleDateTime& first, const COleDateTime& last, LONG count) {
        LArchiveDetailSet cat(ZDbPtr());
        cat.Open(CRecordset::forwardOnly, nullptr, CRecordset::readOnly);
        ASSERT_FALSE(cat.IsEOF());
        EXPECT_EQ(cat.GetDateFirst(), first) << U8(cat.GetDateFirst().Format(L"%Y-%m-%d %H:%M:%S"));
        EXPECT_EQ(cat.GetDateLast(), last) << U8(cat.GetDateLast().Format(L"%Y-%m-%d %H:%M:%S"));
        EXPECT_EQ(cat.m_EVENTCOUNT, count);
        EXPECT_EQ(U8(cat.m_FILEPATH), U8(CString(path.c_str())));
        EXPECT_EQ(U8(cat.m_AD_WORKSTATION), "WS1");
        EXPECT_EQ(U8(cat.GetVersion()), "5.12.110");
        EXPECT_EQ(cat.m_EVENTTYPE, -3);
        cat.MoveNext();
        EXPECT_TRUE(cat.IsEOF()) << "one catalogue row per file";
        cat.Close();
    };

    const auto first = pass();
    EXPECT_EQ(first.rows, 6);
    EXPECT_EQ(first.first, COleDateTime(2009, 12, 31, 23, 0, 0));
    EXPECT_EQ(first.last, COleDateTime(2010, 9, 9, 9, 9, 9));
    expectCatalogue(COleDateTime(2009, 12, 31, 23, 0, 0), COleDateTime(2010, 9, 9, 9, 9, 9), 6);

    // A later pass into the same file widens the row on both sides and adds its count;
    // one that takes no row leaves it alone.
    ExecParams(L"INSERT INTO EVENTS (SERIALNUM, MACHINE, EVENT_TIME_UTC) VALUES (7, 1, ?), (8, 1, ?), (9, 1, ?)",
        {Ts(2010, 7, 7, 7, 7, 7), Ts(2008, 2, 2, 2, 2, 2), Ts(2011, 1, 1, 0, 0, 0)});
    EXPECT_EQ(pass().rows, 3);
    expectCatalogue(COleDateTime(2008, 2, 2, 2, 2, 2), COleDateTime(2011, 1, 1, 0, 0, 0), 9);
    EXPECT_EQ(pass().rows, 0);
    expectCatalogue(COleDateTime(2008, 2, 2, 2, 2, 2), COleDateTime(2011, 1, 1, 0, 0, 0), 9);
}

ZYN_INSTANTIATE_ENGINES(PurgeTest);
