// Restores of real files into every set's restored table, on both engines, when the
// file or the run is not what it should be: a restore run again after an interruption,
// a file that holds its rows twice, a torn last line, a text too long for its column, a
// line that is not valid text or holds a NUL, a row the database refuses. The lines are
// written by hand in each set's layout, the files byte by byte as UTF-16LE.
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <memory>

#include "archive/alarm_ack_rec_set.h"
#include "archive/continuous_video_set.h"
#include "archive/log_events.h"
#include "archive/video_event_sets.h"
#include "archive/visit_event_set.h"
#include "archive/visit_set.h"
#include "platform/base/utf16.h"
#include "tests/archive/archive_fixture.h"

using namespace zyn::test;

namespace {

constexpr const wchar_t* kTime = L"Jul 05 2008 03:04:05PM";

CString Num(int i)
{
    CString s;
    s.Format(L"%d", i);
    return s;
}

CString Join(const std::vector<CString>& fields)
{
    CString line;
    for (size_t i = 0; i < fields.size(); ++i) {
        if (i)
            line += L"\t";
        line += fields[i];
    }
    return line;
}

// The first n fields of a line.
CString FirstFields(const CString& line, int n)
{
    int at = -1;
    for (int k = 0; k < n; ++k) {
        at = line.Find(L'\t', at + 1);
        if (at < 0)
            return line;
    }
    return line.Left(at);
}

struct Kind {
    const char* name;
    const wchar_t* table;
    const wchar_t* keyColumn; // the column holding the row number i
    std::function<std::unique_ptr<CZynArchiveSet>(CZynDatabase*)> make;
    // The lines of row i (an acknowledgement: its line and a history line), with text
    // standing in field textField of its first line.
    std::function<std::vector<CString>(int i, const CString& text)> lines;
    int textField;
    int textLimit;   // the column's size
    int tornFields;  // a shorter layout of the set that a torn first line matches
};

std::vector<CString> EventLines(int i, const CString& text)
{
    return {Join({Num(i), L"", Num(i), L"1", L"2", L"3", L"4", L"5", L"1000", L"1", L"20", L"7", L"8", L"9", L"10",
        L"11", L"-1", L"12", L"13", L"-1", L"14", text, L"15", L"16", L"17", L"18", L"code", L"", L"1", L"0", L"0",
        kTime})};
}

std::vector<CString> AckLines(int i, const CString& text)
{
    return {Join({L"7", L"2", L"1", L"4", Num(i), L"0", L"0", L"", text, L"0", L"", kTime, L"", L""}),
        Join({L"\x01\x02", L"7", kTime, L"", L"2", L"history", L""})};
}

std::vector<Kind> Kinds()
{
    return {
        {"event", L"EVENTS_RESTORED", L"SERIALNUM",
            [](CZynDatabase* db) { return std::make_unique<CLogEvents>(db, true, true); }, EventLines, 22, 2000,
            21},
        {"acknowledgement", L"ALARMSACK_RESTORED", L"SSERIALNUM",
            [](CZynDatabase* db) { return std::make_unique<LAcsAlarmAckRecSet>(db, true); }, AckLines, 9, 32000, 9},
        {"visit", L"VISIT_RESTORED", L"VISITID", [](CZynDatabase* db) { return std::make_unique<CVisitSet>(db, true); },
            [](int i, const CString& text) {
                return std::vector<CString>{Join({Num(i), L"1", L"2", L"", L"", L"purpose", L"", L"0", L"", L"", L"5",
                    kTime, L"", kTime, text})};
            },
            15, 255, 10},
        {"visit event", L"VISIT_EVENT_RESTORED", L"VISIT_EVENTID",
            [](CZynDatabase* db) { return std::make_unique<VisitEventSet>(db, true); },
            [](int i, const CString& text) {
                return std::vector<CString>{Join({Num(i), L"1", L"", L"2", text, L"3", L"", kTime, kTime})};
            },
            5, 255, 5},
        {"event video", L"EVENTS_VIDEO_RESTORED", L"SERIALNUM",
            [](CZynDatabase* db) { return std::make_unique<CVideoEventArchiveSet>(db, true); },
            [](int i, const CString& text) {
                return std::vector<CString>{
                    Join({Num(i), L"1", L"2", L"3", L"", L"", L"4", text, kTime, L"Jul 05 2008 03:05:05PM"})};
            },
            8, 255, 8},
        {"continuous video", L"CONTINUOUS_VIDEO_RESTORED", L"CONTINUOUS_VIDEOID",
            [](CZynDatabase* db) { return std::make_unique<CContinuousVideoArchiveSet>(db, true); },
            [](int i, const CString& text) {
                return std::vector<CString>{
                    Join({Num(i), L"1", L"2", L"", L"", L"3", text, kTime, L"Jul 05 2008 03:05:05PM"})};
            },
            7, 255, 7},
    };
}

// UTF-16LE with a byte-order mark; each unit of a code point below U+10000 written as
// it is (so a lone surrogate stays one), CR LF after each line but the last when
// lastEnded is false.
void WriteUtf16(const std::wstring& path, const std::vector<CString>& lines, bool lastEnded = true)
{
    std::string bytes = "\xFF\xFE";
    auto unit = [&](uint32_t u) {
        bytes += static_cast<char>(u & 0xFF);
        bytes += static_cast<char>((u >> 8) & 0xFF);
    };
    for (size_t l = 0; l < lines.size(); ++l) {
        for (int k = 0; k < lines[l].GetLength(); ++k) {
            const auto c = static_cast<uint32_t>(lines[l][k]);
            if (c >= 0x10000) {
                unit(0xD800 + ((c - 0x10000) >> 10));
                unit(0xDC00 + ((c - 0x10000) & 0x3FF));
            } else {
                unit(c);
            }
        }
        if (l + 1 < lines.size() || lastEnded) {
            unit(L'\r');
            unit(L'\n');
        }
    }
    std::ofstream(zyn::base::ToUtf8(path.c_str()), std::ios::binary) << bytes;
}

bool IsAcknowledgement(const Kind& kind)
{
    return CString(kind.table) == L"ALARMSACK_RESTORED";
}

struct Outcome {
    LONG rows = -1;
    LONG skipped = -1;
    LONG duplicates = -1;
};

class RestoreSafetyTest : public ArchiveDbTest {
protected:
    Outcome Restore(const Kind& kind, const std::wstring& path, ZynArchiveProgressProc progress = nullptr,
        void* context = nullptr, LONG interval = 0)
    {
        CStdioFileUnicode file;
        OpenForRead(file, path);
        auto set = kind.make(ZDbPtr());
        Outcome out;
        out.rows = set->RestoreArchiveRecords(file, 0, progress, context, interval);
        out.skipped = set->GetSkippedLineCount();
        out.duplicates = set->GetDuplicateCount();
        EXPECT_FALSE(set->IsOpen());
        EXPECT_FALSE(ZDb().IsInTransaction());
        file.Close();
        return out;
    }
    int64_t Rows(const Kind& kind)
    {
        CString sql;
        sql.Format(L"SELECT COUNT(*) FROM %s", kind.table);
        return Count(sql.GetString());
    }
    void Clear(const Kind& kind)
    {
        CString sql;
        sql.Format(L"DELETE FROM %s", kind.table);
        ExecParams(sql.GetString(), {});
        ExecParams(L"DELETE FROM ALARM_ACK_HISTORY_RESTORED", {});
    }
    // Rows 1..n, each whole.
    static std::vector<CString> RowLines(const Kind& kind, int from, int to)
    {
        std::vector<CString> lines;
        for (int i = from; i <= to; ++i) {
            for (const CString& l : kind.lines(i, L"text"))
                lines.push_back(l);
        }
        return lines;
    }
};

TEST_P(RestoreSafetyTest, ARestoreRunAgainAfterAnInterruptionRestoresEachRowOnce)
{
    for (const Kind& kind : Kinds()) {
        SCOPED_TRACE(kind.name);
        Clear(kind);
        const std::wstring path = TempFilePath(L"rerun.txt");
        WriteUtf16(path, RowLines(kind, 1, 10));
        ProgressLog stop;
        stop.stopAfter = 1;
        const Outcome first = Restore(kind, path, RecordProgress, &stop, 3);
        EXPECT_EQ(first.rows, 3);
        EXPECT_EQ(Rows(kind), 3);

        const Outcome second = Restore(kind, path);
        EXPECT_EQ(second.rows, 7);
        EXPECT_EQ(second.duplicates, 3);
        EXPECT_EQ(second.skipped, 0);
        EXPECT_EQ(Rows(kind), 10);

        const Outcome third = Restore(kind, path);
        EXPECT_EQ(third.rows, 0);
        EXPECT_EQ(third.duplicates, 10);
        EXPECT_EQ(Rows(kind), 10);
        // Each acknowledgement kept the one history row it was archived with.
        if (IsAcknowledgement(kind)) {
            EXPECT_EQ(Count(L"SELECT COUNT(*) FROM ALARM_ACK_HISTORY_RESTORED"), 10);
        }
    }
}

// A pass killed inside its commit leaves its lines in the file, and the next pass
// writes the same rows again after them.
TEST_P(RestoreSafetyTest, AFileHoldingItsRowsTwiceRestoresThemOnce)
{
    for (const Kind& kind : Kinds()) {
        SCOPED_TRACE(kind.name);
        Clear(kind);
        std::vector<CString> lines = RowLines(kind, 1, 300);
        const std::vector<CString> again = RowLines(kind, 1, 300);
        lines.insert(lines.end(), again.begin(), again.end());
        const std::wstring path = TempFilePath(L"twice.txt");
        WriteUtf16(path, lines);
        const Outcome out = Restore(kind, path);
        EXPECT_EQ(out.rows, 300);
        EXPECT_EQ(out.duplicates, 300);
        EXPECT_EQ(Rows(kind), 300);
        if (IsAcknowledgement(kind)) {
            EXPECT_EQ(Count(L"SELECT COUNT(*) FROM ALARM_ACK_HISTORY_RESTORED"), 300);
        }
    }
}

// A file cut by a crash ends in a line without its line end, which here still has the
// fields of a shorter layout of its set.
TEST_P(RestoreSafetyTest, ATornLastLineIsSkippedLoggedAndCounted)
{
    for (const Kind& kind : Kinds()) {
        SCOPED_TRACE(kind.name);
        Clear(kind);
        std::vector<CString> lines = RowLines(kind, 1, 4);
        lines.push_back(FirstFields(kind.lines(5, L"text").front(), kind.tornFields));
        const std::wstring path = TempFilePath(L"torn.txt");
        WriteUtf16(path, lines, false);
        const ErrorLogMark mark;
        const Outcome out = Restore(kind, path);
        EXPECT_EQ(out.rows, 4);
        EXPECT_EQ(out.skipped, 1);
        EXPECT_EQ(Rows(kind), 4);
        EXPECT_NE(mark.NewText().find("torn"), std::string::npos) << mark.NewText();

        // The same line with its line end is a whole row of the shorter layout.
        Clear(kind);
        WriteUtf16(path, lines, true);
        EXPECT_EQ(Restore(kind, path).rows, 5);
    }
}

TEST_P(RestoreSafetyTest, ATextTooLongForItsColumnSkipsItsLineAndTheRestIsRestored)
{
    for (const Kind& kind : Kinds()) {
        SCOPED_TRACE(kind.name);
        Clear(kind);
        std::vector<CString> lines = RowLines(kind, 1, 2);
        for (const CString& l : kind.lines(3, CString(std::wstring(kind.textLimit + 1, L'x').c_str())))
            lines.push_back(l);
        // Exactly as long as the column: restored.
        for (const CString& l : kind.lines(4, CString(std::wstring(kind.textLimit, L'y').c_str())))
            lines.push_back(l);
        const std::vector<CString> more = RowLines(kind, 5, 6);
        lines.insert(lines.end(), more.begin(), more.end());
        const std::wstring path = TempFilePath(L"long.txt");
        WriteUtf16(path, lines);
        const ErrorLogMark mark;
        const Outcome out = Restore(kind, path);
        EXPECT_EQ(out.rows, 5);
        // An acknowledgement's history line goes with it.
        EXPECT_EQ(out.skipped, IsAcknowledgement(kind) ? 2 : 1);
        EXPECT_EQ(Rows(kind), 5);
        CString sql;
        sql.Format(L"SELECT COUNT(*) FROM %s WHERE %s = 3", kind.table, kind.keyColumn);
        EXPECT_EQ(Count(sql.GetString()), 0);
        const std::string log = mark.NewText();
        EXPECT_NE(log.find("has " + std::to_string(kind.textLimit + 1) + " characters; its column holds " +
                           std::to_string(kind.textLimit)),
            std::string::npos)
            << log;
    }
}

// Text that is not what the writer writes never reaches the table: a lone surrogate
// (the reader can only decode it as U+FFFD), a NUL as written and a NUL escaped.
TEST_P(RestoreSafetyTest, LinesThatAreNotValidTextOrHoldANulAreNeverInserted)
{
    const wchar_t loneSurrogate[] = {L'a', static_cast<wchar_t>(0xD800), L'b', 0};
    const CString nul(L"a\0b", 3);
    const CString escapedNul(L"a\x1B@b");
    for (const Kind& kind : Kinds()) {
        SCOPED_TRACE(kind.name);
        Clear(kind);
        std::vector<CString> lines = RowLines(kind, 1, 1);
        lines.push_back(kind.lines(2, loneSurrogate).front());
        lines.push_back(kind.lines(3, nul).front());
        lines.push_back(kind.lines(4, escapedNul).front());
        const std::vector<CString> last = RowLines(kind, 5, 5);
        lines.insert(lines.end(), last.begin(), last.end());
        const std::wstring path = TempFilePath(L"text.txt");
        WriteUtf16(path, lines);
        const Outcome out = Restore(kind, path);
        EXPECT_EQ(out.rows, 2);
        EXPECT_EQ(out.skipped, 3);
        EXPECT_EQ(Rows(kind), 2);
        CString sql;
        sql.Format(L"SELECT COUNT(*) FROM %s WHERE %s IN (1, 5)", kind.table, kind.keyColumn);
        EXPECT_EQ(Count(sql.GetString()), 2);
    }
}

// A row that the database refuses for a reason no check of the restore knows (here a
// trigger of the table) is skipped, logged and counted; the rows around it go in.
TEST_P(RestoreSafetyTest, ARowTheDatabaseRefusesIsSkippedAndTheRestGoesIn)
{
    if (IsPostgres())
        ExecParams(L"CREATE FUNCTION ZYN_REFUSE() RETURNS TRIGGER LANGUAGE plpgsql AS $$ BEGIN RAISE EXCEPTION "
                   L"'row 3 is refused' USING ERRCODE = 'check_violation'; END $$",
            {});
    for (const Kind& kind : Kinds()) {
        SCOPED_TRACE(kind.name);
        Clear(kind);
        CString trigger;
        if (IsPostgres())
            trigger.Format(L"CREATE TRIGGER ZYN_REFUSE_%s BEFORE INSERT ON %s FOR EACH ROW WHEN (NEW.%s = 3) EXECUTE "
                           L"FUNCTION ZYN_REFUSE()",
                kind.table, kind.table, kind.keyColumn);
        else
            trigger.Format(L"CREATE TRIGGER ZYN_REFUSE_%s BEFORE INSERT ON %s WHEN NEW.%s = 3 BEGIN SELECT "
                           L"RAISE(ABORT, 'row 3 is refused'); END",
                kind.table, kind.table, kind.keyColumn);
        ExecParams(trigger.GetString(), {});
        const std::wstring path = TempFilePath(L"refused.txt");
        WriteUtf16(path, RowLines(kind, 1, 5));
        const ErrorLogMark mark;
        const Outcome out = Restore(kind, path);
        EXPECT_EQ(out.rows, 4);
        EXPECT_EQ(out.skipped, 1);
        EXPECT_EQ(Rows(kind), 4);
        EXPECT_NE(mark.NewText().find("row 3 is refused"), std::string::npos) << mark.NewText();
    }
}

// Identifiers mapped on the way in: the rows found again are those whose archived key
// maps to a stored one, so a second run under the same mapping adds nothing.
TEST_P(RestoreSafetyTest, RowsRestoredUnderAMappingAreFoundAgainUnderIt)
{
    AddMapping(L"EVENTS_RESTORED", L"MACHINE", 1, 41);
    const Kind kind = Kinds()[0];
    const std::wstring path = TempFilePath(L"mapped.txt");
    WriteUtf16(path, RowLines(kind, 1, 4));
    EXPECT_EQ(Restore(kind, path).rows, 4);
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM EVENTS_RESTORED WHERE MACHINE = 41"), 4);
    const Outcome again = Restore(kind, path);
    EXPECT_EQ(again.rows, 0);
    EXPECT_EQ(again.duplicates, 4);
    // A row of another machine with the same serial number is another row.
    ExecParams(L"INSERT INTO EVENTS_RESTORED (SERIALNUM, MACHINE) VALUES (5, 1)", {});
    WriteUtf16(path, RowLines(kind, 5, 5));
    EXPECT_EQ(Restore(kind, path).rows, 1);
}

// A clip is one camera's clip of an event from its start: clips without a start time
// are found again too, and another camera's clip of the same event is another row.
TEST_P(RestoreSafetyTest, ClipsAreTheSameByEventCameraAndStartEvenWithoutAStart)
{
    const Kind kind = Kinds()[4];
    ASSERT_EQ(CString(kind.table), L"EVENTS_VIDEO_RESTORED");
    auto clip = [](const wchar_t* camera, const wchar_t* start) {
        return Join({L"7", L"1", L"2", camera, L"", L"", L"4", L"f.avi", start, L""});
    };
    const std::wstring path = TempFilePath(L"clips.txt");
    WriteUtf16(path, {clip(L"3", L""), clip(L"3", kTime), clip(L"5", L""), clip(L"3", L""),
                         clip(L"3", L"Jul 05 2008 03:04:06PM")});
    const Outcome first = Restore(kind, path);
    EXPECT_EQ(first.rows, 4);
    EXPECT_EQ(first.duplicates, 1);
    const Outcome again = Restore(kind, path);
    EXPECT_EQ(again.rows, 0);
    EXPECT_EQ(again.duplicates, 5);
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM EVENTS_VIDEO_RESTORED WHERE START_TIME_UTC IS NULL"), 2);

    // A batch of clips none of which has a start time.
    WriteUtf16(path, {clip(L"3", L""), clip(L"5", L""), clip(L"6", L"")});
    const Outcome nulls = Restore(kind, path);
    EXPECT_EQ(nulls.rows, 1);
    EXPECT_EQ(nulls.duplicates, 2);
}

// An acknowledgement whose history is longer than a batch holds: its history lines are
// inserted as they come, in the transaction of the acknowledgement, so it still goes
// in whole and is found whole again.
TEST_P(RestoreSafetyTest, AnAcknowledgementWithALongHistoryRestoresWholeAndOnce)
{
    const Kind kind = Kinds()[1];
    ASSERT_TRUE(IsAcknowledgement(kind));
    std::vector<CString> lines = kind.lines(1, L"first");
    for (int h = 2; h <= 700; ++h)
        lines.push_back(lines[1]);
    // A history line too long for its note, in the part inserted as it comes.
    lines.push_back(Join({L"\x01\x02", L"7", kTime, L"", L"2", CString(std::wstring(32001, L'n').c_str()), L""}));
    lines.push_back(kind.lines(2, L"second").front()); // no history lines of its own
    const std::wstring path = TempFilePath(L"history.txt");
    WriteUtf16(path, lines);
    const Outcome out = Restore(kind, path);
    EXPECT_EQ(out.rows, 2);
    EXPECT_EQ(out.skipped, 1);
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM ALARM_ACK_HISTORY_RESTORED WHERE SERIALNUM = 1"), 700);
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM ALARM_ACK_HISTORY_RESTORED WHERE SERIALNUM = 2"), 1);

    const Outcome again = Restore(kind, path);
    EXPECT_EQ(again.rows, 0);
    EXPECT_EQ(again.duplicates, 2);
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM ALARM_ACK_HISTORY_RESTORED"), 701);
}

ZYN_INSTANTIATE_ENGINES(RestoreSafetyTest);

} // namespace
