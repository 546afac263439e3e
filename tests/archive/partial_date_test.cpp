// A restore of an event archive file whose date fields hold partial dates ("Jan 02",
// "1 2"), on a frozen wall clock: a partial date is a malformed field, never a date
// completed with the current year nor a NULL standing in for what the file held; its
// line is skipped and counted, and the other lines are restored whole.

#include <gtest/gtest.h>

#include <vector>

#include "archive/archive_line.h"
#include "archive/log_events.h"
#include "platform/base/testhooks_time.h"
#include "tests/archive/archive_fixture.h"

using namespace zyn::test;
using zyn::afx::DbValue;

namespace {

class PartialDateRestoreTest : public ArchiveDbTest {
protected:
    void TearDown() override
    {
        zyn::base::SetSystemTimeForTests(std::nullopt);
        ArchiveDbTest::TearDown();
    }

    // The wall clock at a UTC instant given in seconds since 1970.
    static void FreezeAt(int64_t unixSeconds)
    {
        const uint64_t ticks = static_cast<uint64_t>(unixSeconds + 11644473600) * 10000000u;
        FILETIME ft{};
        ft.dwLowDateTime = static_cast<DWORD>(ticks);
        ft.dwHighDateTime = static_cast<DWORD>(ticks >> 32);
        ASSERT_TRUE(zyn::base::SetSystemTimeForTests(ft));
    }

    int64_t CountAt(const wchar_t* sql, const TIMESTAMP_STRUCT& at)
    {
        int64_t n = -1;
        const std::vector<DbValue> p{at};
        EXPECT_TRUE(ZDb().QueryInt64(sql, p, n));
        return n;
    }
};

// Replaces field n (1-based) of a tab-separated line.
CString WithField(const CString& line, int n, const wchar_t* value)
{
    std::vector<CString> fields;
    int start = 0;
    for (;;) {
        const int tab = line.Find(L'\t', start);
        fields.push_back(tab < 0 ? line.Mid(start) : line.Mid(start, tab - start));
        if (tab < 0)
            break;
        start = tab + 1;
    }
    fields.at(static_cast<size_t>(n - 1)) = value;
    CString out;
    for (size_t i = 0; i < fields.size(); ++i)
        out += (i ? L"\t" : L"") + fields[i];
    return out;
}

} // namespace

TEST_P(PartialDateRestoreTest, PartialDatesAreNeverCompletedWithTodaysYear)
{
    // 2031-06-15 12:00 UTC: "Jan 02" completed with today's year would be 2031-01-02,
    // a date the sets accept.
    FreezeAt(1939291200);
    const TIMESTAMP_STRUCT utc = Ts(2008, 7, 5, 15, 4, 5);
    for (int32_t serial : {1, 2, 3, 4})
        ExecParams(L"INSERT INTO EVENTS (SERIALNUM, MACHINE, EVENT_TEXT, EVENT_TIME_UTC) VALUES (?, 10, 'door', ?)",
            {serial, utc});

    const std::wstring written = TempFilePath(L"partial-source.txt");
    {
        CStdioFileUnicode file;
        OpenForAppend(file, written);
        CLogEvents set(ZDbPtr(), false, true);
        set.m_strSort = L"SERIALNUM";
        set.Open();
        for (; !set.IsEOF(); set.MoveNext())
            set.WriteArchiveRecord(file);
        set.Close();
        file.Close();
    }
    std::vector<CString> lines = ReadLines(written);
    ASSERT_EQ(lines.size(), 4u);
    ASSERT_EQ(U8(zyn::archive::ArchiveFields(lines[0]).Raw(32)), "Jul 05 2008 03:04:05PM");
    // Field 2 is the local event time, field 32 the UTC time.
    lines[1] = WithField(WithField(lines[1], 32, L"Jan 02"), 2, L"1 2");
    lines[2] = WithField(lines[2], 32, L"Jan 02 03:04:05PM");
    const std::wstring path = TempFilePath(L"partial.txt");
    WriteLines(path, lines);

    CStdioFileUnicode file;
    OpenForRead(file, path);
    CLogEvents restored(ZDbPtr(), true, true);
    EXPECT_EQ(restored.RestoreArchiveRecords(file, 0, nullptr, nullptr, 0), 2);
    EXPECT_EQ(restored.GetSkippedLineCount(), 2) << "the lines of serial numbers 2 and 3";
    file.Close();
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM EVENTS_RESTORED"), 2);
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM EVENTS_RESTORED WHERE SERIALNUM IN (2, 3)"), 0);
    EXPECT_EQ(CountAt(L"SELECT COUNT(*) FROM EVENTS_RESTORED WHERE EVENT_TIME_UTC = ? AND SERIALNUM IN (1, 4) "
                      L"AND EVENT_TEXT = 'door' AND MACHINE = 10",
                  utc),
        2);
    EXPECT_EQ(CountAt(L"SELECT COUNT(*) FROM EVENTS_RESTORED WHERE EVENT_TIME_UTC >= ?", Ts(2031, 1, 1)), 0);
}

ZYN_INSTANTIATE_ENGINES(PartialDateRestoreTest);
